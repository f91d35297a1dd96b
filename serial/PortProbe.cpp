#include "serial/PortProbe.h"
#include "platform/Text.h"

#include "platform/IniFile.h"
#include "platform/PortNames.h"
#include "platform/SerialDevice.h"
#include "platform/SerialHardware.h"

namespace kestrovan::serial {

DevicePortOpener::DevicePortOpener(const platform::IniFile& settingsProfile)
    : DevicePortOpener(settingsProfile, platform::systemTtyRegistry()) {}

bool DevicePortOpener::openAndClose(int number) {
  const std::string device = platform::portDevice(number, profile_);
  if (!platform::isSerialPortDevice(device, ttys_)) return false;
  platform::SerialOpen opened = platform::openSerialExclusive(device);
  return opened.device.has_value(); // closed again as it goes out of scope
}

platform::SerialPortOpen DevicePortOpener::open(int number) {
  return platform::openSerialPort(platform::portDevice(number, profile_));
}

bool RunPorts::openAndClose(int number) {
  const bool opened = devices_.openAndClose(number);
  if (opened) opened_.insert(number);
  return opened;
}

platform::SerialPortOpen RunPorts::open(int number) {
  platform::SerialPortOpen result = devices_.open(number);
  if (result.port) opened_.insert(number);
  return result;
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

void releasePorts(RunPorts& ports, const std::string& modemPort1, const std::string& modemPort2) {
  for (int n = platform::kFirstPort; n <= platform::kLastPort; ++n)
    if (ports.openedThisRun(n) && !isModemPort(n, modemPort1, modemPort2)) ports.openAndClose(n);
}

} // namespace kestrovan::serial
