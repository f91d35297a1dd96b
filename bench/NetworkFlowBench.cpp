// Send throughput and the characters that reach the NC after its DC3: a
// local pseudo-terminal against the same line through ser2net (RFC 2217), at
// 9600 and 115200 baud, side by side. The writer does what the send's line
// does: a look for DC1/DC3 every ten characters, a capped output queue, and
// the network port's own pacing. kestrovan-ncsim reads at the line rate.
//
// A pseudo-terminal is no line: it takes about 20 KB at once and its output
// queue always reads 0, so the send's cap on the queue never holds it back
// and everything written before the NC's DC3 is already on its way. A real
// UART's driver reports the characters it has not sent yet. The "local pty"
// row shows the pseudo-terminal as it is; the "local UART" row lets the
// writer see the queue a UART at that speed would report (characters whose
// time on the line has not come yet), which is what the send meets on a
// serial port.
//
// Run by scripts/bench-network; prints one row per line and path.

#include "platform/SerialPort.h"
#include "support/NcSimProcess.h"
#include "support/Ser2net.h"
#include "support/TempDir.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace kestrovan;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kIdleMs = 1000;
constexpr long kDc3After = 3000;

struct Run {
  std::unique_ptr<test::NcSimProcess> nc;
  std::unique_ptr<test::Ser2net> server;
  std::unique_ptr<platform::SerialPort> port;
};

bool open(Run& run, const test::TempDir& dir, bool network, int baud, std::vector<std::string> ncArgs) {
  ncArgs.insert(ncArgs.end(), {"--baud", std::to_string(baud), "--idle-ms", std::to_string(kIdleMs)});
  run.nc = std::make_unique<test::NcSimProcess>(KESTROVAN_NCSIM, ncArgs);
  if (run.nc->path().empty()) return false;
  std::string device = run.nc->path();
  if (network) {
    run.server = std::make_unique<test::Ser2net>(dir.path(), device, test::Ser2net::Protocol::Rfc2217);
    if (!run.server->started()) return false;
    device = run.server->address();
  }
  platform::SerialPortOpen opened = platform::openSerialPort(device);
  if (!opened.port) return false;
  run.port = std::move(opened.port);
  for (int i = 0; i < 200; ++i) {
    platform::Settle s = run.port->settle(50);
    if (s.status == platform::SettleStatus::Failed) return false;
    if (s.status == platform::SettleStatus::Ready) break;
  }
  platform::LineConfig config;
  config.speed = baud;
  config.dataBits = 8;
  config.parity = platform::Parity::None;
  config.stopBits = platform::StopBits::One;
  if (run.port->configure(config) != platform::PortStatus::Ok) return false;
  run.port->setTimeouts({0, 50});
  run.port->purge();
  for (int i = 0; i < 40 && run.port->settle(50).status == platform::SettleStatus::Waiting; ++i) {
  }
  return true;
}

// The output queue of a UART at `baud`: what has been written and not yet
// carried by the line.
class UartQueue {
public:
  explicit UartQueue(int baud) : characterTime_(std::chrono::microseconds(10'000'000LL / baud)) {}
  int queued() {
    const auto now = Clock::now();
    if (lineFree_ < now) lineFree_ = now;
    return static_cast<int>((lineFree_ - now) / characterTime_);
  }
  void written() {
    queued();
    lineFree_ += characterTime_;
  }

private:
  Clock::duration characterTime_;
  Clock::time_point lineFree_{};
};

// Writes `count` characters as the send does; stops for good at a DC3 when
// `stopAtDc3`. Returns the number written. With `uart`, the output queue is
// the one a UART would report instead of the port's own.
long write(platform::SerialPort& port, long count, bool stopAtDc3, UartQueue* uart = nullptr) {
  bool ready = true;
  long written = 0;
  for (int sinceCheck = 0; written < count;) {
    if (sinceCheck >= 10) {
      sinceCheck = 0;
      for (;;) {
        platform::ReadResult r = port.readByte();
        if (r.status != platform::ReadStatus::Byte) break;
        if (r.byte == 0x13 || r.byte == 0x93) ready = false;
        if (r.byte == 0x11) ready = true;
      }
      if (!ready) {
        if (stopAtDc3) return written;
        continue;
      }
    }
    platform::QueueLength q = port.outputQueueLength();
    if (uart) q = {platform::PortStatus::Ok, uart->queued()};
    if (q.status == platform::PortStatus::Ok && q.bytes >= 259) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      continue;
    }
    const unsigned char c = static_cast<unsigned char>('A' + written % 26);
    platform::WriteStatus w = port.writeByte(c);
    if (w == platform::WriteStatus::Failed) return written;
    if (w == platform::WriteStatus::Written) {
      if (uart) uart->written();
      ++written;
      ++sinceCheck;
    }
  }
  return written;
}

enum class Path { Pty, Uart, Ser2net };

void row(Path p, int baud) {
  test::TempDir dir;
  const bool network = p == Path::Ser2net;
  const char* path = network ? "ser2net rfc2217" : p == Path::Uart ? "local UART" : "local pty";
  UartQueue uartA(baud), uartB(baud);
  // Throughput: about five seconds of data.
  const long count = baud / 10 * 5;
  Run a;
  if (!open(a, dir, network, baud, {"--receive", dir.file("a.bin")})) {
    std::printf("%-16s %7d  could not open\n", path, baud);
    return;
  }
  const auto start = Clock::now();
  write(*a.port, count, false, p == Path::Uart ? &uartA : nullptr);
  a.nc->waitFor("END", 120000);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count() - kIdleMs / 1000.0;
  const long received = test::eventNumber(a.nc->events(), "END idle");
  const double rate = received / seconds;
  const double lineRate = baud / 10.0;
  a.port.reset();

  // After DC3: the NC holds the send off after kDc3After characters and never lets go.
  Run b;
  if (!open(b, dir, network, baud,
            {"--receive", dir.file("b.bin"), "--dc3-after", std::to_string(kDc3After), "--dc1-after-ms",
             "600000"})) {
    std::printf("%-16s %7d  could not open\n", path, baud);
    return;
  }
  write(*b.port, kDc3After * 4, true, p == Path::Uart ? &uartB : nullptr);
  b.nc->waitFor("END", 120000);
  const long total = test::eventNumber(b.nc->events(), "END idle");
  std::printf("%-16s %7d  %8ld chars  %9.1f chars/s  %6.1f %% of line rate  %5ld chars after DC3\n", path,
              baud, received, rate, 100.0 * rate / lineRate, total - kDc3After);
}

} // namespace

int main() {
  if (test::ser2netProgram().empty()) {
    std::printf("ser2net is not installed (scripts/lib.sh installs it)\n");
    return 1;
  }
  std::printf("%-16s %7s  %s\n", "path", "baud", "throughput, and what reached the NC after its DC3");
  for (int baud : {9600, 115200})
    for (Path p : {Path::Pty, Path::Uart, Path::Ser2net})
      row(p, baud);
  return 0;
}
