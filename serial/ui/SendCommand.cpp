#include "serial/ui/SendCommand.h"

#include "base/RunState.h"
#include "base/SettingsRecord.h"
#include "files/FileList.h"
#include "host/Host.h"
#include "serial/Clock.h"
#include "serial/Line.h"
#include "serial/ui/QtSendWindow.h"
#include "serial/ui/QtTransferScreen.h"
#include "serial/SendJob.h"
#include "serial/SendTexts.h"
#include "serial/TransferEnd.h"
#include "serial/TransferLog.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>

namespace kestrovan::serial {

void SendCommand::run(bool shift) {
  host::Host& host = parts_.host;
  if (host.busy()) return;
  files::FileList& list = host.fileList();
  std::vector<std::string> names;
  const bool marked = list.marks().count() > 0;
  if (marked) {
    names = list.takeMarkedNames();
  } else {
    const files::FileEntry* e = list.entryAt(host.selectedRow());
    if (!e) return;
    names.push_back(e->name);
    list.marks().clear();
  }
  parts_.multiFileMode = marked;
  parts_.exitAfterTransfer = shift;
  const SendResult result = send(std::move(names), marked, shift);
  tellEnd(host, endNotice(result), false);
}

void SendCommand::runPending() {
  const base::RunState& run = parts_.host.run();
  parts_.multiFileMode = false;
  // With a reception to follow, that one closes the program.
  const bool closeAfter = run.ExitAfterTransfer && run.PendingReceive != "Y";
  parts_.exitAfterTransfer = closeAfter;
  const SendResult result = send({run.sendFileName}, false, closeAfter);
  tellEnd(parts_.host, endNotice(result), run.ExitAfterTransfer);
  parts_.host.unattendedTransferEnded(exitCodeOf(result));
}

SendResult SendCommand::send(std::vector<std::string> names, bool marked, bool exitAfterTransfer) {
  host::Host& host = parts_.host;
  TransferRun running(parts_);
  if (marked)
    host.showTransferPanel("送信データ", 50, 184, 650, "navy", {.remainingLine = true, .list = true});
  else
    host.showTransferPanel("送信データ", 328, 184, 350, "navy", {.remainingLine = true, .list = false});
  host.transferList()->clear();
  for (const std::string& n : names)
    host.transferList()->addItem(QString::fromStdString(n));
  host.transferView()->setReadOnly(true);

  SystemClock clock;
  TransferLog log(host.transferLogPath(), clock);
  QtSendWindow window(host);
  Line line(host.settings(), parts_.ports, parts_.screen, host.dialogs());
  SendJob job({host.settings(), line, parts_.screen, window, host.dialogs(), log, parts_.powerOff,
               host.run().PendingSend},
              {std::move(names), marked, exitAfterTransfer});
  const std::uint64_t size = job.loadFirstFile();
  host.remainingLine()->setText(QString::fromStdString(remainingBytesLine(static_cast<std::int64_t>(size))));
  host.setStatusPanel(3, kSendWaiting);
  host.transferView()->setFocus();

  const SendResult result = job.run();
  if (result.clearMarks) {
    host.fileList().clearMarks();
    parts_.multiFileMode = false;
  }
  host.ReturnToIdle(result.returnToIdleAfterMs);
  return result;
}

} // namespace kestrovan::serial
