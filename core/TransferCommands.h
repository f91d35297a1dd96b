#pragma once
// F1 and F2 of the main window: a send of the selected or marked files, and a
// reception with its save-choice box and name prompt; and the transfers an
// unattended run armed on the command line, started at the first idle moment.

#include <QObject>

#include <string>

namespace kestrovan::serial {
enum class SaveMode;
struct ReceiveTarget;
struct ReceiveOutcome;
struct SendResult;
} // namespace kestrovan::serial

namespace kestrovan::core {

class TForm1;

class SendCommand {
public:
  explicit SendCommand(TForm1& form) : form_(form) {}
  // F1 / Shift+F1 on a file row.
  void run(bool shift);
  // The send armed by S= on the command line, as a single-file F1 does it.
  void runPending();

private:
  serial::SendResult send(std::vector<std::string> names, bool marked, bool exitAfterTransfer);
  TForm1& form_;
};

class ReceiveCommand : public QObject {
public:
  explicit ReceiveCommand(TForm1& form);
  // F2 / Shift+F2: the save-choice box.
  void run(bool shift);
  // The reception armed by R= on the command line, by name.
  void runPending();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void choose(int choice);
  void nameEntered(const std::string& text);
  serial::ReceiveOutcome receive(serial::SaveMode mode, const serial::ReceiveTarget& target);
  TForm1& form_;
};

} // namespace kestrovan::core
