#pragma once
// The line settings text held in Speed: "speed,data bits,parity,stop bits",
// for example "4800,8,N,2". It is parsed at every opening of the line.

#include "platform/SerialPort.h"

#include <optional>
#include <string_view>

namespace kestrovan::serial {

struct LineSettings {
  int speed = 4800;
  int dataBits = 8;
  platform::Parity parity = platform::Parity::None;
  platform::StopBits stopBits = platform::StopBits::Two;
};

enum class LineSettingsError {
  None,
  Speed,     // a number, but not one of the speeds the program offers
  Malformed, // a field that is not a number, or no parity letter to find
};

struct LineSettingsParse {
  std::optional<LineSettings> settings;
  LineSettingsError error = LineSettingsError::None;
};

// The speeds offered: 1200, 2400, 4800, 9600, 14400 and 19200.
bool isOfferedSpeed(int speed);

// Parses the text the way the settings have always been read, so that every
// stored text means what it meant before:
// - speed: the text before the first ","; data bits: the one digit after it;
// - 8 data bits never have parity, whatever the letter says;
// - with fewer bits the letters are searched in the whole text: any "N" means
//   no parity, else any "E" even, else odd ("4800,7,O,1" has neither N nor E);
// - stop bits: the number two characters after the letter found (with 8 data
//   bits: the first "N", else "E", else "O"): 1 or 2, any other number is one
//   and a half.
LineSettingsParse parseLineSettings(std::string_view text);

} // namespace kestrovan::serial
