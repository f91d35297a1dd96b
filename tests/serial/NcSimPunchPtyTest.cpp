// The virtual NC punching on its pseudo-terminal while a PC opens and closes
// the line around it, as the program does: its start-up check opens each
// port and closes it at once, and the reception opens it again later.

#include "support/NcSimProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

using namespace kestrovan;

namespace {

int openRaw(const std::string& device) {
  const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY);
  if (fd < 0) return fd;
  termios t{};
  ::tcgetattr(fd, &t);
  ::cfmakeraw(&t);
  ::tcsetattr(fd, TCSANOW, &t);
  return fd;
}

// Everything the NC punches up to its DC4 (or a quiet second).
std::string readUntilDc4(int fd) {
  std::string got;
  for (;;) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 1000) <= 0) break;
    char buf[256];
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n <= 0) break;
    got.append(buf, static_cast<std::size_t>(n));
    if (got.find('\x14') != std::string::npos) break;
  }
  return got;
}

} // namespace

TEST(NcSimPunch, WaitsForTheLineThatStaysOpenNotTheOneClosedAtOnce) {
  test::TempDir dir;
  const std::string program = dir.file("P.NC");
  test::writeFile(program, "O1000\nG00X0\nM30\n");
  test::NcSimProcess nc(KESTROVAN_NCSIM,
                        {"--punch", program, "--wait-open", "--leader", "0", "--idle-ms", "3000"});
  ASSERT_FALSE(nc.path().empty());

  // The program's start-up check: open, close.
  const int probe = openRaw(nc.path());
  ASSERT_GE(probe, 0);
  ASSERT_TRUE(nc.waitFor("OPEN"));
  ::close(probe);
  // The operator takes a while before F2; the NC's own start delay has long
  // passed by then.
  std::this_thread::sleep_for(std::chrono::milliseconds(600));

  const int line = openRaw(nc.path());
  ASSERT_GE(line, 0) << "the NC gave up its line while nobody had it open";
  const std::string got = readUntilDc4(line);
  // ISO with even parity: %, O1000, G00X0, M30, % and DC4.
  EXPECT_EQ(got, "\xA5\x0A"
                 "\xCF\xB1\x30\x30\x30\x0A"
                 "\x47\x30\x30\xD8\x30\x0A"
                 "\x4D\x33\x30\x0A"
                 "\xA5\x0A\x14");
  ::close(line);
}
