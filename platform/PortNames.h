#pragma once
// Port names stay "COM1" ... "COM30" as operators know them. Each maps to a
// device: key "COMn" of section [Ports] in the settings file when present (a
// USB adapter's /dev/serial/by-id/..., a pseudo-terminal), otherwise
// COM1-10 -> /dev/ttyS0-9, COM11-20 -> /dev/ttyUSB0-9, COM21-30 -> /dev/ttyACM0-9.

#include <optional>
#include <string>
#include <string_view>

namespace kestrovan::platform {

class IniFile;

inline constexpr int kFirstPort = 1;
inline constexpr int kLastPort = 30;

// The number of a port name: "COM" (any letter case) followed by a decimal
// number. Anything else has no number.
std::optional<int> portNumber(std::string_view portName);

std::string portName(int number); // "COM" + number

// The device for port `number`; empty when the port has no device.
std::string portDevice(int number, const IniFile& settings);

} // namespace kestrovan::platform
