#include "ncsim/LineClock.h"

#include <algorithm>

namespace kestrovan::ncsim {

long long LineClock::nextUs() const {
  const long long afterIdle = idleSeenUs_ + characterUs_;
  return lastUs_ < 0 ? afterIdle : std::max(lastUs_ + characterUs_, afterIdle);
}

void LineClock::took(long long /*nowUs*/) { lastUs_ = nextUs(); }

} // namespace kestrovan::ncsim
