#include "files/FileInfo.h"

#include "files/NameText.h"
#include "files/SizeText.h"
#include "platform/DirectoryEnum.h"
#include "platform/FileMode.h"
#include "platform/FileTimes.h"
#include "platform/LocalTime.h"
#include "platform/Paths.h"

#include <cstdio>

namespace kestrovan::files {
namespace {

constexpr const char* kTypeLabel = "種類 :　　　";
constexpr const char* kLocationLabel = "場所 :　　　";
constexpr const char* kSizeLabel = "サイズ :　　";

struct FieldRange {
  int low;
  int high;
  const char* message;
};
constexpr FieldRange kRanges[kTimeFieldCount] = {
    {1970, 9999, "年数は1970以降でお願いします。"}, {1, 12, "１から１２までしか入力出来ません"},
    {1, 31, "１から３１までしか入力出来ません"},    {0, 23, "０から２３までしか入力出来ません"},
    {0, 59, "０から５９までしか入力出来ません"},    {0, 59, "０から５９までしか入力出来ません"},
};

// Digits as the messages write them: full width ("３０").
std::string fullWidth(int n) {
  std::string text;
  for (char c : std::to_string(n)) {
    text += "\xEF\xBC"; // U+FF10 to U+FF19
    text += static_cast<char>(0x90 + (c - '0'));
  }
  return text;
}

std::optional<int> fieldValue(std::string_view text) {
  if (text.empty() || text.size() > 4) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

int daysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

std::string twoDigits(int n, int width) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*d", width, n);
  return buffer;
}

} // namespace

std::string typeLine(std::string_view type) { return kTypeLabel + std::string(type); }

std::string locationLine(std::string_view folder) {
  std::string place(folder);
  if (place.empty() || place.back() != platform::kSeparator) place += platform::kSeparator;
  return kLocationLabel + place;
}

std::string groupedDigits(std::uint64_t n) {
  const std::string digits = std::to_string(n);
  std::string text;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) text += ',';
    text += digits[i];
  }
  return text;
}

std::string sizeLine(std::uint64_t bytes) {
  constexpr std::uint64_t kKilo = 1024;
  constexpr std::uint64_t kMega = kKilo * 1024;
  constexpr std::uint64_t kGiga = kMega * 1024;
  if (bytes < kKilo) return kSizeLabel + std::to_string(bytes) + "ﾊﾞｲﾄ";
  const std::string count = " (" + groupedDigits(bytes) + "ﾊﾞｲﾄ)";
  if (bytes > kGiga) return kSizeLabel + scaledSize(bytes, kGiga, "GB") + count;
  if (bytes > kMega) return kSizeLabel + scaledSize(bytes, kMega, "MB") + count;
  return kSizeLabel + scaledSize(bytes, kKilo, "KB") + count;
}

std::string folderSizeLine() { return kSizeLabel + std::string("0"); }

std::string fileTypeName(std::string_view fileName, const DesktopType& desktop) {
  if (desktop.icon && !desktop.name.empty()) return desktop.name;
  const std::string_view ext = fileExtension(fileName);
  if (ext.empty()) return "ﾌｧｲﾙ";
  return upperAscii(ext.substr(1)) + " ﾌｧｲﾙ";
}

TimeFields timeFieldsOf(std::int64_t secondsSinceEpoch, bool twoSecondSteps) {
  std::optional<platform::CivilTime> t = platform::toLocalTime(secondsSinceEpoch);
  if (!t) return {};
  if (twoSecondSteps) t->second = t->second / 2 * 2;
  if (t->second > 59) t->second = 58; // a leap second
  return {twoDigits(t->year, 4), twoDigits(t->month, 2),  twoDigits(t->day, 2),
          twoDigits(t->hour, 2), twoDigits(t->minute, 2), twoDigits(t->second, 2)};
}

std::optional<std::string> timeFieldRefusal(int field, std::string_view text) {
  const FieldRange& range = kRanges[field];
  const std::optional<int> value = fieldValue(text);
  if (!value || *value < range.low || *value > range.high) return range.message;
  return std::nullopt;
}

TimeCheck checkTimeFields(const TimeFields& fields) {
  int values[kTimeFieldCount] = {};
  for (int i = 0; i < kTimeFieldCount; ++i) {
    if (std::optional<std::string> message = timeFieldRefusal(i, fields[static_cast<std::size_t>(i)]))
      return {std::nullopt, TimeRefusal{i, *message}};
    values[i] = *fieldValue(fields[static_cast<std::size_t>(i)]);
  }
  const int lastDay = daysInMonth(values[0], values[1]);
  if (values[2] > lastDay)
    return {std::nullopt, TimeRefusal{2, "１から" + fullWidth(lastDay) + "までしか入力出来ません"}};
  const platform::CivilTime local{values[0], values[1], values[2], values[3], values[4], values[5] / 2 * 2};
  const std::optional<std::int64_t> seconds = platform::localTimeToSeconds(local);
  if (!seconds) return {std::nullopt, TimeRefusal{0, kRanges[0].message}};
  // A time the clocks skip when daylight saving time begins (02:30 on such
  // a day in New York) comes back as another one: refused with the message
  // of the first field it changed, rather than written as another time.
  const std::optional<platform::CivilTime> back = platform::toLocalTime(*seconds);
  if (!back) return {std::nullopt, TimeRefusal{0, kRanges[0].message}};
  const int written[kTimeFieldCount] = {back->year, back->month,  back->day,
                                        back->hour, back->minute, back->second};
  const int asked[kTimeFieldCount] = {local.year, local.month,  local.day,
                                      local.hour, local.minute, local.second};
  for (int i = 0; i < kTimeFieldCount; ++i)
    if (written[i] != asked[i]) return {std::nullopt, TimeRefusal{i, kRanges[i].message}};
  return {seconds, std::nullopt};
}

std::optional<std::string> applyFileInfo(const FileInfoChange& change) {
  if (!platform::entryInfo(change.path)) return "ﾌｧｲﾙが見つかりません。";
  std::string failed;
  if (change.modified && platform::setModificationTime(change.path, *change.modified) != 0)
    failed += "更新日時を変更できませんでした。";
  if (change.readOnly && platform::setOwnerWritable(change.path, !*change.readOnly) != 0) {
    if (!failed.empty()) failed += "\n";
    failed += "読み取り専用を変更できませんでした。";
  }
  if (failed.empty()) return std::nullopt;
  return failed;
}

} // namespace kestrovan::files
