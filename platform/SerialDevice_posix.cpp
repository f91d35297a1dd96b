#include "platform/SerialDevice.h"

#include "platform/OutputDrain.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>

namespace kestrovan::platform {
namespace {

class DeviceOutputQueue final : public OutputQueue {
public:
  explicit DeviceOutputQueue(int fd) : fd_(fd) {}
  std::optional<int> queuedBytes() override {
    int bytes = 0;
    if (ioctl(fd_, TIOCOUTQ, &bytes) != 0) return std::nullopt;
    return bytes;
  }
  void discard() override { tcflush(fd_, TCOFLUSH); }
  void waitMs(int ms) override {
    timespec t{ms / 1000, (ms % 1000) * 1'000'000L};
    while (nanosleep(&t, &t) != 0 && errno == EINTR) {
    }
  }

private:
  int fd_;
};

} // namespace

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
  if (original_) {
    // The last bytes (a DC4) leave at the transfer's speed and format, not
    // at the ones put back.
    DeviceOutputQueue queue(fd_.get());
    drainOutput(queue);
    tcsetattr(fd_.get(), TCSANOW, &*original_);
  }
  ioctl(fd_.get(), TIOCNXCL);
  fd_.reset();
}

} // namespace kestrovan::platform
