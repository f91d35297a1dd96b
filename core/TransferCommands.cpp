#include "core/TransferCommands.h"

#include "core/FileListBox.h"
#include "core/MainForm.h"
#include "core/QtSendWindow.h"
#include "core/QtTransferScreen.h"
#include "platform/Paths.h"
#include "platform/PowerOff.h"
#include "serial/Clock.h"
#include "serial/Line.h"
#include "serial/ReceiveJob.h"
#include "serial/ReceiveSaveChoice.h"
#include "serial/SendJob.h"
#include "serial/SendTexts.h"
#include "serial/TransferEnd.h"
#include "serial/TransferLog.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTimer>

#include <cstdio>

namespace kestrovan::core {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

// Keeps the stop keys with the transfer and the list disabled while it runs.
class TransferRun {
public:
  explicit TransferRun(TForm1& form) : form_(form) {
    form_.screen().ListBox1->setEnabled(false);
    form_.transferScreen().beginTransfer();
  }
  ~TransferRun() {
    form_.transferScreen().endTransfer();
    form_.screen().ListBox1->setEnabled(true);
    form_.transferEnded();
  }
  TransferRun(const TransferRun&) = delete;
  TransferRun& operator=(const TransferRun&) = delete;

private:
  TForm1& form_;
};

// What the message line cannot hold: a box when the operator is there,
// standard error for the program or script that started an unattended run.
void tellEnd(TForm1& form, const std::string& notice, bool unattended) {
  if (notice.empty()) return;
  if (unattended) {
    std::fprintf(stderr, "kestrovan: %s\n", notice.c_str());
    return;
  }
  form.dialogs().show({"エラー", notice, base::MessageButtons::Ok, base::MessageIcon::Error});
}

} // namespace

// --- send -----------------------------------------------------------------

void SendCommand::run(bool shift) {
  if (form_.transferScreen().transferRunning()) return;
  files::FileList& list = form_.fileList();
  std::vector<std::string> names;
  const bool marked = list.marks().count() > 0;
  if (marked) {
    // In marking order; the rows lose their "*" as the files are taken.
    list.marks().compact();
    for (int row : list.marks().rows()) {
      if (const files::FileEntry* e = list.entryAt(row)) names.push_back(e->name);
      list.clearRowMark(row);
    }
  } else {
    const files::FileEntry* e = list.entryAt(form_.screen().ListBox1->selectedRow());
    if (!e) return;
    names.push_back(e->name);
    list.marks().clear();
  }
  form_.MultiFileMode = marked;
  form_.ExitAfterTransfer = shift;
  const serial::SendResult result = send(std::move(names), marked, shift);
  tellEnd(form_, serial::endNotice(result), false);
}

void SendCommand::runPending() {
  const RunState& run = form_.state().run;
  form_.MultiFileMode = false;
  // With a reception to follow, that one closes the program.
  const bool closeAfter = run.ExitAfterTransfer && run.PendingReceive != "Y";
  form_.ExitAfterTransfer = closeAfter;
  const serial::SendResult result = send({run.sendFileName}, false, closeAfter);
  tellEnd(form_, serial::endNotice(result), run.ExitAfterTransfer);
  form_.unattendedTransferEnded(serial::exitCodeOf(result));
}

serial::SendResult SendCommand::send(std::vector<std::string> names, bool marked, bool exitAfterTransfer) {
  TransferRun running(form_);
  const MainScreen& s = form_.screen();
  if (marked)
    form_.showTransferPanel("送信データ", 50, 184, 650, "navy", {.remainingLine = true, .list = true});
  else
    form_.showTransferPanel("送信データ", 328, 184, 350, "navy", {.remainingLine = true, .list = false});
  s.transferFiles->clear();
  for (const std::string& n : names)
    s.transferFiles->addItem(q(n));
  s.RichEdit1->setReadOnly(true);

  AppState& state = form_.state();
  serial::SystemClock clock;
  serial::TransferLog log(state.files.logPath, clock);
  QtSendWindow window(form_);
  serial::Line line(state.settings, form_.ports(), form_.transferScreen(), form_.dialogs());
  serial::SendJob job({state.settings, line, form_.transferScreen(), window, form_.dialogs(), log,
                       form_.powerOff(), state.run.PendingSend},
                      {std::move(names), marked, exitAfterTransfer});
  const std::uint64_t size = job.loadFirstFile();
  s.remainingLine->setText(q(serial::remainingBytesLine(static_cast<std::int64_t>(size))));
  form_.setStatusPanel(3, serial::kSendWaiting);
  s.RichEdit1->setFocus();

  const serial::SendResult result = job.run();
  if (result.clearMarks) {
    form_.fileList().clearMarks();
    form_.MultiFileMode = false;
  }
  form_.ReturnToIdle(result.returnToIdleAfterMs);
  return result;
}

