#include "serial/Clock.h"

#include <chrono>

namespace kestrovan::serial {

platform::CivilTime SystemClock::now() {
  auto seconds =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
          .count();
  return platform::toLocalTime(seconds).value_or(platform::CivilTime{1970, 1, 1, 0, 0, 0});
}

} // namespace kestrovan::serial
