#pragma once
// The state of this run that the command line sets and the transfers it
// asks for read: whether items were given, the transfers armed, and END.

#include <string>
#include <vector>

namespace kestrovan::base {

struct RunState {
  bool CommandLineRun = false;   // started with arguments: nothing is saved at close
  std::string PendingSend = "N"; // set by the command-line interpreter
  std::string PendingReceive = "N";
  int MarkCapacity = 100;
  std::vector<std::string> commandItems; // the command line cut into items
  // Set by the command-line items of an unattended run.
  std::string sendFileName;       // read from DirPath when the send starts
  std::string receivePath;        // output file of the receive (by name)
  bool ExitAfterTransfer = false; // close the program when the transfer ends
};

} // namespace kestrovan::base
