#include "files/DateText.h"

#include "platform/LocalTime.h"

#include <cstdio>

namespace kestrovan::files {
namespace {

std::string format(const platform::CivilTime& t) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return buffer;
}

} // namespace

std::string folderDateText(std::int64_t secondsSinceEpoch) {
  if (secondsSinceEpoch == 0) return {};
  const auto t = platform::toLocalTime(secondsSinceEpoch);
  return t ? format(*t) : std::string();
}

std::string fileDateText(std::int64_t secondsSinceEpoch) {
  auto t = platform::toLocalTime(secondsSinceEpoch);
  if (!t || t->year < 1980 || t->year > 2107) return {};
  t->second = t->second / 2 * 2;
  if (t->second > 58) t->second = 58; // a leap second packs as 58
  return format(*t);
}

std::string_view shortDateText(std::string_view dateText) {
  if (dateText.size() <= 2) return {};
  return dateText.substr(2, 14);
}

} // namespace kestrovan::files
