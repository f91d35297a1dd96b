// The network backend against servers the real device servers are not:
// one that never answers a telnet word, and streams split mid-escape. A
// scripted server on a loopback socket plays them.

#include "platform/NetworkPort.h"
#include "platform/SerialPort.h"
#include "platform/Telnet.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace kestrovan::platform;

namespace {

// A listener on a loopback port; accept() gives the connection the port made.
struct Listener {
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  int port = 0;
  Listener() {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t length = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length);
    port = ntohs(a.sin_port);
    ::listen(fd, 4);
  }
  ~Listener() { ::close(fd); }
  int accept() { return ::accept4(fd, nullptr, nullptr, SOCK_CLOEXEC); }
};

// Everything the port sent so far (waits a little for it to arrive).
std::string drain(int fd) {
  std::string got;
  char buffer[4096];
  for (;;) {
    timeval tv{0, 200000};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) return got;
    got.append(buffer, static_cast<std::size_t>(n));
  }
}

// Asks settle() until the port is ready or failed; a port that never
// settles fails the test after many slices instead of hanging it.
SettleStatus settled(SerialPort& port) {
  for (int i = 0; i < 400; ++i) {
    const Settle s = port.settle(50);
    if (s.status != SettleStatus::Waiting) return s.status;
  }
  return SettleStatus::Waiting;
}

std::unique_ptr<SerialPort> openAt(const std::string& scheme, int port) {
  SerialPortOpen opened = openSerialPort(scheme + "://127.0.0.1:" + std::to_string(port));
  EXPECT_TRUE(opened.port);
  return std::move(opened.port);
}

} // namespace

// A server that speaks no telnet at all: the opening, the settings and the
// purge go out as asked, nothing is acknowledged, and the port is ready all
// the same once its wait has passed. 0xFF goes out doubled and comes back
// undoubled even when the server's writes split the pair.
TEST(NetworkSerialPort, AServerThatNeverAcknowledgesAndSplitsEscapes) {
  Listener server;
  auto port = openAt("rfc2217", server.port);
  ASSERT_EQ(settled(*port), SettleStatus::Ready); // connected, and no answer came
  const int peer = server.accept();
  ASSERT_GE(peer, 0);

  LineConfig config;
  config.speed = 9600;
  config.dataBits = 8;
  config.parity = Parity::Even;
  config.stopBits = StopBits::Two;
  ASSERT_EQ(port->configure(config), PortStatus::Ok);
  ASSERT_EQ(port->purge(), PortStatus::Ok);
  ASSERT_EQ(settled(*port), SettleStatus::Ready);
  port->setTimeouts({200, 1000});
  ASSERT_EQ(port->writeByte(0xFF), WriteStatus::Written);
  ASSERT_EQ(port->writeByte('%'), WriteStatus::Written);

  using namespace telnet;
  const std::string expected = Client().opening() + comPortRequest(kSetModemStateMask, "\xB0") +
                               comPortRequest(kSetBaudRate, speedValue(9600)) +
                               comPortRequest(kSetDataSize, "\x08") + comPortRequest(kSetParity, "\x03") +
                               comPortRequest(kSetStopSize, "\x02") + comPortRequest(kSetControl, "\x01") +
                               comPortRequest(kPurgeData, "\x03") + "\xFF\xFF%";
  EXPECT_EQ(drain(peer), expected);

  ASSERT_EQ(::send(peer, "A\xFF", 2, 0), 2);
  EXPECT_EQ(port->readByte().byte, 'A');
  ASSERT_EQ(::send(peer,
                   "\xFF"
                   "B",
                   2, 0),
            2);
  EXPECT_EQ(port->readByte().byte, 0xFF);
  EXPECT_EQ(port->readByte().byte, 'B');

  // The server goes: the next read fails, and so does every later write.
  ::close(peer);
  EXPECT_EQ(port->readByte().status, ReadStatus::Failed);
  EXPECT_EQ(port->writeByte('X'), WriteStatus::Failed);
}

// Raw TCP: no telnet, no doubling, settings stay the server's own, and the
// lamps cannot know the modem lines.
TEST(NetworkSerialPort, RawTcpCarriesBytesAsTheyAre) {
  Listener server;
  auto port = openAt("tcp", server.port);
  ASSERT_EQ(settled(*port), SettleStatus::Ready);
  const int peer = server.accept();
  LineConfig config;
  config.speed = 19200;
  ASSERT_EQ(port->configure(config), PortStatus::Ok);
  EXPECT_EQ(port->raiseDtr(), PortStatus::Unsupported);
  EXPECT_FALSE(port->modemLinesKnown());
  port->setTimeouts({200, 1000});
  for (unsigned char b : {0xFF, 0x13, 0x00, 0x25})
    ASSERT_EQ(port->writeByte(b), WriteStatus::Written);
  EXPECT_EQ(drain(peer), std::string("\xFF\x13\x00\x25", 4));
  ASSERT_EQ(::send(peer, "\xFF\xFF", 2, 0), 2);
  EXPECT_EQ(port->readByte().byte, 0xFF);
  EXPECT_EQ(port->readByte().byte, 0xFF);
  ::close(peer);
}

// An address that names no host: the opening fails with ENOENT, and the
// message can name the host.
TEST(NetworkSerialPort, AHostThatDoesNotResolveFails) {
  SerialPortOpen opened = openSerialPort("rfc2217://no-such-host.invalid:4001");
  ASSERT_TRUE(opened.port);
  Settle s;
  for (int i = 0; i < 400 && s.status != SettleStatus::Failed; ++i)
    s = opened.port->settle(50);
  EXPECT_EQ(s.status, SettleStatus::Failed);
  EXPECT_EQ(s.error, ENOENT);
  EXPECT_EQ(openSerialPort("tcp://host-without-port").error, EINVAL);
}
