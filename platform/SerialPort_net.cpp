// The serial line over the network: a device server's UART reached by telnet
// with COM-PORT-OPTION (RFC 2217), or a raw TCP connection to it.
//
// - Opening starts the connection and returns at once; settle() makes it, a
//   slice at a time, so that the line above keeps the window alive and gives
//   up after its own limit. The host name is looked up on a thread of its own,
//   since a lookup can take as long as a resolver likes.
// - The line settings, DTR/RTS and the purge go to the far UART as
//   COM-PORT-OPTION requests. Servers differ in how they acknowledge: some
//   never do, some pad the value. An acknowledgement is any reply to the same
//   command, and settle() waits for them for kAckWaitMs at most, then goes on.
// - No flow control on the far UART: the program does its own DC1/DC3, as on
//   a local port (SerialPort_posix.cpp), and a far UART doing XON/XOFF would
//   swallow EIA's digit "3".
// - Writes are paced at the configured line rate, at most kPaceAheadChars
//   characters or kPaceAheadTime ahead of what the line can carry (whichever
//   is longer), so that the bytes between us and the NC (socket buffers, the
//   device server's buffer, the network) stay few and the NC's DC3 stops the
//   data within a bounded number of characters. The time keeps a fast line
//   fed across the pauses of the layer above (a look for DC3, a slice of the
//   window's loop): eight characters at 115200 baud are 0.7 ms.
// - A seven-bit line delivers seven bits (ISTRIP on a local port).
// - A connection that drops (the server closed, reset, or the cable pulled)
//   fails the read or the write: keepalive probes and TCP_USER_TIMEOUT make
//   a silent peer count as gone within about two seconds.
// - Raw TCP has no modem lines: they read as a virtual cable, and
//   modemLinesKnown() says that the lamps cannot know.

#include "platform/NetworkPort.h"
#include "platform/SerialPort.h"
#include "platform/Telnet.h"
#include "platform/UniqueFd.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <optional>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <thread>
#include <vector>

namespace kestrovan::platform {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::microseconds;
using std::chrono::milliseconds;

constexpr int kAckWaitMs = 1000;
constexpr int kPaceAheadChars = 8;
constexpr microseconds kPaceAheadTime{8000};
// Output waiting for the socket beyond this is a server that has stopped reading.
constexpr std::size_t kOutputBacklogLimit = 4096;
constexpr int kUserTimeoutMs = 1500;
// Closing waits for the written characters to have left the far UART, then
// for the server to end its side, at most this long in all.
constexpr int kCloseDrainLimitMs = 2000;
constexpr int kCloseMarginMs = 20;

int msUntil(std::optional<Clock::time_point> deadline) {
  if (!deadline) return kWaitForever;
  auto left = std::chrono::duration_cast<milliseconds>(*deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

std::optional<Clock::time_point> deadlineAfter(int ms) {
  if (ms < 0) return std::nullopt;
  return Clock::now() + milliseconds(ms);
}

struct Endpoint {
  sockaddr_storage address{};
  socklen_t length = 0;
  int family = 0;
};

// The name lookup, shared with its thread: the port may be closed before the
// resolver answers, and the thread then finishes on its own.
struct Lookup {
  std::mutex mutex;
  bool done = false;
  int error = 0;
  std::vector<Endpoint> endpoints;
};

void resolve(const std::shared_ptr<Lookup>& lookup, std::string host, int port) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_ADDRCONFIG | AI_NUMERICSERV;
  addrinfo* found = nullptr;
  const int rc = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
  std::vector<Endpoint> endpoints;
  for (addrinfo* a = rc == 0 ? found : nullptr; a; a = a->ai_next) {
    Endpoint e;
    std::memcpy(&e.address, a->ai_addr, a->ai_addrlen);
    e.length = a->ai_addrlen;
    e.family = a->ai_family;
    endpoints.push_back(e);
  }
  if (found) ::freeaddrinfo(found);
  std::lock_guard lock(lookup->mutex);
  lookup->endpoints = std::move(endpoints);
  lookup->error = lookup->endpoints.empty() ? ENOENT : 0;
  lookup->done = true;
}

void setSocketOptions(int fd) {
  int on = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  ::setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
  int idle = 1, interval = 1, count = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
  ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval);
  ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &count, sizeof count);
  unsigned timeout = kUserTimeoutMs;
  ::setsockopt(fd, IPPROTO_TCP, TCP_USER_TIMEOUT, &timeout, sizeof timeout);
}

