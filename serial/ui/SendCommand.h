#pragma once
// F1 and Shift+F1 on the window: a send of the selected file or of the
// marked files in marking order; and the send an unattended run armed on
// the command line, started at the first idle moment.

#include "serial/ui/TransferRun.h"

#include <string>
#include <vector>

namespace kestrovan::serial {

struct SendResult;

class SendCommand {
public:
  explicit SendCommand(TransferParts& parts) : parts_(parts) {}
  void run(bool shift);
  // The send armed by S= on the command line, as a single-file F1 does it.
  void runPending();

private:
  SendResult send(std::vector<std::string> names, bool marked, bool exitAfterTransfer);
  TransferParts& parts_;
};

} // namespace kestrovan::serial
