#pragma once
// A serial device opened for exclusive use. Opening never waits for carrier;
// the line's original terminal settings are restored when it is closed, so
// that the program leaves the port as it found it.

#include "platform/UniqueFd.h"

#include <optional>
#include <string>
#include <termios.h>

namespace kestrovan::platform {

class SerialDevice {
public:
  SerialDevice(SerialDevice&&) noexcept = default;
  SerialDevice& operator=(SerialDevice&&) noexcept;
  ~SerialDevice();

  int fd() const { return fd_.get(); }
  const std::string& path() const { return path_; }
  // Puts the original settings back and closes; also done on destruction.
  void close();

private:
  friend struct SerialOpen openSerialExclusive(const std::string& path);
  SerialDevice(std::string path, UniqueFd fd, std::optional<termios> original)
      : path_(std::move(path)), fd_(std::move(fd)), original_(original) {}
  std::string path_;
  UniqueFd fd_;
  std::optional<termios> original_;
};

struct SerialOpen {
  std::optional<SerialDevice> device;
  int error = 0; // errno when device is empty (EBUSY: in use by another program)
};

// open(O_RDWR|O_NOCTTY), TIOCEXCL and a non-blocking flock.
SerialOpen openSerialExclusive(const std::string& path);

} // namespace kestrovan::platform
