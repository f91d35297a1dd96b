#include "serial/PortProbe.h"
#include "platform/Text.h"

#include "platform/IniFile.h"
#include "platform/PortNames.h"
#include "platform/SerialDevice.h"

namespace kestrovan::serial {
bool DevicePortOpener::openAndClose(int number) {
  platform::SerialOpen opened = platform::openSerialExclusive(platform::portDevice(number, profile_));
  return opened.device.has_value(); // closed again as it goes out of scope
}

platform::SerialPortOpen DevicePortOpener::open(int number) {
  return platform::openSerialPort(platform::portDevice(number, profile_));
}

bool isModemPort(int number, const std::string& modemPort1, const std::string& modemPort2) {
  const std::string name = platform::portName(number);
  return name == platform::asciiUpper(modemPort1) || name == platform::asciiUpper(modemPort2);
}

bool probePort(int number, PortOpener& opener, const std::string& modemPort1, const std::string& modemPort2) {
  // A modem port is never opened: the open alone would raise DTR on the modem.
  if (isModemPort(number, modemPort1, modemPort2)) return false;
  return opener.openAndClose(number);
}

void releasePorts(PortOpener& opener, const std::string& modemPort1, const std::string& modemPort2) {
  for (int n = platform::kFirstPort; n <= platform::kLastPort; ++n)
    if (!isModemPort(n, modemPort1, modemPort2)) opener.openAndClose(n);
}

} // namespace kestrovan::serial
