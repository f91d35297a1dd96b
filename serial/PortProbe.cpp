#include "serial/PortProbe.h"
#include "platform/Text.h"

#include "platform/DeviceAccess.h"
#include "platform/IniFile.h"
#include "platform/NetworkPort.h"
#include "platform/Paths.h"
#include "platform/PortNames.h"
#include "platform/SerialDevice.h"
#include "platform/SerialHardware.h"

#include <cerrno>
#include <cstring>

namespace kestrovan::serial {

DevicePortOpener::DevicePortOpener(const platform::IniFile& settingsProfile)
    : DevicePortOpener(settingsProfile, platform::systemTtyRegistry()) {}

PortProblem problemOfOpenError(int error) {
  switch (error) {
  case 0: return PortProblem::None;
  case ENOENT:
  case ENODEV:
  case ENXIO: return PortProblem::Missing;
  case EBUSY:
  case EWOULDBLOCK: return PortProblem::Busy;
  case EACCES:
  case EPERM: return PortProblem::NoPermission;
  default: return PortProblem::Other;
  }
}

namespace {

// A network port's problem names the host and the port the operator wrote.
std::string networkProblemText(const platform::NetworkAddress& address, int error) {
  const std::string at = "ホスト " + address.host + " のポート " + std::to_string(address.port);
  switch (error) {
  case ENOENT: return "ホスト " + address.host + " が見つかりません。";
  case ETIMEDOUT: return at + " から応答がありません。";
  case ECONNREFUSED: return at + " は接続を受け付けません。";
  case ECANCELED: return at + " への接続を中止しました。";
  default: break;
  }
  if (error == 0) return at + " に接続できません。";
  return at + " に接続できません（" + std::strerror(error) + "）。";
}

} // namespace

std::string portProblemText(const PortCheck& check) {
  return portProblemText(check, platform::systemDeviceAccess());
}

namespace {
// A device the user may not open: whether joining the device's group would
// let him (the dialout group on Debian), whether he joined it but this login
// does not have it yet, or whether no group of users may open it.
std::string refusalText(const std::string& d, const platform::DeviceAccess& a) {
  const std::string refused = d + " を開く権限がありません。";
  if (a.group.empty()) return refused + "\n" + kDialoutRemedy;
  if (a.groupMayReadWrite && !a.processHasGroup) {
    if (a.userListedInGroup)
      return refused + "\nユーザー " + a.user + " は " + a.group +
             " グループに加えられていますが、このログインではまだ有効ではありません。ログインし直してください"
             "。";
    return d + " は " + a.group + " グループのデバイスで、ユーザー " + a.user +
           " はこのグループに入っていません。\nユーザーを " + a.group +
           " グループに加えて（sudo usermod -aG " + a.group + " " + a.user + "）、ログインし直してください。";
  }
  return refused + "\nデバイスの所有者と権限を確認してください（ls -l " + d + "）。";
}
} // namespace

std::string portProblemText(const PortCheck& check, const platform::DeviceAccessProbe& access) {
  if (check.device.empty()) return {};
  const std::string& d = check.device;
  if (check.problem != PortProblem::None)
    if (auto address = platform::parseNetworkPort(d)) return networkProblemText(*address, check.error);
  switch (check.problem) {
  case PortProblem::None: return {};
  case PortProblem::Missing: return "デバイス " + d + " がありません。";
  case PortProblem::NotAPort: return d + " にはシリアルポートの機器がありません。";
  case PortProblem::Busy: return d + " は他のプログラムが使用中です。";
  case PortProblem::NoPermission: return refusalText(d, access.of(d));
  case PortProblem::Other: break;
  }
  if (check.error == 0) return d + " を開けません。";
  return d + " を開けません（" + std::strerror(check.error) + "）。";
}

bool DevicePortOpener::openAndClose(int number) { return check(number).usable(); }

PortCheck DevicePortOpener::check(int number) {
  PortCheck result{PortProblem::None, deviceName(number), 0};
  // A network port is only looked at, not connected to: a connection can
  // take seconds, and the transfer's opening says why one fails.
  if (platform::looksLikeNetworkPort(result.device)) {
    if (!platform::parseNetworkPort(result.device)) {
      result.problem = PortProblem::Other;
      result.error = EINVAL;
    }
    return result;
  }
  if (!platform::pathExists(result.device)) {
    result.problem = PortProblem::Missing;
    result.error = ENOENT;
    return result;
  }
  // Opened only when it is a port at all: every open raises DTR and RTS.
  if (!platform::isSerialPortDevice(result.device, ttys_)) {
    result.problem = PortProblem::NotAPort;
    return result;
  }
  platform::SerialOpen opened = platform::openSerialExclusive(result.device);
  if (!opened.device) { // an open one is closed again as it goes out of scope
    result.error = opened.error;
    result.problem = problemOfOpenError(opened.error);
    if (result.problem == PortProblem::None) result.problem = PortProblem::Other;
  }
  return result;
}

std::string DevicePortOpener::deviceName(int number) { return platform::portDevice(number, profile_); }

platform::SerialPortOpen DevicePortOpener::open(int number) {
  return platform::openSerialPort(platform::portDevice(number, profile_));
}

bool RunPorts::openAndClose(int number) {
  const bool opened = devices_.openAndClose(number);
  if (opened) opened_.insert(number);
  return opened;
}

PortCheck RunPorts::check(int number) {
  PortCheck result = devices_.check(number);
  if (result.usable()) opened_.insert(number);
  return result;
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

PortCheck checkPort(int number, PortOpener& opener, const std::string& modemPort1,
                    const std::string& modemPort2) {
  if (isModemPort(number, modemPort1, modemPort2)) return {PortProblem::Other, {}, 0};
  return opener.check(number);
}

void releasePorts(RunPorts& ports, const std::string& modemPort1, const std::string& modemPort2) {
  for (int n = platform::kFirstPort; n <= platform::kLastPort; ++n)
    if (ports.openedThisRun(n) && !isModemPort(n, modemPort1, modemPort2)) ports.openAndClose(n);
}

} // namespace kestrovan::serial
