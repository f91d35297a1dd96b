// The serial line over termios.
//
// Flow control: the terminal driver's IXON/IXOFF are never switched on, in
// either direction. With IXON the driver consumes every received byte that
// equals VSTART or VSTOP, and in EIA the digit "3" is the byte 0x13, so the
// driver would silently eat data (with the 0x13 stop character), and a
// 0x11/0x13/0x93 would never reach the program's own DC1/DC3 reading either.
// The program therefore does all XON/XOFF itself, above this layer: the writer
// reads DC1/DC3 every ten characters and caps the output queue (serial/Line),
// and while receiving the reader sends XOFF/XON by the input queue length
// (serial/Line's input regulation) - the same limits the driver would use.
// Only the characters are stored in VSTART/VSTOP, where they have no effect.
//
// Rows of the line configuration that termios cannot express, and why that is
// safe:
// - XON/XOFF limits and automatic XON/XOFF: done by the program (see above).
// - "Transmission continues after XOFF sent" (off): without IXOFF the driver
//   never sends XOFF, so there is nothing to continue after.
// - Abort on line error (off): POSIX never aborts pending I/O on a line error.
// - Discarding received NUL bytes: termios has no such flag; readByte() skips
//   them, which the program cannot tell apart from the driver doing it.
// - Driver buffer sizes (4096 in and out): the kernel's own queues are used;
//   the writer caps the output queue itself and the reader regulates input.
// - Total read and write time-outs: poll() before each read (of a block that
//   is then handed out byte by byte) and each one-byte write. The line above
//   keeps them short and waits in slices, so that no call here blocks the
//   window for long.
// - A hang-up (POLLHUP, POLLERR, EIO, ENXIO, end of file) fails the read or
//   the write at once, so that the line above can end its transfer.

#include "platform/NetworkPort.h"
#include "platform/SerialDevice.h"
#include "platform/SerialPort.h"
#include "platform/SerialSpeed.h"

#include <cerrno>
#include <chrono>
#include <optional>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace kestrovan::platform {
namespace {

using Clock = std::chrono::steady_clock;

// Errors by which a device says it has no such control, as opposed to failing.
bool isUnsupported(int error) { return error == ENOTTY || error == EINVAL || error == ENOSYS; }

PortStatus statusOfIoctl(int result) {
  if (result == 0) return PortStatus::Ok;
  return isUnsupported(errno) ? PortStatus::Unsupported : PortStatus::Failed;
}

// The standard speed constant, or B0 for a speed termios has no name for.
speed_t speedConstant(int speed) {
  switch (speed) {
  case 1200: return B1200;
  case 2400: return B2400;
  case 4800: return B4800;
  case 9600: return B9600;
  case 19200: return B19200;
  case 38400: return B38400;
  default: return B0;
  }
}

tcflag_t sizeFlag(int dataBits) {
  switch (dataBits) {
  case 5: return CS5;
  case 6: return CS6;
  case 7: return CS7;
  case 8: return CS8;
  default: return 0;
  }
}

// Milliseconds left until `deadline`, or kWaitForever.
int remainingMs(std::optional<Clock::time_point> deadline) {
  if (!deadline) return kWaitForever;
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(*deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

std::optional<Clock::time_point> deadlineAfter(int ms) {
  if (ms < 0) return std::nullopt;
  return Clock::now() + std::chrono::milliseconds(ms);
}

class PosixSerialPort final : public SerialPort {
public:
  explicit PosixSerialPort(SerialDevice device) : device_(std::move(device)) {}

  PortStatus configure(const LineConfig& config) override {
    const int fd = device_.fd();
    const tcflag_t size = sizeFlag(config.dataBits);
    if (size == 0) return PortStatus::Failed;
    termios t{};
    if (tcgetattr(fd, &t) != 0) return PortStatus::Failed;

    // A raw line: no line editing, echo, signals or newline translation, and
    // no parity checking on input. ISTRIP makes a seven-bit line deliver seven
    // bits even where the device would not (a pseudo-terminal).
    t.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | INPCK | ISTRIP | INLCR | IGNCR | ICRNL |
                                        IXON | IXOFF | IXANY);
    if (config.dataBits < 8) t.c_iflag |= ISTRIP;
    t.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    t.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);

    // Modem lines do not gate the line (the program reads them itself), and
    // opening never waits for carrier.
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB);
    t.c_cflag |= size | CREAD | CLOCAL;
    if (config.parity != Parity::None) t.c_cflag |= PARENB;
    if (config.parity == Parity::Odd) t.c_cflag |= PARODD;
    // Termios knows one or two stop bits; one and a half is sent as two,
    // which every receiver accepts.
    if (config.stopBits != StopBits::One) t.c_cflag |= CSTOPB;
#ifdef CRTSCTS
    // A send ignores CTS; a receive keeps whatever the port had.
    if (config.direction == LineDirection::Send) t.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
#endif
    t.c_cc[VSTART] = config.xonChar;
    t.c_cc[VSTOP] = config.xoffChar;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;

    const speed_t named = speedConstant(config.speed);
    if (named != B0) {
      cfsetispeed(&t, named);
      cfsetospeed(&t, named);
    }
    if (tcsetattr(fd, TCSANOW, &t) != 0) return PortStatus::Failed;
    if (named == B0 && !setArbitrarySpeed(fd, config.speed)) return PortStatus::Failed;
    return PortStatus::Ok;
  }

  PortStatus setTimeouts(const Timeouts& timeouts) override {
    timeouts_ = timeouts;
    return PortStatus::Ok;
  }

  PortStatus setBufferSizes(int, int) override { return PortStatus::Unsupported; }

