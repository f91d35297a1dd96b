#include "platform/SerialDevices.h"

#include "platform/AtomicFile.h"
#include "platform/DirectoryEnum.h"
#include "platform/NetworkPort.h"
#include "platform/Paths.h"
#include "platform/SerialHardware.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <map>
#include <unistd.h>

namespace kestrovan::platform {
namespace {

std::string under(const std::string& root, const char* relative) {
  return joinPath(root.empty() ? "/" : root, relative);
}

std::string linkTarget(const std::string& path) {
  char buffer[PATH_MAX];
  const ssize_t n = readlink(path.c_str(), buffer, sizeof buffer);
  return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

std::string canonical(const std::string& path) {
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) ? std::string(resolved) : std::string();
}

// A sysfs attribute without its line end and surrounding blanks.
std::string attribute(const std::string& path) {
  const FileContents c = readWholeFile(path);
  if (!c.ok) return {};
  std::string text = c.bytes;
  const auto notBlank = [](unsigned char ch) { return ch > ' '; };
  text.erase(std::find_if(text.rbegin(), text.rend(), notBlank).base(), text.end());
  text.erase(text.begin(), std::find_if(text.begin(), text.end(), notBlank));
  return text;
}

std::string lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// Fills in what sysfs tells of terminal `kernelName`; false when it is not
// a terminal with a device behind it.
bool describeTty(const std::string& root, const std::string& kernelName, SerialDeviceInfo& info) {
  const std::string ttyFolder = joinPath(under(root, "sys/class/tty"), kernelName);
  const std::string device = canonical(joinPath(ttyFolder, "device"));
  if (device.empty()) return false;
  info.kernelName = kernelName;
  const std::string driver = baseNameOf(linkTarget(joinPath(device, "driver")));
  // The USB device that holds the port sits a level or two above it.
  const std::string sysRoot = canonical(under(root, "sys"));
  for (std::string folder = device; folder.size() > sysRoot.size() && folder != "/";
       folder = parentFolder(folder)) {
    const std::string vendor = attribute(joinPath(folder, "idVendor"));
    if (vendor.empty()) continue;
    info.kind = DeviceKind::UsbAdapter;
    info.vendorId = lower(vendor);
    info.productId = lower(attribute(joinPath(folder, "idProduct")));
    info.chip = usbChipOf(info.vendorId, info.productId, driver);
    info.product = attribute(joinPath(folder, "product"));
    return true;
  }
  if (driver == "ftdi_sio" || driver == "pl2303" || driver == "ch341" || driver == "ch341-uart" ||
      driver == "cp210x" || driver == "cdc_acm") {
    info.kind = DeviceKind::UsbAdapter;
    info.chip = usbChipOf({}, {}, driver);
    return true;
  }
  const std::string type = attribute(joinPath(ttyFolder, "type"));
  if (type.empty()) return false; // not a serial port (a console, a virtual terminal)
  const long uart = std::strtol(type.c_str(), nullptr, 10);
  if (uart == 0) return false; // a slot the kernel keeps, no UART behind it
  info.kind = DeviceKind::OnBoardUart;
  info.product = uartTypeName(uart);
  return true;
}

// The by-id links: name -> kernel name of the terminal they lead to.
std::vector<std::pair<std::string, std::string>> byIdLinks(const std::string& root) {
  std::vector<std::pair<std::string, std::string>> links;
  for (const std::string& name : listNames(under(root, "dev/serial/by-id"))) {
    const std::string target = linkTarget(joinPath(under(root, "dev/serial/by-id"), name));
    if (!target.empty()) links.emplace_back(name, baseNameOf(target));
  }
  std::sort(links.begin(), links.end());
  return links;
}

} // namespace

UsbChip usbChipOf(const std::string& vendorId, const std::string& productId, const std::string& driver) {
  const std::string v = lower(vendorId);
  const std::string p = lower(productId);
  if (v == "0403") return UsbChip::Ftdi;
  if (v == "067b") return UsbChip::Prolific;
  if (v == "1a86" && (p == "7523" || p == "5523" || p == "7522")) return UsbChip::Ch340;
  if (v == "10c4" && (p == "ea60" || p == "ea70" || p == "ea71" || p == "ea63")) return UsbChip::Cp210x;
  if (driver == "ftdi_sio") return UsbChip::Ftdi;
  if (driver == "pl2303") return UsbChip::Prolific;
  if (driver == "ch341" || driver == "ch341-uart") return UsbChip::Ch340;
  if (driver == "cp210x") return UsbChip::Cp210x;
  if (driver == "cdc_acm") return UsbChip::CdcAcm;
  return UsbChip::Unknown;
}

const char* usbChipName(UsbChip chip) {
  switch (chip) {
  case UsbChip::Ftdi: return "FTDI";
  case UsbChip::Prolific: return "Prolific";
  case UsbChip::Ch340: return "CH340";
  case UsbChip::Cp210x: return "CP210x";
  case UsbChip::CdcAcm: return "CDC ACM";
  case UsbChip::Unknown: break;
  }
  return "";
}

std::string uartTypeName(long type) {
  static const std::map<long, const char*> names = {
      {1, "8250"},       {2, "16450"},     {3, "16550"},     {4, "16550A"},   {5, "Cirrus"},   {6, "16650"},
      {7, "16650V2"},    {8, "16750"},     {9, "Startech"},  {10, "16C950"},  {11, "16654"},   {12, "16850"},
      {13, "RSA"},       {14, "NS16550A"}, {15, "XScale"},   {16, "RM9000"},  {17, "OCTEON"},  {18, "AR7"},
      {19, "U6_16550A"}, {20, "Tegra"},    {21, "XR17D15X"}, {22, "LPC3220"}, {23, "8250_CIR"}};
  const auto it = names.find(type);
  return it == names.end() ? std::string() : it->second;
}

std::vector<SerialDeviceInfo> presentSerialDevices(const std::string& root) {
  std::vector<SerialDeviceInfo> found;
  std::vector<std::string> named; // kernel names that have a by-id link
  for (const auto& [name, kernelName] : byIdLinks(root)) {
    SerialDeviceInfo info;
    if (!describeTty(root, kernelName, info) || info.kind != DeviceKind::UsbAdapter) {
      info = {};
      info.kernelName = kernelName;
      info.kind = DeviceKind::UsbAdapter;
    }
    info.path = joinPath(under(root, "dev/serial/by-id"), name);
    found.push_back(std::move(info));
    named.push_back(kernelName);
  }
  std::vector<std::string> ttys = listNames(under(root, "sys/class/tty"));
  std::sort(ttys.begin(), ttys.end());
  std::vector<SerialDeviceInfo> uarts;
  for (const std::string& kernelName : ttys) {
    if (std::find(named.begin(), named.end(), kernelName) != named.end()) continue;
    SerialDeviceInfo info;
    if (!describeTty(root, kernelName, info)) continue;
    info.path = joinPath(under(root, "dev"), kernelName);
    (info.kind == DeviceKind::UsbAdapter ? found : uarts).push_back(std::move(info));
  }
  found.insert(found.end(), uarts.begin(), uarts.end());
  return found;
}

std::string byIdSignature(const std::string& root) {
  std::string signature;
  for (const auto& [name, kernelName] : byIdLinks(root))
    signature += name + '\n' + kernelName + '\n';
  return signature;
}

PortDeviceState portDeviceState(const std::string& device, const std::vector<SerialDeviceInfo>& present,
                                const std::string& root) {
  PortDeviceState state;
  state.device = device;
  if (device.empty()) return state;
  if (looksLikeNetworkPort(device)) {
    const std::optional<NetworkAddress> address = parseNetworkPort(device);
    if (!address) return state; // a malformed address is as good as absent
    SerialDeviceInfo info;
    info.kind = DeviceKind::Network;
    info.product = hostAndPort(*address);
    state.info = info;
    state.present = true;
    state.lineSettingsOnServer = address->protocol == NetworkProtocol::RawTcp;
    return state;
  }
  const std::string resolved = canonical(device);
  // A /dev name (a port's default device) is looked for under the root.
  const bool rooted = !isRootFolder(root.empty() ? "/" : root) && device.rfind("/dev/", 0) == 0;
  const std::string inRoot = rooted ? joinPath(root, device.substr(1)) : device;
  for (const SerialDeviceInfo& info : present) {
    const std::string node = joinPath(under(root, "dev"), info.kernelName);
    if (device == info.path || device == node || inRoot == info.path || inRoot == node ||
        (!resolved.empty() && (resolved == canonical(info.path) || resolved == canonical(node)))) {
      state.info = info;
      state.present = true;
      return state;
    }
  }
  // Only a pseudo-terminal is a port without hardware behind it.
  class NoHardware : public TtyRegistry {
    bool hasHardware(const std::string&) const override { return false; }
  } none;
  if (isSerialPortDevice(device, none)) {
    SerialDeviceInfo info;
    info.path = device;
    info.kernelName = baseNameOf(resolved);
    info.kind = DeviceKind::PseudoTerminal;
    state.info = info;
    state.present = true;
  }
  return state;
}

} // namespace kestrovan::platform
