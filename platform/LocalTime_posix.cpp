#include "platform/LocalTime.h"

#include <ctime>

namespace kestrovan::platform {

std::optional<CivilTime> toLocalTime(std::int64_t secondsSinceEpoch) {
  const auto t = static_cast<std::time_t>(secondsSinceEpoch);
  std::tm tm{};
  if (!localtime_r(&t, &tm)) return std::nullopt;
  return CivilTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

} // namespace kestrovan::platform
