#include "serial/ui/ReceiveCommand.h"

#include "base/RunState.h"
#include "base/SettingsRecord.h"
#include "host/Host.h"
#include "host/ScreenWidgets.h"
#include "platform/Paths.h"
#include "platform/PowerOff.h"
#include "serial/Clock.h"
#include "serial/Line.h"
#include "serial/ui/QtTransferScreen.h"
#include "serial/ReceiveJob.h"
#include "serial/ReceiveSaveChoice.h"
#include "serial/TransferEnd.h"
#include "serial/TransferLog.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>

namespace kestrovan::serial {

ReceiveCommand::ReceiveCommand(TransferParts& parts) : parts_(parts) {
  QWidget* window = parts_.host.window();
  GroupBox5 = new QGroupBox(kSaveChoiceTitle, window);
  GroupBox5->setObjectName("GroupBox5");
  GroupBox5->setGeometry(230, 160, 250, 100);
  GroupBox5->setFont(host::screenFont(12));
  GroupBox5->setStyleSheet("QGroupBox { color: white; background: #000080; }");
  saveChoiceText_ =
      host::screenLabel(GroupBox5, "SaveChoiceText", {10, 20, 200, 56}, "white", 12, "transparent");
  // One choice a line, broken after each choice's key, as the box has always
  // shown them; a break by width would fall inside "Ｏ（Ｌ）番号".
  QString choices = QString::fromStdString(kSaveChoiceText);
  choices.replace("(Y)", "(Y)\n").replace("(N)", "(N)\n");
  saveChoiceText_->setText(choices);
  saveChoiceEdit_ = new QLineEdit(GroupBox5);
  saveChoiceEdit_->setObjectName("SaveChoiceEdit");
  saveChoiceEdit_->setGeometry(214, 20, 24, 22);
  saveChoiceEdit_->setMaxLength(1);
  GroupBox5->hide();
  saveChoiceEdit_->installEventFilter(this);
  saveChoiceText_->installEventFilter(this);
  parts_.host.setPromptHandler(host::PromptMode::ReceiveName,
                               [this](const std::string& text) { nameEntered(text); });
}

void ReceiveCommand::run(bool shift) {
  host::Host& host = parts_.host;
  if (host.busy()) return;
  parts_.exitAfterTransfer = shift;
  host.transferView()->setReadOnly(false);
  host.setPromptLineEnabled(true);
  host.setListEnabled(false);
  saveChoiceEdit_->clear();
  GroupBox5->show();
  GroupBox5->raise();
  saveChoiceEdit_->setFocus();
}

bool ReceiveCommand::eventFilter(QObject* watched, QEvent* event) {
  if (watched == saveChoiceEdit_ && event->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(event);
    int key = k->key() == Qt::Key_Escape ? 0x1B : (k->text().size() == 1 ? k->text()[0].unicode() : 0);
    choose(saveChoiceForKey(key));
    return true;
  }
  if (watched == saveChoiceText_ && event->type() == QEvent::MouseButtonPress) {
    const int y = static_cast<QMouseEvent*>(event)->position().toPoint().y();
    choose(saveChoiceForClick(y));
    return true;
  }
  return false;
}

void ReceiveCommand::choose(SaveChoice choice) {
  if (choice == SaveChoice::None) return;
  GroupBox5->hide();
  host::Host& host = parts_.host;
  switch (choice) {
  case SaveChoice::ByName: host.OpenPrompt(host::PromptMode::ReceiveName, kReceiveNamePromptText); break;
  case SaveChoice::PerProgramNumber:
    host.setPromptLineEnabled(false);
    tellEnd(host, endNotice(receive(SaveMode::PerProgramNumber, {})), false);
    break;
  case SaveChoice::Cancel: host.ShowCancelled(); break;
  case SaveChoice::None: break;
  }
}

void ReceiveCommand::nameEntered(const std::string& text) {
  host::Host& host = parts_.host;
  const NameEntry entry = enterReceiveName(text, host.settings(), host.dialogs());
  if (!entry.start) return; // another name, please: the prompt stays open
  host.clearPromptLine();
  tellEnd(host, endNotice(receive(SaveMode::ByName, entry.target)), false);
}

void ReceiveCommand::runPending() {
  base::RunState& run = parts_.host.run();
  run.PendingReceive = "N";
  parts_.exitAfterTransfer = run.ExitAfterTransfer;
  const std::string& path = run.receivePath;
  const ReceiveOutcome outcome = receive(SaveMode::ByName, {platform::baseNameOf(path), path});
  tellEnd(parts_.host, endNotice(outcome), run.ExitAfterTransfer);
  parts_.host.unattendedTransferEnded(exitCodeOf(outcome));
}

ReceiveOutcome ReceiveCommand::receive(SaveMode mode, const ReceiveTarget& target) {
  host::Host& host = parts_.host;
  ReceiveOutcome outcome;
  {
    TransferRun running(parts_);
    SystemClock clock;
    TransferLog log(host.transferLogPath(), clock);
    Line line(host.settings(), parts_.ports, parts_.screen, host.dialogs());
    ReceiveJob job(host.settings(), line, parts_.screen, log);
    outcome = job.run({mode, target, parts_.exitAfterTransfer});
  }
  if (outcome.refreshOnReset) host.refreshOnReset();
  host.ReturnToIdle(outcome.returnToIdleAfterMs);
  if (outcome.closeMainWindow) {
    if (outcome.powerOff) parts_.powerOff.requestPowerOff();
    host.closeWindow();
  }
  return outcome;
}

} // namespace kestrovan::serial
