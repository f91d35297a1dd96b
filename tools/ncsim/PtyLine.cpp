#include "ncsim/PtyLine.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <iostream>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

namespace kestrovan::ncsim {

volatile std::sig_atomic_t gStop = 0;
volatile std::sig_atomic_t gTrigger = 0;

namespace {
void onStop(int) { gStop = 1; }
void onTrigger(int) { gTrigger = 1; }
} // namespace

void installSignals() {
  struct sigaction sa {};
  sa.sa_handler = onStop;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGINT, &sa, nullptr);
  sa.sa_handler = onTrigger;
  sigaction(SIGUSR1, &sa, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
}

namespace {
using SteadyClock = std::chrono::steady_clock;
const SteadyClock::time_point gStart = SteadyClock::now();
} // namespace

long nowMs() {
  return static_cast<long>(
      std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - gStart).count());
}
long long nowUs() {
  return std::chrono::duration_cast<std::chrono::microseconds>(SteadyClock::now() - gStart).count();
}

void say(const std::string& line) {
  std::cout << line << std::endl; // flushed: tests and scripts read it as it comes
}

bool makePty(Pty& pty) {
  pty.master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (pty.master < 0 || grantpt(pty.master) != 0 || unlockpt(pty.master) != 0) return false;
  const char* name = ptsname(pty.master);
  if (!name) return false;
  pty.slave = name;
  // Settings made through the master apply to the slave: raw, so nothing is
  // echoed or translated before the PC configures the line itself.
  termios t{};
  if (tcgetattr(pty.master, &t) == 0) {
    cfmakeraw(&t);
    tcsetattr(pty.master, TCSANOW, &t);
  }
  int s = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (s < 0) return false;
  ::close(s);
  return true;
}

// The line settings the PC's end has now, as "9600 8N1": read through the
// master, which shares the terminal's settings with its slave.
std::string lineSettings(int master) {
  termios t{};
  if (tcgetattr(master, &t) != 0) return {};
  static const std::pair<speed_t, int> speeds[] = {{B1200, 1200},   {B2400, 2400},    {B4800, 4800},
                                                   {B9600, 9600},   {B19200, 19200},  {B38400, 38400},
                                                   {B57600, 57600}, {B115200, 115200}};
  int speed = 0;
  for (const auto& [constant, value] : speeds)
    if (cfgetospeed(&t) == constant) speed = value;
  const tcflag_t size = t.c_cflag & CSIZE;
  const char bits = size == CS5 ? '5' : size == CS6 ? '6' : size == CS7 ? '7' : '8';
  const char parity = (t.c_cflag & PARENB) == 0 ? 'N' : (t.c_cflag & PARODD) != 0 ? 'O' : 'E';
  return std::to_string(speed) + " " + bits + parity + ((t.c_cflag & CSTOPB) != 0 ? '2' : '1');
}

namespace {

// Says "LINE <settings>" whenever the PC's end changes its line settings
// while it has the line open (a device server sets them from the network).
void reportLineSettings(int master) {
  static std::string last;
  const std::string now = lineSettings(master);
  if (!now.empty() && now != last) {
    last = now;
    say("LINE " + now);
  }
}

} // namespace

LineState look(int master, int timeoutMs) {
  pollfd p{master, POLLIN, 0};
  int r = ::poll(&p, 1, timeoutMs);
  LineState s;
  if (r <= 0) {
    s.open = true; // nothing reported: no hang-up
    reportLineSettings(master);
    return s;
  }
  s.open = (p.revents & POLLHUP) == 0;
  if (s.open) reportLineSettings(master);
  s.readable = (p.revents & POLLIN) != 0;
  // A closed slave end keeps reporting a hang-up; do not spin on it.
  if (!s.open && !s.readable) ::usleep(static_cast<useconds_t>(timeoutMs > 0 ? timeoutMs * 1000 : 1000));
  return s;
}

void sendBytes(int master, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size() && !gStop) {
    ssize_t n = ::write(master, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
      return;
    } else {
      ::usleep(1000);
    }
  }
}

// Bytes the PC has written that this end has not read yet: already on their
// way when a DC3 leaves, whatever the PC does then. A pseudo-terminal reports
// at most its line buffer (4095 bytes); more may wait in the kernel beyond.
long unreadBytes(int master) {
  int n = 0;
  return ::ioctl(master, FIONREAD, &n) == 0 ? n : 0;
}

// Microseconds one character takes on a line of `baud` (start, 8 bits, stop).
long long characterUs(int baud) { return baud > 0 ? 10'000'000LL / baud : 0; }

} // namespace kestrovan::ncsim