class NetworkSerialPort final : public SerialPort {
public:
  explicit NetworkSerialPort(NetworkAddress address)
      : address_(std::move(address)), rfc2217_(address_.protocol == NetworkProtocol::Rfc2217),
        lookup_(std::make_shared<Lookup>()) {
    std::thread(resolve, lookup_, address_.host, address_.port).detach();
  }

  Settle settle(int waitMs) override {
    const auto deadline = Clock::now() + milliseconds(std::max(waitMs, 0));
    for (;;) {
      switch (phase_) {
      case Phase::Resolving: {
        std::lock_guard lock(lookup_->mutex);
        if (lookup_->done) {
          if (lookup_->error != 0) return fail(lookup_->error);
          endpoints_ = lookup_->endpoints;
          phase_ = Phase::Connecting;
          startNextConnect();
          continue;
        }
        break;
      }
      case Phase::Connecting: {
        pollfd p{fd_.get(), POLLOUT, 0};
        if (::poll(&p, 1, msUntil(deadline)) > 0) {
          int error = 0;
          socklen_t length = sizeof error;
          ::getsockopt(fd_.get(), SOL_SOCKET, SO_ERROR, &error, &length);
          if (error != 0) {
            lastError_ = error;
            startNextConnect();
          } else {
            connected();
          }
          continue;
        }
        break;
      }
      case Phase::Open:
        if (!waitingForServer()) return {};
        pump(std::min(msUntil(deadline), msUntil(ackDeadline_)));
        if (lost_) return fail(ECONNRESET);
        continue;
      case Phase::Failed: return {SettleStatus::Failed, lastError_};
      }
      if (Clock::now() >= deadline) return {SettleStatus::Waiting, 0};
      if (phase_ == Phase::Resolving) std::this_thread::sleep_for(milliseconds(2));
    }
  }