  PortStatus purge() override {
    aheadNext_ = aheadEnd_ = 0;
    return tcflush(device_.fd(), TCIOFLUSH) == 0 ? PortStatus::Ok : PortStatus::Failed;
  }

  PortStatus raiseDtr() override { return setModemBit(TIOCM_DTR); }
  PortStatus raiseRts() override { return setModemBit(TIOCM_RTS); }

  // The writer asks before every byte. A device without modem lines (a
  // pseudo-terminal) never grows them, so it is asked only once.
  ModemStatus modemLines() override {
    ModemStatus status;
    if (!hasModemLines_) {
      status.status = PortStatus::Unsupported;
      status.lines = {true, true, true}; // a virtual cable
      return status;
    }
    int bits = 0;
    status.status = statusOfIoctl(ioctl(device_.fd(), TIOCMGET, &bits));
    if (status.status == PortStatus::Unsupported) {
      // A device without modem lines never grows them: a reception asks
      // after every byte, so the question is not put to the kernel again.
      hasModemLines_ = false;
      status.lines = {true, true, true};
    } else if (status.status == PortStatus::Ok) {
      status.lines = {(bits & TIOCM_DSR) != 0, (bits & TIOCM_CTS) != 0, (bits & TIOCM_CD) != 0};
    }
    return status;
  }

  QueueLength outputQueueLength() override { return queue(TIOCOUTQ); }
  // Bytes waiting: those read ahead and not yet handed out, and what the
  // kernel held at the last refill (it can only have grown since, by less
  // than one read-ahead block).
  QueueLength inputQueueLength() override {
    if (kernelWaiting_.status != PortStatus::Ok) return kernelWaiting_;
    return {PortStatus::Ok, kernelWaiting_.bytes + static_cast<int>(aheadEnd_ - aheadNext_)};
  }

  ReadResult readByte() override {
    std::optional<Clock::time_point> deadline;
    for (;;) {
      while (aheadNext_ < aheadEnd_) {
        const unsigned char byte = ahead_[aheadNext_++];
        if (byte != 0) return {ReadStatus::Byte, byte};
      }
      if (!deadline) deadline = deadlineAfter(timeouts_.readTotalMs);
      pollfd p{device_.fd(), POLLIN, 0};
      int ready = ::poll(&p, 1, remainingMs(deadline));
      if (ready < 0) {
        if (errno == EINTR) continue;
        return {ReadStatus::Failed, 0};
      }
      if (ready == 0) return {ReadStatus::TimedOut, 0};
      // What arrived before a hang-up is still handed out; the hang-up
      // itself (POLLHUP or POLLERR with nothing left to read) fails.
      if ((p.revents & POLLIN) == 0) return {ReadStatus::Failed, 0};
      // Whatever is waiting, up to one block: a fast line costs a system
      // call per block rather than per byte.
      ssize_t n = ::read(device_.fd(), ahead_, sizeof ahead_);
      if (n > 0) {
        aheadNext_ = 0;
        aheadEnd_ = static_cast<std::size_t>(n);
        kernelWaiting_ = queue(TIOCINQ);
        continue;
      }
      // Readable and yet nothing to read: the end of file of a terminal
      // that hung up. EIO and ENXIO are a device that has gone.
      if (n == 0) return {ReadStatus::Failed, 0};
      if (errno != EAGAIN && errno != EINTR) return {ReadStatus::Failed, 0};
      if (deadline && Clock::now() >= *deadline) return {ReadStatus::TimedOut, 0};
    }
  }

  WriteStatus writeByte(unsigned char byte) override {
    const auto deadline = deadlineAfter(timeouts_.writeTotalMs);
    for (;;) {
      ssize_t n = ::write(device_.fd(), &byte, 1);
      if (n == 1) return WriteStatus::Written;
      if (n < 0 && errno != EAGAIN && errno != EINTR) return WriteStatus::Failed;
      int wait = remainingMs(deadline);
      if (wait == 0) return WriteStatus::TimedOut;
      pollfd p{device_.fd(), POLLOUT, 0};
      if (::poll(&p, 1, wait) < 0 && errno != EINTR) return WriteStatus::Failed;
      if ((p.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) return WriteStatus::Failed;
    }
  }

private:
  PortStatus setModemBit(int bit) { return statusOfIoctl(ioctl(device_.fd(), TIOCMBIS, &bit)); }

  QueueLength queue(unsigned long request) {
    int bytes = 0;
    QueueLength q;
    q.status = statusOfIoctl(ioctl(device_.fd(), request, &bytes));
    if (q.status == PortStatus::Ok) q.bytes = bytes;
    return q;
  }

  SerialDevice device_;
  Timeouts timeouts_;
  bool hasModemLines_ = true;
  // Read ahead, at most a quarter of the 4096-byte input buffer a driver
  // would have, so that what waits here alone never calls for an XOFF.
  unsigned char ahead_[512];
  std::size_t aheadNext_ = 0;
  std::size_t aheadEnd_ = 0;
  QueueLength kernelWaiting_{PortStatus::Ok, 0};
};

} // namespace

SerialPortOpen openSerialPort(const std::string& device) {
  if (looksLikeNetworkPort(device)) {
    if (auto address = parseNetworkPort(device)) return openNetworkPort(*address);
    return {nullptr, EINVAL};
  }
  SerialOpen opened = openSerialExclusive(device);
  SerialPortOpen result;
  if (!opened.device) {
    result.error = opened.error;
    return result;
  }
  result.port = std::make_unique<PosixSerialPort>(std::move(*opened.device));
  return result;
}

} // namespace kestrovan::platform
