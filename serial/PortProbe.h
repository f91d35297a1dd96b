#pragma once
// Whether a port can be used for the NC line: it opens exclusively (and closes
// again at once) and is not one of the two configured modem ports.

#include "platform/SerialPort.h"

#include <set>
#include <string>

namespace kestrovan::platform {
class IniFile;
class TtyRegistry;
} // namespace kestrovan::platform

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
// settings profile, else the default device of the number). Only to see that
// it opens, a device is opened when it is a port at all (hardware behind it,
// or a pseudo-terminal): every open raises DTR and RTS on the line.
class DevicePortOpener : public PortOpener {
public:
  explicit DevicePortOpener(const platform::IniFile& settingsProfile);
  DevicePortOpener(const platform::IniFile& settingsProfile, const platform::TtyRegistry& ttys)
      : profile_(settingsProfile), ttys_(ttys) {}
  bool openAndClose(int number) override;
  platform::SerialPortOpen open(int number) override;

private:
  const platform::IniFile& profile_;
  const platform::TtyRegistry& ttys_;
};

// Opens through another opener and remembers every port this run has opened
// (to see that it opens, or for a transfer), so that closing the program
// touches those only.
class RunPorts : public PortOpener {
public:
  explicit RunPorts(PortOpener& devices) : devices_(devices) {}
  bool openAndClose(int number) override;
  platform::SerialPortOpen open(int number) override;
  bool openedThisRun(int number) const { return opened_.count(number) > 0; }

private:
  PortOpener& devices_;
  std::set<int> opened_;
};

// "COM" + number equals ModemePort1 or ModemePort2 in upper case.
bool isModemPort(int number, const std::string& modemPort1, const std::string& modemPort2);

// Usable: not a modem port (which is never opened), and it opens.
bool probePort(int number, PortOpener& opener, const std::string& modemPort1, const std::string& modemPort2);

// At close: opens and closes once every port 1 to 30 that this run opened and
// that is not a modem port, so that none is left held; failures are ignored.
// A port this run never opened needs no release: the system frees a port as
// the program that had it closes it.
void releasePorts(RunPorts& ports, const std::string& modemPort1, const std::string& modemPort2);

} // namespace kestrovan::serial
