#pragma once
// What F1 and F2 share on the window: the parts a transfer works with, the
// guard that gives the stop keys to a running transfer (and tells the host
// an operation runs), and how its end is told beyond the message line.

#include <string>

namespace kestrovan::host {
class Host;
}
namespace kestrovan::platform {
class PowerOff;
}

namespace kestrovan::serial {

class PortOpener;
class QtTransferScreen;

struct TransferParts {
  host::Host& host;
  PortOpener& ports;
  platform::PowerOff& powerOff;
  QtTransferScreen& screen;
  // Shift+F1/Shift+F2, or END: close the program after a completed transfer.
  bool exitAfterTransfer = false;
  bool multiFileMode = false; // a send of the marked files
};

// Keeps the stop keys with the transfer and the list disabled while it runs.
class TransferRun {
public:
  explicit TransferRun(TransferParts& parts);
  ~TransferRun();
  TransferRun(const TransferRun&) = delete;
  TransferRun& operator=(const TransferRun&) = delete;

private:
  TransferParts& parts_;
};

// What the message line cannot hold: a box when the operator is there,
// standard error for the program or script that started an unattended run.
void tellEnd(host::Host& host, const std::string& notice, bool unattended);

} // namespace kestrovan::serial
