#include "serial/LineSettings.h"

#include <charconv>

namespace kestrovan::serial {
namespace {

// A whole field as a decimal integer, as the settings were always read: an
// optional sign and digits, nothing else.
std::optional<long> decimal(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  long value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

} // namespace

bool isOfferedSpeed(int speed) {
  switch (speed) {
  case 1200:
  case 2400:
  case 4800:
  case 9600:
  case 14400:
  case 19200: return true;
  default: return false;
  }
}

LineSettingsParse parseLineSettings(std::string_view text) {
  LineSettingsParse result;
  const std::size_t comma = text.find(',');
  std::optional<long> speed = comma == std::string_view::npos ? std::nullopt : decimal(text.substr(0, comma));
  if (!speed) {
    result.error = LineSettingsError::Malformed;
    return result;
  }
  if (*speed != static_cast<int>(*speed) || !isOfferedSpeed(static_cast<int>(*speed))) {
    result.error = LineSettingsError::Speed;
    return result;
  }
  if (comma + 1 >= text.size() || text[comma + 1] < '0' || text[comma + 1] > '9') {
    result.error = LineSettingsError::Malformed;
    return result;
  }

  LineSettings line;
  line.speed = static_cast<int>(*speed);
  line.dataBits = text[comma + 1] - '0';

  const std::size_t n = text.find('N');
  const std::size_t e = text.find('E');
  const std::size_t o = text.find('O');
  std::size_t letter = std::string_view::npos;
  if (n != std::string_view::npos) {
    letter = n;
    line.parity = platform::Parity::None;
  } else if (e != std::string_view::npos) {
    letter = e;
    line.parity = platform::Parity::Even;
  } else {
    letter = o;
    line.parity = platform::Parity::Odd;
  }
  if (line.dataBits == 8) line.parity = platform::Parity::None;

  std::optional<long> stop = letter == std::string_view::npos || letter + 2 > text.size()
                                 ? std::nullopt
                                 : decimal(text.substr(letter + 2));
  if (!stop) {
    result.error = LineSettingsError::Malformed;
    return result;
  }
  line.stopBits = *stop == 1   ? platform::StopBits::One
                  : *stop == 2 ? platform::StopBits::Two
                               : platform::StopBits::OneAndHalf;
  result.settings = line;
  return result;
}

} // namespace kestrovan::serial
