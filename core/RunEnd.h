#pragma once
// How the run ends for the program that started it: the exit code. A run
// whose command line asked for transfers ends with the worst of their codes
// (serial::ExitCode); one that was never reached (the program closed first)
// counts as stopped. A run without such items ends with 0.

#include "base/RunState.h"

namespace kestrovan::core {

class RunEnd {
public:
  void transferEnded(int code);
  int exitCode(const base::RunState& run) const;

private:
  int worst_ = 0;
  int ended_ = 0;
};

} // namespace kestrovan::core