  // Like a local port whose close waits for its output to drain: what was
  // written is still on its way (up to the paced characters ahead of the
  // line, and whatever waits at the socket). Wait until the line could have
  // carried it all, then end our side and read the server's to its end: a
  // close with unread input resets the connection, and a server may drop
  // what it had not yet passed to its UART. Bounded; a lost connection ends
  // at once.
  ~NetworkSerialPort() override {
    if (phase_ != Phase::Open || lost_ || !fd_) return;
    const auto limit = Clock::now() + milliseconds(kCloseDrainLimitMs);
    while (!out_.empty() && Clock::now() < limit) {
      if (!flush()) return;
      pollfd p{fd_.get(), POLLOUT, 0};
      ::poll(&p, 1, msUntil(limit));
    }
    std::this_thread::sleep_until(std::min(lineFree_ + milliseconds(kCloseMarginMs), limit));
    ::shutdown(fd_.get(), SHUT_WR);
    for (;;) {
      pollfd p{fd_.get(), POLLIN, 0};
      if (::poll(&p, 1, msUntil(limit)) <= 0) return;
      std::array<char, 1024> buffer;
      const ssize_t n = ::recv(fd_.get(), buffer.data(), buffer.size(), MSG_DONTWAIT);
      if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN)) return;
    }
  }

  bool modemLinesKnown() const override { return rfc2217_ && !telnet_.comPortRefused(); }

  PortStatus configure(const LineConfig& config) override {
    if (phase_ != Phase::Open) return PortStatus::Failed;
    if (config.dataBits < 5 || config.dataBits > 8 || config.speed <= 0) return PortStatus::Failed;
    seven_ = config.dataBits < 8;
    const double stop = config.stopBits == StopBits::One ? 1.0 : config.stopBits == StopBits::Two ? 2.0 : 1.5;
    const double bits = 1.0 + config.dataBits + (config.parity == Parity::None ? 0 : 1) + stop;
    characterTime_ = microseconds(static_cast<long long>(bits * 1'000'000.0 / config.speed + 0.5));
    if (!comPortUsable()) return PortStatus::Ok; // the device server's own settings
    using namespace telnet;
    request(kSetBaudRate, speedValue(config.speed));
    request(kSetDataSize, std::string(1, static_cast<char>(config.dataBits)));
    const unsigned char parity = config.parity == Parity::None  ? kParityNone
                                 : config.parity == Parity::Odd ? kParityOdd
                                                                : kParityEven;
    request(kSetParity, std::string(1, static_cast<char>(parity)));
    const unsigned char stopSize = config.stopBits == StopBits::One   ? kStopOne
                                   : config.stopBits == StopBits::Two ? kStopTwo
                                                                      : kStopOneAndHalf;
    request(kSetStopSize, std::string(1, static_cast<char>(stopSize)));
    request(kSetControl, std::string(1, static_cast<char>(kControlNoFlow)));
    return flush() ? PortStatus::Ok : PortStatus::Failed;
  }

  PortStatus setTimeouts(const Timeouts& timeouts) override {
    timeouts_ = timeouts;
    return PortStatus::Ok;
  }

  PortStatus setBufferSizes(int, int) override { return PortStatus::Unsupported; }

  PortStatus purge() override {
    if (phase_ != Phase::Open || lost_) return PortStatus::Failed;
    pump(0);
    in_.clear();
    inNext_ = 0;
    if (comPortUsable()) {
      request(telnet::kPurgeData, std::string(1, static_cast<char>(telnet::kPurgeBoth)));
      if (!flush()) return PortStatus::Failed;
    }
    return PortStatus::Ok;
  }

  PortStatus raiseDtr() override { return control(telnet::kControlDtrOn); }
  PortStatus raiseRts() override { return control(telnet::kControlRtsOn); }

  ModemStatus modemLines() override {
    ModemStatus status;
    if (!modemKnown_) {
      status.status = PortStatus::Unsupported;
      status.lines = {true, true, true};
      return status;
    }
    status.status = PortStatus::Ok;
    status.lines = {(modem_ & telnet::kModemDsr) != 0, (modem_ & telnet::kModemCts) != 0,
                    (modem_ & telnet::kModemCarrier) != 0};
    return status;
  }

  QueueLength outputQueueLength() override { return {PortStatus::Unsupported, 0}; }

  QueueLength inputQueueLength() override {
    int waiting = 0;
    if (fd_ && ::ioctl(fd_.get(), FIONREAD, &waiting) != 0) waiting = 0;
    return {PortStatus::Ok, waiting + static_cast<int>(in_.size() - inNext_)};
  }

  ReadResult readByte() override {
    const auto deadline = deadlineAfter(timeouts_.readTotalMs);
    for (;;) {
      while (inNext_ < in_.size()) {
        auto byte = static_cast<unsigned char>(in_[inNext_++]);
        if (seven_) byte &= 0x7F;
        if (byte != 0) return {ReadStatus::Byte, byte};
      }
      in_.clear();
      inNext_ = 0;
      if (phase_ != Phase::Open || lost_) return {ReadStatus::Failed, 0};
      const bool arrived = pump(msUntil(deadline));
      if (in_.empty() && lost_) return {ReadStatus::Failed, 0};
      if (!arrived && msUntil(deadline) == 0) return {ReadStatus::TimedOut, 0};
    }
  }

  WriteStatus writeByte(unsigned char byte) override {
    if (phase_ != Phase::Open || lost_) return WriteStatus::Failed;
    const auto deadline = deadlineAfter(timeouts_.writeTotalMs);
    // Room at the socket: a server that stopped reading holds us here.
    while (out_.size() > kOutputBacklogLimit) {
      if (!flush()) return WriteStatus::Failed;
      if (out_.size() <= kOutputBacklogLimit) break;
      const int wait = msUntil(deadline);
      if (wait == 0) return WriteStatus::TimedOut;
      pollfd p{fd_.get(), POLLOUT, 0};
      ::poll(&p, 1, wait);
    }
    // The line's pace.
    const auto now = Clock::now();
    if (lineFree_ < now) lineFree_ = now;
    const auto startAt = lineFree_ - std::max(characterTime_ * kPaceAheadChars, kPaceAheadTime);
    if (startAt > now) {
      if (deadline && startAt > *deadline) {
        std::this_thread::sleep_until(*deadline);
        return WriteStatus::TimedOut;
      }
      std::this_thread::sleep_until(startAt);
    }
    const char c = static_cast<char>(byte);
    if (rfc2217_)
      telnet::appendEscaped(out_, std::string_view(&c, 1));
    else
      out_ += c;
    lineFree_ += characterTime_;
    return flush() ? WriteStatus::Written : WriteStatus::Failed;
  }

