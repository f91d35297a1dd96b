#pragma once
// Whether a port can be used for the NC line: it opens exclusively (and closes
// again at once) and is not one of the two configured modem ports.

#include "platform/SerialPort.h"

#include <string>

namespace kestrovan::platform {
class IniFile;
}

namespace kestrovan::serial {

// The seam to the devices: open port `number` exclusively, either for a
// transfer or only to see that it opens (and close it again at once).
class PortOpener {
public:
  virtual ~PortOpener() = default;
  virtual bool openAndClose(int number) = 0;
  virtual platform::SerialPortOpen open(int number) = 0;
};

// Opens the device that the port name maps to (the [Ports] section of the
// settings profile, else the default device of the number).
class DevicePortOpener : public PortOpener {
public:
  explicit DevicePortOpener(const platform::IniFile& settingsProfile) : profile_(settingsProfile) {}
  bool openAndClose(int number) override;
  platform::SerialPortOpen open(int number) override;

private:
  const platform::IniFile& profile_;
};

// "COM" + number equals ModemePort1 or ModemePort2 in upper case.
bool isModemPort(int number, const std::string& modemPort1, const std::string& modemPort2);

// Usable: not a modem port (which is never opened), and it opens.
bool probePort(int number, PortOpener& opener, const std::string& modemPort1, const std::string& modemPort2);

// At close: opens and closes once every port 1 to 30 that is not a modem port,
// so that none is left held; failures are ignored.
void releasePorts(PortOpener& opener, const std::string& modemPort1, const std::string& modemPort2);

} // namespace kestrovan::serial
