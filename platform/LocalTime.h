#pragma once
// Calendar time in the computer's own time zone.

#include <cstdint>
#include <optional>

namespace kestrovan::platform {

struct CivilTime {
  int year = 0;   // e.g. 2024
  int month = 0;  // 1..12
  int day = 0;    // 1..31
  int hour = 0;   // 0..23
  int minute = 0; // 0..59
  int second = 0; // 0..59 (60 on a leap second)
};

// Local time of a moment given in seconds since 1970-01-01 UTC; nothing when
// the system cannot convert it.
std::optional<CivilTime> toLocalTime(std::int64_t secondsSinceEpoch);

} // namespace kestrovan::platform
