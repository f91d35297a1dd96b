#include "serial/SendTexts.h"

#include <cstdio>

namespace kestrovan::serial {
namespace {

std::string twoDigits(std::int64_t n) {
  char text[24];
  std::snprintf(text, sizeof text, "%02lld", static_cast<long long>(n));
  return text;
}

} // namespace

std::string byteCountText(std::int64_t bytes) {
  std::string digits = std::to_string(bytes < 0 ? 0 : bytes);
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return grouped + "ﾊﾞｲﾄ";
}

std::string remainingBytesLine(std::int64_t bytes) { return "残り " + byteCountText(bytes); }

std::string remainingDataLine(std::int64_t total, std::int64_t sent, std::int64_t seconds) {
  std::string time;
  if (seconds >= 3600)
    time = std::to_string(seconds / 3600) + "時" + twoDigits(seconds % 3600 / 60) + "分";
  else if (seconds >= 60)
    time = std::to_string(seconds / 60) + "分" + twoDigits(seconds % 60) + "秒";
  else
    time = std::to_string(seconds < 0 ? 0 : seconds) + "秒";
  return remainingBytesLine(total - sent + 1) + "(約 " + time + ")";
}

} // namespace kestrovan::serial
