#include "ncsim/TcpBridge.h"

#include "ncsim/PtyLine.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace kestrovan::ncsim {
namespace {

constexpr int kLookMs = 100;

// Writes all of `n` bytes to `fd` (non-blocking), waiting for room; false
// when the far end is gone or the bridge stops.
bool writeAll(int fd, const char* data, ssize_t n, const std::atomic<bool>& stopping) {
  while (n > 0) {
    const ssize_t w = ::write(fd, data, static_cast<size_t>(n));
    if (w > 0) {
      data += w;
      n -= w;
      continue;
    }
    if (w < 0 && errno != EAGAIN && errno != EINTR) return false;
    if (stopping || gStop) return false;
    pollfd p{fd, POLLOUT, 0};
    ::poll(&p, 1, kLookMs);
  }
  return true;
}

} // namespace

TcpBridge::~TcpBridge() {
  stopping_ = true;
  if (thread_.joinable()) thread_.join();
  if (listener_ >= 0) ::close(listener_);
}

std::string TcpBridge::start(const std::string& hostPort, const std::string& slave, std::string& error) {
  std::string host = "127.0.0.1", port = hostPort;
  if (const auto colon = hostPort.rfind(':'); colon != std::string::npos) {
    host = hostPort.substr(0, colon);
    port = hostPort.substr(colon + 1);
  }
  sockaddr_in address{};
  address.sin_family = AF_INET;
  char* end = nullptr;
  const long number = std::strtol(port.c_str(), &end, 10);
  if (port.empty() || *end != '\0' || number < 0 || number > 65535 ||
      ::inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1) {
    error = "--listen takes PORT or ADDRESS:PORT (an IPv4 address), not " + hostPort;
    return {};
  }
  address.sin_port = htons(static_cast<uint16_t>(number));
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  const int yes = 1;
  if (listener_ < 0 || ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes) != 0 ||
      ::bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener_, 1) != 0) {
    error = "cannot listen on " + host + ":" + port + ": " + std::strerror(errno);
    return {};
  }
  socklen_t length = sizeof address;
  ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
  slave_ = slave;
  thread_ = std::thread([this] { run(); });
  return "tcp://" + host + ":" + std::to_string(ntohs(address.sin_port));
}

void TcpBridge::run() {
  while (!stopping_ && !gStop) {
    pollfd p{listener_, POLLIN, 0};
    if (::poll(&p, 1, kLookMs) <= 0) continue;
    const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (client < 0) continue;
    const int yes = 1;
    ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    carry(client);
    ::close(client);
  }
}

// One connection: the pseudo-terminal's end is open while it lasts.
void TcpBridge::carry(int client) {
  const int line = ::open(slave_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (line < 0) return;
  termios t{};
  if (::tcgetattr(line, &t) == 0) {
    ::cfmakeraw(&t);
    ::tcsetattr(line, TCSANOW, &t);
  }
  char buffer[4096];
  bool open = true;
  while (open && !stopping_ && !gStop) {
    pollfd p[2] = {{client, POLLIN, 0}, {line, POLLIN, 0}};
    if (::poll(p, 2, kLookMs) <= 0) continue;
    if (p[0].revents) {
      const ssize_t n = ::read(client, buffer, sizeof buffer);
      open = n > 0 ? writeAll(line, buffer, n, stopping_) : (n < 0 && (errno == EAGAIN || errno == EINTR));
    }
    if (open && p[1].revents) {
      // The NC closed its end (--hangup-after): a pulled cable to the client.
      const ssize_t n = ::read(line, buffer, sizeof buffer);
      open = n > 0 ? writeAll(client, buffer, n, stopping_) : (n < 0 && (errno == EAGAIN || errno == EINTR));
    }
  }
  ::close(line);
}

} // namespace kestrovan::ncsim
