#include "core/PortDevices.h"

#include "platform/AtomicFile.h"
#include "platform/IniFile.h"
#include "platform/PortNames.h"

#include <cerrno>

namespace kestrovan::core {

std::string deviceKindText(const platform::SerialDeviceInfo& d) {
  std::string text;
  switch (d.kind) {
  case platform::DeviceKind::UsbAdapter:
    text = "USB";
    if (*platform::usbChipName(d.chip)) text += std::string(" ") + platform::usbChipName(d.chip);
    if (!d.product.empty()) text += " " + d.product;
    return text;
  case platform::DeviceKind::OnBoardUart: return d.product.empty() ? "UART" : "UART " + d.product;
  case platform::DeviceKind::PseudoTerminal: return "疑似端末";
  case platform::DeviceKind::Network: return d.product;
  }
  return text;
}

std::vector<PortDeviceRow> portDeviceRows(const platform::IniFile& profile,
                                          const std::vector<platform::SerialDeviceInfo>& present,
                                          const std::string& root) {
  std::vector<PortDeviceRow> rows;
  for (int n = platform::kFirstPort; n <= platform::kLastPort; ++n) {
    PortDeviceRow row;
    row.port = platform::portName(n);
    row.device = platform::portDevice(n, profile);
    const platform::PortDeviceState state = platform::portDeviceState(row.device, present, root);
    row.present = state.present;
    row.lineSettingsOnServer = state.lineSettingsOnServer;
    if (!state.info) {
      row.kind = kAbsentDevice;
    } else if (state.info->kind == platform::DeviceKind::Network) {
      row.kind = (state.lineSettingsOnServer ? "TCP " : "RFC 2217 ") + state.info->product;
      if (state.lineSettingsOnServer) row.kind += std::string("（") + kServerLineSettings + "）";
    } else {
      row.kind = deviceKindText(*state.info);
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

std::vector<platform::SerialDeviceInfo>
mappableDevices(const std::vector<platform::SerialDeviceInfo>& present) {
  std::vector<platform::SerialDeviceInfo> devices;
  for (const platform::SerialDeviceInfo& d : present)
    if (d.kind == platform::DeviceKind::UsbAdapter || d.kind == platform::DeviceKind::OnBoardUart)
      devices.push_back(d);
  return devices;
}

bool writePortMapping(int number, const std::string& device, const std::string& settingsPath,
                      platform::IniFile& profile) {
  if (number < platform::kFirstPort || number > platform::kLastPort || device.empty()) return false;
  // An empty profile written over a file that only could not be read would
  // lose every setting in it.
  const platform::FileContents onDisk = platform::readWholeFile(settingsPath);
  if (!onDisk.ok && onDisk.error != ENOENT) return false;
  platform::IniFile file = platform::IniFile::fromBytes(onDisk.ok ? onDisk.bytes : std::string());
  file.writeString("Ports", platform::portName(number), device);
  if (!file.save(settingsPath)) return false;
  profile.writeString("Ports", platform::portName(number), device);
  return true;
}

} // namespace kestrovan::core
