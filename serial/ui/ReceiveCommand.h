#pragma once
// F2 and Shift+F2 on the window: the save-choice box "データ保存" (by name,
// per program number, Esc), the receive-name prompt, and the reception; and
// the reception an unattended run armed on the command line.

#include "serial/ui/TransferRun.h"

#include <QObject>

#include <string>

class QGroupBox;
class QLabel;
class QLineEdit;

namespace kestrovan::serial {

enum class SaveChoice;
enum class SaveMode;
struct ReceiveOutcome;
struct ReceiveTarget;

class ReceiveCommand : public QObject {
public:
  explicit ReceiveCommand(TransferParts& parts);
  // F2 / Shift+F2: the save-choice box.
  void run(bool shift);
  // The reception armed by R= on the command line, by name.
  void runPending();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void choose(SaveChoice choice);
  void nameEntered(const std::string& text);
  ReceiveOutcome receive(SaveMode mode, const ReceiveTarget& target);

  TransferParts& parts_;
  QGroupBox* GroupBox5;
  QLabel* saveChoiceText_;
  QLineEdit* saveChoiceEdit_;
};

} // namespace kestrovan::serial
