#pragma once
// GroupBox1, the communication settings panel that F7 opens over the right
// part of the main window: line settings, port and four Y/N switches, driven
// from the keyboard. F1 saves into the settings record, F2 or Esc goes back
// (asking first when something was changed), F10 closes the program.

#include <QObject>

class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;

namespace kestrovan::host {
class Host;
}
namespace kestrovan::serial {
class PortOpener;
}

namespace kestrovan::core {

class DropDownField;
struct CommFields;

class CommPanel : public QObject {
  Q_OBJECT
public:
  CommPanel(host::Host& host, serial::PortOpener& ports);
  ~CommPanel() override;

  void open();
  // F1. False when the line settings text was refused and the panel stays.
  bool save();
  // F2, Esc.
  void back();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  bool fieldKey(int tag, QKeyEvent* event);
  bool typeInto(int tag, const QString& typed);
  void focusField(int tag);
  void moveInList(int tag, bool down);
  CommFields fieldTexts() const;
  void close();

  host::Host& host_;
  serial::PortOpener& ports_;
  QGroupBox* GroupBox1;
  QLabel* speedLabel_;
  QLabel* portLabel_;
  QLabel* Label14;
  DropDownField* lists_[2];
  QLineEdit* fields_[6]; // in tag order: ComboBox1, ComboBox2, Edit4, Edit6, Edit9, Edit8
};

} // namespace kestrovan::core
