#pragma once
// What the communication settings panel shows beside the port names: for
// COM1 to COM30 the device each maps to, what that device is and whether it
// is there; and the one write the program makes into [Ports], a port mapped
// to a present device.

#include "platform/SerialDevices.h"

#include <string>
#include <vector>

namespace kestrovan::platform {
class IniFile;
}

namespace kestrovan::core {

struct PortDeviceRow {
  std::string port;   // "COM1"
  std::string kind;   // "USB FTDI FT232R USB UART", "UART 16550A", "TCP host:port", "（未接続）"
  std::string device; // as mapped
  bool present = false;
  bool lineSettingsOnServer = false; // raw TCP
};

// The text of what a present device is.
std::string deviceKindText(const platform::SerialDeviceInfo& device);

// Text shown for a port whose device is not there.
inline constexpr const char* kAbsentDevice = "（未接続）";
// Beside a raw TCP port: its line settings are not ours to set.
inline constexpr const char* kServerLineSettings = "回線設定は装置サーバー側";

// COM1 to COM30 with their devices, looked up among `present` under `root`.
std::vector<PortDeviceRow> portDeviceRows(const platform::IniFile& settingsProfile,
                                          const std::vector<platform::SerialDeviceInfo>& present,
                                          const std::string& root);

// The devices a port can be mapped to: the present USB adapters and UARTs.
std::vector<platform::SerialDeviceInfo>
mappableDevices(const std::vector<platform::SerialDeviceInfo>& present);

// Writes "COMn=<device>" into [Ports] of the settings file as it is on disk
// (every other line byte for byte) and into `settingsProfile`, which the
// ports open by. A file that exists but cannot be read, or cannot be written,
// is left as it was and the profile unchanged: false.
bool writePortMapping(int number, const std::string& device, const std::string& settingsPath,
                      platform::IniFile& settingsProfile);

} // namespace kestrovan::core
