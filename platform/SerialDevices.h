#pragma once
// The serial devices the machine has now, found in the kernel's records as
// an operator would name them: a USB adapter by its stable
// /dev/serial/by-id/... link, with the chip (FTDI, Prolific, CH340, CP210x)
// from its USB vendor and product ids or its driver, and the product text the
// adapter reports; an on-board port by its /dev/ttyS... node and UART type.
//
// Everything is looked up under a root folder that holds dev/ and sys/ ("/"
// for the machine itself), so that a folder of the same shape stands in for
// the system.

#include <optional>
#include <string>
#include <vector>

namespace kestrovan::platform {

enum class DeviceKind {
  UsbAdapter,
  OnBoardUart,
  PseudoTerminal, // a virtual cable (tests, the demo's virtual NC)
  Network,        // a device server: rfc2217:// or tcp://
};

enum class UsbChip { Unknown, Ftdi, Prolific, Ch340, Cp210x, CdcAcm };

struct SerialDeviceInfo {
  std::string path;       // what [Ports] gets: the by-id link, else the /dev node
  std::string kernelName; // "ttyUSB0"
  DeviceKind kind = DeviceKind::UsbAdapter;
  UsbChip chip = UsbChip::Unknown;
  std::string product;   // the adapter's own text ("FT232R USB UART"), or the UART type ("16550A")
  std::string vendorId;  // "0403"; empty when not a USB device
  std::string productId; // "6001"
};

// The chip behind a USB adapter, by its ids first, by its driver's name when
// the ids are not known ones.
UsbChip usbChipOf(const std::string& vendorId, const std::string& productId, const std::string& driver);
const char* usbChipName(UsbChip chip); // "FTDI", ... ; "" for Unknown

// The name of a serial-core UART type number (/sys/class/tty/ttyS0/type):
// "16550A" for 4; empty for 0 (no UART) and unknown numbers.
std::string uartTypeName(long type);

// Every device present under `root`: USB adapters first, in by-id name
// order, then on-board UARTs in kernel name order. A by-id link whose
// terminal the kernel no longer lists is still a present adapter.
std::vector<SerialDeviceInfo> presentSerialDevices(const std::string& root);

// What changes when an adapter is plugged in or pulled: the names in
// <root>/dev/serial/by-id and where they lead. Cheap enough to ask often.
std::string byIdSignature(const std::string& root);

// A port's device as the panel shows it: what it is and whether it is there.
struct PortDeviceState {
  std::string device; // as mapped ("/dev/serial/by-id/...", "tcp://host:port")
  std::optional<SerialDeviceInfo>
      info; // when found among the present ones, a pseudo-terminal or a network port
  bool present = false;
  bool lineSettingsOnServer = false; // raw TCP: the device server keeps its own line settings
};

// `device` looked up among `present` (by its path, its /dev node or where
// its links lead), else as a pseudo-terminal, else as a network address
// (always "present": it is only known when a transfer connects).
PortDeviceState portDeviceState(const std::string& device, const std::vector<SerialDeviceInfo>& present,
                                const std::string& root);

} // namespace kestrovan::platform
