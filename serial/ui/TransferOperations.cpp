#include "serial/ui/TransferOperations.h"

#include "base/RunState.h"
#include "host/Host.h"
#include "serial/TransferEnd.h"
#include "serial/TransferLog.h"

#include <QPlainTextEdit>

namespace kestrovan::serial {

TransferOperations::TransferOperations(host::Host& host, PortOpener& ports, platform::PowerOff& powerOff)
    : screen_(host), parts_{host, ports, powerOff, screen_}, send_(parts_), receive_(parts_) {
  host.setCommandHandler(host::Command::Send, [this](bool shift) { send_.run(shift); });
  host.setCommandHandler(host::Command::Receive, [this](bool shift) { receive_.run(shift); });
  host.setCommandHandler(host::Command::LogView, [this](bool) { showLog(); });
  host.atFirstIdle([this] { firstIdle(); });
}

void TransferOperations::firstIdle() {
  host::Host& host = parts_.host;
  base::RunState& run = host.run();
  // A transfer the command line asked for that cannot start (a send file
  // that is missing, a reception that was not to overwrite) is a stopped one.
  if (!run.sendFileName.empty() && run.PendingSend != "Y") host.unattendedTransferEnded(kExitStopped);
  if (!run.receivePath.empty() && run.PendingReceive != "Y") host.unattendedTransferEnded(kExitStopped);
  if (run.PendingSend == "Y") {
    host.setStatusPanel(0, "送信名 " + run.sendFileName);
    send_.runPending();
  }
  if (run.PendingReceive == "Y") receive_.runPending();
}

// Shift+F8: the transfer log, read-only on teal; F3 or Esc closes it.
void TransferOperations::showLog() {
  host::Host& host = parts_.host;
  host.transferView()->setReadOnly(true);
  host.showTransferPanel("送受信ログ", 328, 100, 350, "teal");
  host.transferView()->setPlainText(QString::fromStdString(transferLogViewText(host.transferLogPath())));
  host.setStatusPanel(3, "送受信ログ");
  host.transferView()->setFocus();
}

} // namespace kestrovan::serial
