#include "platform/PortNames.h"
#include "platform/Text.h"

#include "platform/IniFile.h"

namespace kestrovan::platform {

std::optional<int> portNumber(std::string_view name) {
  if (name.size() < 4) return std::nullopt;
  if (asciiUpper(name[0]) != 'C' || asciiUpper(name[1]) != 'O' || asciiUpper(name[2]) != 'M')
    return std::nullopt;
  std::string_view digits = name.substr(3);
  if (digits.size() > 6) return std::nullopt;
  int n = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  return n;
}

std::string portName(int number) { return "COM" + std::to_string(number); }

std::string portDevice(int number, const IniFile& settings) {
  if (auto configured = settings.value("Ports", portName(number)); configured && !configured->empty())
    return *configured;
  if (number >= 1 && number <= 10) return "/dev/ttyS" + std::to_string(number - 1);
  if (number >= 11 && number <= 20) return "/dev/ttyUSB" + std::to_string(number - 11);
  if (number >= 21 && number <= 30) return "/dev/ttyACM" + std::to_string(number - 21);
  return {};
}

} // namespace kestrovan::platform
