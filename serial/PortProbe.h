#pragma once
// Whether a port can be used for the NC line: it opens exclusively (and closes
// again at once) and is not one of the two configured modem ports.

#include "platform/SerialPort.h"

#include <set>
#include <string>

namespace kestrovan::platform {
class DeviceAccessProbe;
class IniFile;
class TtyRegistry;
} // namespace kestrovan::platform

namespace kestrovan::serial {

// Why a port does not open.
enum class PortProblem {
  None,
  Missing,      // no such device (an unplugged adapter, a wrong name)
  NotAPort,     // the device is there but no serial port is behind it
  Busy,         // in use by another program
  NoPermission, // the user may not open it (not in the dialout group)
  Other,
};

struct PortCheck {
  PortProblem problem = PortProblem::None;
  std::string device; // the device the port names; empty when unknown
  int error = 0;      // errno of the failed open
  bool usable() const { return problem == PortProblem::None; }
};

// The problem an errno of a failed open stands for.
PortProblem problemOfOpenError(int error);

// What the operator must do about a device he may not open.
inline constexpr const char* kDialoutRemedy =
    "ユーザーを dialout グループに加えて（sudo usermod -aG dialout ユーザー名）、ログインし直してください。";

// The device and why it does not open, for the port's message; "" when it is
// usable or the device is unknown. A refused device is looked at with
// `access`: its group, and whether the user is in it.
std::string portProblemText(const PortCheck& check);
std::string portProblemText(const PortCheck& check, const platform::DeviceAccessProbe& access);

// The seam to the devices: open port `number` exclusively, either for a
// transfer or only to see that it opens (and close it again at once).
class PortOpener {
public:
  virtual ~PortOpener() = default;
  virtual bool openAndClose(int number) = 0;
  virtual platform::SerialPortOpen open(int number) = 0;
  // Opens and closes as openAndClose does, and says why a port does not open.
  virtual PortCheck check(int number) {
    return openAndClose(number) ? PortCheck{} : PortCheck{PortProblem::Other, deviceName(number), 0};
  }
  // The device port `number` names, for messages.
  virtual std::string deviceName(int /*number*/) { return {}; }
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
  PortCheck check(int number) override;
  std::string deviceName(int number) override;

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
  PortCheck check(int number) override;
  std::string deviceName(int number) override { return devices_.deviceName(number); }
  bool openedThisRun(int number) const { return opened_.count(number) > 0; }

private:
  PortOpener& devices_;
  std::set<int> opened_;
};

// "COM" + number equals ModemePort1 or ModemePort2 in upper case.
bool isModemPort(int number, const std::string& modemPort1, const std::string& modemPort2);

// Usable: not a modem port (which is never opened), and it opens.
bool probePort(int number, PortOpener& opener, const std::string& modemPort1, const std::string& modemPort2);
// The same, saying why not; a modem port is Other, with no device.
PortCheck checkPort(int number, PortOpener& opener, const std::string& modemPort1,
                    const std::string& modemPort2);

// At close: opens and closes once every port 1 to 30 that this run opened and
// that is not a modem port, so that none is left held; failures are ignored.
// A port this run never opened needs no release: the system frees a port as
// the program that had it closes it.
void releasePorts(RunPorts& ports, const std::string& modemPort1, const std::string& modemPort2);

} // namespace kestrovan::serial