private:
  enum class Phase { Resolving, Connecting, Open, Failed };

  Settle fail(int error) {
    phase_ = Phase::Failed;
    lastError_ = error;
    fd_.reset();
    return {SettleStatus::Failed, error};
  }

  void startNextConnect() {
    while (nextEndpoint_ < endpoints_.size()) {
      const Endpoint& e = endpoints_[nextEndpoint_++];
      UniqueFd fd(::socket(e.family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
      if (!fd) {
        lastError_ = errno;
        continue;
      }
      if (::connect(fd.get(), reinterpret_cast<const sockaddr*>(&e.address), e.length) == 0 ||
          errno == EINPROGRESS) {
        fd_ = std::move(fd);
        return;
      }
      lastError_ = errno;
    }
    fail(lastError_ != 0 ? lastError_ : ECONNREFUSED);
  }

  void connected() {
    setSocketOptions(fd_.get());
    phase_ = Phase::Open;
    if (rfc2217_) {
      out_ += telnet_.opening();
      // Only the lines the lamps and the rules read: carrier, DSR, CTS. Not
      // waited for: servers (ser2net among them) leave the mask unacknowledged.
      out_ += telnet::comPortRequest(
          telnet::kSetModemStateMask,
          std::string(1, static_cast<char>(telnet::kModemCarrier | telnet::kModemDsr | telnet::kModemCts)));
      ackDeadline_ = Clock::now() + milliseconds(kAckWaitMs);
      flush();
    }
  }

  bool comPortUsable() const { return rfc2217_ && !telnet_.comPortRefused(); }

  bool waitingForServer() const {
    if (!rfc2217_ || Clock::now() >= ackDeadline_) return false;
    if (!telnet_.comPortAccepted() && !telnet_.comPortRefused()) return true;
    for (int pending : pending_)
      if (pending > 0) return true;
    return false;
  }

  void request(unsigned char command, const std::string& value) {
    out_ += telnet::comPortRequest(command, value);
    ++pending_[command];
    ackDeadline_ = Clock::now() + milliseconds(kAckWaitMs);
  }

  PortStatus control(unsigned char value) {
    if (!comPortUsable()) return PortStatus::Unsupported;
    if (phase_ != Phase::Open || lost_) return PortStatus::Failed;
    request(telnet::kSetControl, std::string(1, static_cast<char>(value)));
    return flush() ? PortStatus::Ok : PortStatus::Failed;
  }

  // Sends what it can of the output without waiting; false when the
  // connection is gone.
  bool flush() {
    while (!out_.empty()) {
      const ssize_t n = ::send(fd_.get(), out_.data(), out_.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
      if (n > 0) {
        out_.erase(0, static_cast<std::size_t>(n));
        continue;
      }
      if (n < 0 && (errno == EAGAIN || errno == EINTR)) return true;
      lost_ = true;
      return false;
    }
    return true;
  }

  // Waits at most `waitMs` for input and takes all there is; true when data
  // bytes arrived.
  bool pump(int waitMs) {
    if (!fd_ || lost_) return false;
    flush();
    pollfd p{fd_.get(), POLLIN, 0};
    const int ready = ::poll(&p, 1, waitMs);
    if (ready <= 0) return false;
    const std::size_t before = in_.size();
    for (;;) {
      std::array<char, 1024> buffer;
      const ssize_t n = ::recv(fd_.get(), buffer.data(), buffer.size(), MSG_DONTWAIT);
      if (n > 0) {
        std::string answers;
        if (rfc2217_) {
          telnet_.feed(std::string_view(buffer.data(), static_cast<std::size_t>(n)), in_, answers);
          for (const telnet::ComPortMessage& m : telnet_.takeMessages())
            onMessage(m);
          out_ += answers;
        } else {
          in_.append(buffer.data(), static_cast<std::size_t>(n));
        }
        if (static_cast<std::size_t>(n) < buffer.size()) break;
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && errno == EAGAIN) break;
      lost_ = true; // end of stream, or the connection reset
      break;
    }
    flush();
    return in_.size() > before;
  }

  void onMessage(const telnet::ComPortMessage& m) {
    if (m.command < pending_.size() && pending_[m.command] > 0) --pending_[m.command];
    if (m.command == telnet::kNotifyModemState && !m.value.empty()) {
      modem_ = static_cast<unsigned char>(m.value[0]);
      modemKnown_ = true;
    }
  }

  NetworkAddress address_;
  bool rfc2217_;
  std::shared_ptr<Lookup> lookup_;
  std::vector<Endpoint> endpoints_;
  std::size_t nextEndpoint_ = 0;
  Phase phase_ = Phase::Resolving;
  int lastError_ = 0;
  UniqueFd fd_;
  bool lost_ = false;
  telnet::Client telnet_;
  std::array<int, 16> pending_{};
  Clock::time_point ackDeadline_{};
  std::string in_; // data read ahead, handed out from inNext_
  std::size_t inNext_ = 0;
  std::string out_; // bytes for the socket, telnet included
  Timeouts timeouts_;
  bool seven_ = false;
  microseconds characterTime_{0};
  Clock::time_point lineFree_{};
  bool modemKnown_ = false;
  unsigned char modem_ = 0;
};

} // namespace

SerialPortOpen openNetworkPort(const NetworkAddress& address) {
  SerialPortOpen opened;
  opened.port = std::make_unique<NetworkSerialPort>(address);
  return opened;
}

} // namespace kestrovan::platform
