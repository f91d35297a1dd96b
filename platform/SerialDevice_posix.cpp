#include "platform/SerialDevice.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>

namespace kestrovan::platform {

SerialOpen openSerialExclusive(const std::string& path) {
  SerialOpen result;
  if (path.empty()) {
    result.error = ENOENT;
    return result;
  }
  // O_NONBLOCK so that opening does not hang waiting for carrier detect.
  UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (!fd) {
    result.error = errno;
    return result;
  }
  if (flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
    result.error = errno == EWOULDBLOCK ? EBUSY : errno;
    return result;
  }
  std::optional<termios> original;
  termios t{};
  if (tcgetattr(fd.get(), &t) == 0) original = t;
  // TIOCEXCL refuses later opens by other programs (root excepted, which the
  // flock above still covers for programs that honour it).
  ioctl(fd.get(), TIOCEXCL);
  result.device.emplace(SerialDevice(path, std::move(fd), original));
  return result;
}

SerialDevice& SerialDevice::operator=(SerialDevice&& other) noexcept {
  if (this != &other) {
    close();
    path_ = std::move(other.path_);
    fd_ = std::move(other.fd_);
    original_ = other.original_;
  }
  return *this;
}

SerialDevice::~SerialDevice() { close(); }

void SerialDevice::close() {
  if (!fd_) return;
  if (original_) tcsetattr(fd_.get(), TCSANOW, &*original_);
  ioctl(fd_.get(), TIOCNXCL);
  fd_.reset();
}

} // namespace kestrovan::platform
