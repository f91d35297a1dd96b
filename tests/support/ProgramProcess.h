#pragma once
// The real program binary run as a user would start it, on the offscreen
// platform, with its program folder, runtime folder and home in folders of
// the test's own; killed if it outlives the test.

#include "support/TempDir.h"

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace kestrovan::test {

// How the program is started besides its arguments.
struct ProgramStart {
  std::string workingFolder = {};            // empty: the test's own
  std::vector<std::string> environment = {}; // "NAME=value", each replacing NAME (QT_QPA_PLATFORM too)
  std::string errorFile = {};                // when set, standard error is written to this file
};

class ProgramProcess {
public:
  ProgramProcess(const std::string& binary, const TempDir& home, const TempDir& runtime,
                 std::vector<std::string> args = {}, const ProgramStart& start = {});
  ~ProgramProcess();
  ProgramProcess(const ProgramProcess&) = delete;
  ProgramProcess& operator=(const ProgramProcess&) = delete;

  // The exit code once the program has ended within `limit`.
  std::optional<int> waitExit(std::chrono::milliseconds limit);
  void terminate();
  bool started() const { return pid_ > 0; }
  pid_t pid() const { return pid_; }

private:
  pid_t pid_ = -1;
  std::optional<int> status_;
};

} // namespace kestrovan::test
