#pragma once
// Setting a file's modification time, given in the computer's local time.

#include "platform/LocalTime.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kestrovan::platform {

// Seconds since 1970-01-01 UTC of a local date and time. The fields are
// taken as they are (a day past the month's end runs into the next month);
// nothing when the system cannot convert them.
std::optional<std::int64_t> localTimeToSeconds(const CivilTime& local);

// Sets the last-write time of `path` (a link is followed) to `seconds`,
// whole seconds; the access time stays. 0, or the errno of the failure.
int setModificationTime(const std::string& path, std::int64_t seconds);

} // namespace kestrovan::platform