// --- receive --------------------------------------------------------------

ReceiveCommand::ReceiveCommand(TForm1& form) : form_(form) {
  form_.screen().saveChoiceEdit->installEventFilter(this);
  form_.screen().saveChoiceText->installEventFilter(this);
  form_.setPromptHandler(PromptMode::ReceiveName, [this](const std::string& text) { nameEntered(text); });
}

void ReceiveCommand::run(bool shift) {
  if (form_.transferScreen().transferRunning()) return;
  const MainScreen& s = form_.screen();
  form_.ExitAfterTransfer = shift;
  s.RichEdit1->setReadOnly(false);
  s.Edit1->setEnabled(true);
  s.ListBox1->setEnabled(false);
  s.saveChoiceText->setText(q(serial::kSaveChoiceText));
  s.saveChoiceText->setWordWrap(true);
  s.saveChoiceEdit->clear();
  s.GroupBox5->show();
  s.GroupBox5->raise();
  s.saveChoiceEdit->setFocus();
}

bool ReceiveCommand::eventFilter(QObject* watched, QEvent* event) {
  const MainScreen& s = form_.screen();
  if (watched == s.saveChoiceEdit && event->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(event);
    int key = k->key() == Qt::Key_Escape ? 0x1B : (k->text().size() == 1 ? k->text()[0].unicode() : 0);
    choose(static_cast<int>(serial::saveChoiceForKey(key)));
    return true;
  }
  if (watched == s.saveChoiceText && event->type() == QEvent::MouseButtonPress) {
    const int y = static_cast<QMouseEvent*>(event)->position().toPoint().y();
    choose(static_cast<int>(serial::saveChoiceForClick(y)));
    return true;
  }
  return false;
}

void ReceiveCommand::choose(int choiceValue) {
  const auto choice = static_cast<serial::SaveChoice>(choiceValue);
  if (choice == serial::SaveChoice::None) return;
  form_.screen().GroupBox5->hide();
  switch (choice) {
  case serial::SaveChoice::ByName:
    form_.OpenPrompt(PromptMode::ReceiveName, serial::kReceiveNamePromptText);
    break;
  case serial::SaveChoice::PerProgramNumber:
    form_.screen().Edit1->setEnabled(false);
    tellEnd(form_, serial::endNotice(receive(serial::SaveMode::PerProgramNumber, {})), false);
    break;
  case serial::SaveChoice::Cancel: form_.ShowCancelled(); break;
  case serial::SaveChoice::None: break;
  }
}

void ReceiveCommand::nameEntered(const std::string& text) {
  const serial::NameEntry entry = serial::enterReceiveName(text, form_.state().settings, form_.dialogs());
  if (!entry.start) return; // another name, please: the prompt stays open
  form_.screen().Edit1->clear();
  form_.screen().Edit1->setEnabled(false);
  tellEnd(form_, serial::endNotice(receive(serial::SaveMode::ByName, entry.target)), false);
}

void ReceiveCommand::runPending() {
  AppState& state = form_.state();
  state.run.PendingReceive = "N";
  form_.ExitAfterTransfer = state.run.ExitAfterTransfer;
  const std::string& path = state.run.receivePath;
  const serial::ReceiveOutcome outcome =
      receive(serial::SaveMode::ByName, {platform::baseNameOf(path), path});
  tellEnd(form_, serial::endNotice(outcome), state.run.ExitAfterTransfer);
  form_.unattendedTransferEnded(serial::exitCodeOf(outcome));
}

serial::ReceiveOutcome ReceiveCommand::receive(serial::SaveMode mode, const serial::ReceiveTarget& target) {
  serial::ReceiveOutcome outcome;
  {
    TransferRun running(form_);
    AppState& state = form_.state();
    serial::SystemClock clock;
    serial::TransferLog log(state.files.logPath, clock);
    serial::Line line(state.settings, form_.ports(), form_.transferScreen(), form_.dialogs());
    serial::ReceiveJob job(state.settings, line, form_.transferScreen(), log);
    outcome = job.run({mode, target, form_.ExitAfterTransfer});
  }
  if (outcome.refreshOnReset) form_.RefreshOnReset = "Y";
  form_.ReturnToIdle(outcome.returnToIdleAfterMs);
  if (outcome.closeMainWindow) {
    if (outcome.powerOff) form_.powerOff().requestPowerOff();
    QTimer::singleShot(0, &form_, &QWidget::close);
  }
  return outcome;
}

} // namespace kestrovan::core
