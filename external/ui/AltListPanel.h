#pragma once
// GroupBox6, the external-command list over the file list while Alt is held:
// "ALT+A : " and the setting name of each letter, A to M in the left label
// (Label30), N to Z in the right one (Label31).

class QGroupBox;
class QLabel;
class QWidget;

namespace kestrovan::external {

struct CommandTable;

class AltListPanel {
public:
  explicit AltListPanel(QWidget* parent);
  void show(const CommandTable& table);
  void hide();
  bool visible() const;

private:
  QGroupBox* GroupBox6;
  QLabel* Label30;
  QLabel* Label31;
};

} // namespace kestrovan::external
