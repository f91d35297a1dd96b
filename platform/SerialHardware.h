#pragma once
// Whether a device node has a serial port behind it, before anything opens
// it: on Linux an open alone raises DTR and RTS, which resets many USB serial
// boards. The kernel's record of terminals says which have hardware.

#include <string>

namespace kestrovan::platform {

// The kernel's record of terminals, looked up by kernel name ("ttyUSB0").
class TtyRegistry {
public:
  virtual ~TtyRegistry() = default;
  // True when the terminal has a device of its own, and is not a serial
  // slot without a UART behind it.
  virtual bool hasHardware(const std::string& kernelName) const = 0;
};

// /sys/class/tty (or a folder of the same shape): a terminal has hardware
// when <name>/device exists, and a serial-core port only when its <name>/type
// is not 0 (no UART: a ttyS slot that the kernel keeps for every machine).
class SysfsTtyRegistry : public TtyRegistry {
public:
  explicit SysfsTtyRegistry(std::string root = "/sys/class/tty") : root_(std::move(root)) {}
  bool hasHardware(const std::string& kernelName) const override;

private:
  std::string root_;
};

// The system's own record.
const TtyRegistry& systemTtyRegistry();

// True when `devicePath`, symbolic links followed (/dev/serial/by-id/...),
// names a terminal device that can be a port: a pseudo-terminal (a virtual
// cable, as the tests and the demo use), or a terminal the registry knows
// hardware for. A path that names nothing, a plain file or a console is not.
bool isSerialPortDevice(const std::string& devicePath, const TtyRegistry& registry);

} // namespace kestrovan::platform
