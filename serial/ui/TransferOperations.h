#pragma once
// The transfers as an operation module of the main window: F1/Shift+F1
// (send), F2/Shift+F2 (receive), Shift+F8 (the transfer log), and the
// transfers an unattended run armed on the command line, at the first idle
// moment (the send before the reception).

#include "host/Operation.h"
#include "serial/ui/QtTransferScreen.h"
#include "serial/ui/ReceiveCommand.h"
#include "serial/ui/SendCommand.h"
#include "serial/ui/TransferRun.h"

namespace kestrovan::serial {

class TransferOperations : public host::Operation {
public:
  TransferOperations(host::Host& host, PortOpener& ports, platform::PowerOff& powerOff);

  QtTransferScreen& screen() { return screen_; }

private:
  void firstIdle();
  void showLog();

  QtTransferScreen screen_;
  TransferParts parts_;
  SendCommand send_;
  ReceiveCommand receive_;
};

} // namespace kestrovan::serial
