#include "platform/FileTimes.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>

namespace kestrovan::platform {

std::optional<std::int64_t> localTimeToSeconds(const CivilTime& local) {
  std::tm tm{};
  tm.tm_year = local.year - 1900;
  tm.tm_mon = local.month - 1;
  tm.tm_mday = local.day;
  tm.tm_hour = local.hour;
  tm.tm_min = local.minute;
  tm.tm_sec = local.second;
  tm.tm_isdst = -1; // the zone's own rule for that day
  errno = 0;
  const std::time_t t = std::mktime(&tm);
  // -1 is also one second before 1970 in UTC; errno tells them apart.
  if (t == static_cast<std::time_t>(-1) && errno != 0) return std::nullopt;
  return static_cast<std::int64_t>(t);
}

int setModificationTime(const std::string& path, std::int64_t seconds) {
  timespec times[2]{};
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = static_cast<std::time_t>(seconds);
  times[1].tv_nsec = 0;
  return utimensat(AT_FDCWD, path.c_str(), times, 0) == 0 ? 0 : errno;
}

} // namespace kestrovan::platform
