#include "core/RunEnd.h"

#include "serial/TransferEnd.h"

#include <algorithm>

namespace kestrovan::core {

void RunEnd::transferEnded(int code) {
  ++ended_;
  worst_ = std::max(worst_, code);
}

int RunEnd::exitCode(const base::RunState& run) const {
  const int asked = (run.sendFileName.empty() ? 0 : 1) + (run.receivePath.empty() ? 0 : 1);
  if (ended_ < asked) return std::max(worst_, static_cast<int>(serial::kExitStopped));
  return worst_;
}

} // namespace kestrovan::core
