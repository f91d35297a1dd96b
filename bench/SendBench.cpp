// How fast a send goes out, and how many bytes still reach the NC after it
// asks for a pause.
//
// BM_SendOverPty: a whole send over a pseudo-terminal to the virtual NC
// reading as fast as it can. The goal is at least 100 times the 19,200-baud
// line rate (1,920 bytes a second), so that the program never slows a
// transfer. Counter "x19200" is that ratio.
//
// BM_BytesAfterDc3Uart9600: the same job against a port that behaves like a
// UART at 9,600 baud (its output queue drains at 960 bytes a second and is
// visible to the writer, as TIOCOUTQ shows it on a real port); the NC sends
// DC3 after 500 bytes and DC1 300 ms later. Counter "afterDc3" is the bytes
// that reach the NC after its DC3; "overrun" the bytes the program wrote after
// the DC3 was there to read.
//
// BM_BytesAfterDc3Pty9600: the virtual NC on a pseudo-terminal reading at
// 9,600 baud. A pseudo-terminal shows no output queue and buffers about 20 KB
// in the kernel, so what reaches the NC after its DC3 is mostly that buffer;
// "overrun" is again the program's own part.

#include "base/SettingsRecord.h"
#include "platform/IniFile.h"
#include "serial/Clock.h"
#include "serial/Line.h"
#include "serial/NcCode.h"
#include "serial/PortProbe.h"
#include "serial/SendJob.h"
#include "serial/TransferLog.h"
#include "support/FakeDialogs.h"
#include "support/FakeSendWindow.h"
#include "support/FakeTransferScreen.h"
#include "support/NcSimProcess.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

using namespace kestrovan;

namespace {

class FixedClock : public serial::Clock {
public:
  platform::CivilTime now() override { return {2024, 1, 1, 0, 0, 0}; }
};

std::string programText(std::size_t bytes) {
  std::string text = "%\r\nO1000\r\n";
  for (int i = 1; text.size() < bytes; ++i)
    text += "N" + std::to_string(i) + "G01X" + std::to_string(i % 500) + ".25Y-12.5F300\r\n";
  return text + "M30\r\n%\r\n";
}

struct Folder {
  std::string path;
  Folder() {
    char tmpl[] = "/tmp/kestrovan-bench-XXXXXX";
    path = mkdtemp(tmpl);
  }
  ~Folder() { std::filesystem::remove_all(path); }
  std::string file(const std::string& name) const { return path + "/" + name; }
  void write(const std::string& name, const std::string& bytes) const {
    std::ofstream(file(name), std::ios::binary) << bytes;
  }
};

// A send job as the F1 handler runs it, with the screen faked: the operator
// has confirmed that the NC is ready (Signal "N"), so the NC's start signal
// does not count in the time.
struct Sender {
  base::SettingsRecord settings = base::defaultSettings("/tmp");
  test::FakeTransferScreen screen;
  test::FakeSendWindow window;
  test::FakeDialogs dialogs;
  FixedClock clock;
  test::FakePowerOff power;
  std::string pending = "N";

  serial::SendResult send(serial::PortOpener& ports, const Folder& folder, const std::string& name) {
    settings.DirPath = folder.path;
    settings.Signal = "N";
    settings.EndChar = "N";
    settings.Speed = "19200,8,N,2";
    dialogs.answers = {base::MessageAnswer::Yes};
    serial::TransferLog log(folder.file("bench.log"), clock);
    serial::Line line(settings, ports, screen, dialogs);
    serial::SendJob job({settings, line, screen, window, dialogs, log, power, pending},
                        {{name}, false, false});
    job.loadFirstFile();
    return job.run();
  }
};

void BM_SendOverPty(benchmark::State& state) {
  Folder folder;
  const std::string text = programText(static_cast<std::size_t>(state.range(0)));
  folder.write("O1000.NC", text);
  std::int64_t bytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    test::NcSimProcess nc(KESTROVAN_NCSIM, {"--receive", folder.file("nc.bin"), "--idle-ms", "5000"});
    platform::IniFile profile = platform::IniFile::fromBytes("[Ports]\nCOM4=" + nc.path() + "\n");
    serial::DevicePortOpener ports(profile);
    Sender sender;
    sender.settings.Port = "COM4";
    state.ResumeTiming();
    if (sender.send(ports, folder, "O1000.NC").outcome != serial::SendOutcome::Completed)
      state.SkipWithError("the send did not complete");
    state.PauseTiming();
    nc.finish();
    bytes += static_cast<std::int64_t>(std::filesystem::file_size(folder.file("nc.bin")));
    state.ResumeTiming();
  }
  state.SetBytesProcessed(bytes);
  state.counters["x19200"] =
      benchmark::Counter(static_cast<double>(bytes) / 1920.0, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SendOverPty)->Arg(256 << 10)->Unit(benchmark::kMillisecond)->UseRealTime();

using SteadyClock = std::chrono::steady_clock;

// A UART at `baud` with the NC behind it: bytes leave the output queue at the
// line rate and reach the NC, which sends DC3 after `dc3After` bytes and DC1
// `pauseMs` later. Everything in real time, as the writer sees a real port.
class UartWire {
public:
  UartWire(int baud, long dc3After, int pauseMs)
      : bytesPerSecond_(baud / 10.0), dc3After_(dc3After), pause_(std::chrono::milliseconds(pauseMs)) {}

  long queued() {
    drain();
    return written_ - received_;
  }
  void write() {
    drain();
    if (received_ == written_) lastLeft_ = SteadyClock::now(); // an idle line starts now
    ++written_;
    if (dc3At_ && !dc1Read_) {
      ++writtenAfterDc3_;
      if (dc3Read_) ++overrun_;
    }
  }
  // The next byte from the NC, or 0.
  unsigned char read() {
    drain();
    const auto now = SteadyClock::now();
    if (dc3At_ && !dc3Read_) {
      dc3Read_ = true;
      return 0x93;
    }
    if (dc3At_ && !dc1Read_ && now >= *dc3At_ + pause_) {
      dc1Read_ = true;
      return 0x11;
    }
    return 0;
  }
  long afterDc3() const { return queuedAtDc3_ + writtenAfterDc3_; }
  long overrun() const { return overrun_; }

private:
  void drain() {
    const auto now = SteadyClock::now();
    const double seconds = std::chrono::duration<double>(now - lastLeft_).count();
    const long leaving = std::min(written_ - received_, static_cast<long>(seconds * bytesPerSecond_));
    if (leaving <= 0) return;
    for (long i = 0; i < leaving; ++i) {
      ++received_;
      if (!dc3At_ && received_ >= dc3After_) {
        dc3At_ = now;
        queuedAtDc3_ = written_ - received_;
      }
    }
    lastLeft_ += std::chrono::duration_cast<SteadyClock::duration>(
        std::chrono::duration<double>(leaving / bytesPerSecond_));
  }

  double bytesPerSecond_;
  long dc3After_;
  SteadyClock::duration pause_;
  long written_ = 0;
  long received_ = 0;
  SteadyClock::time_point lastLeft_ = SteadyClock::now();
  std::optional<SteadyClock::time_point> dc3At_;
  bool dc3Read_ = false;
  bool dc1Read_ = false;
  long queuedAtDc3_ = 0;
  long writtenAfterDc3_ = 0;
  long overrun_ = 0;
};

class UartPort : public platform::SerialPort {
public:
  explicit UartPort(UartWire& wire) : wire_(wire) {}
  platform::PortStatus configure(const platform::LineConfig&) override { return platform::PortStatus::Ok; }
  platform::PortStatus setTimeouts(const platform::Timeouts&) override { return platform::PortStatus::Ok; }
  platform::PortStatus setBufferSizes(int, int) override { return platform::PortStatus::Ok; }
  platform::PortStatus purge() override { return platform::PortStatus::Ok; }
  platform::PortStatus raiseDtr() override { return platform::PortStatus::Ok; }
  platform::PortStatus raiseRts() override { return platform::PortStatus::Ok; }
  platform::ModemStatus modemLines() override { return {platform::PortStatus::Ok, {true, true, true}}; }
  platform::QueueLength outputQueueLength() override {
    return {platform::PortStatus::Ok, static_cast<int>(wire_.queued())};
  }
  platform::QueueLength inputQueueLength() override { return {platform::PortStatus::Ok, 0}; }
  platform::ReadResult readByte() override {
    const unsigned char c = wire_.read();
    return c ? platform::ReadResult{platform::ReadStatus::Byte, c} : platform::ReadResult{};
  }
  platform::WriteStatus writeByte(unsigned char) override {
    wire_.write();
    return platform::WriteStatus::Written;
  }

private:
  UartWire& wire_;
};

class UartPorts : public serial::PortOpener {
public:
  explicit UartPorts(UartWire& wire) : wire_(wire) {}
  bool openAndClose(int) override { return true; }
  platform::SerialPortOpen open(int) override { return {std::make_unique<UartPort>(wire_), 0}; }

private:
  UartWire& wire_;
};

void BM_BytesAfterDc3Uart9600(benchmark::State& state) {
  Folder folder;
  folder.write("O1000.NC", programText(1200));
  long afterDc3 = 0;
  long overrun = 0;
  for (auto _ : state) {
    UartWire wire(9600, 500, 300);
    UartPorts ports(wire);
    Sender sender;
    if (sender.send(ports, folder, "O1000.NC").outcome != serial::SendOutcome::Completed)
      state.SkipWithError("the send did not complete");
    afterDc3 = wire.afterDc3();
    overrun = wire.overrun();
  }
  state.counters["afterDc3"] = static_cast<double>(afterDc3);
  state.counters["overrun"] = static_cast<double>(overrun);
}
BENCHMARK(BM_BytesAfterDc3Uart9600)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// Counts what the line writes after it has read the NC's DC3.
class WatchedPort : public platform::SerialPort {
public:
  WatchedPort(std::unique_ptr<platform::SerialPort> port, long& overrun)
      : port_(std::move(port)), overrun_(overrun) {}
  platform::PortStatus configure(const platform::LineConfig& c) override { return port_->configure(c); }
  platform::PortStatus setTimeouts(const platform::Timeouts& t) override { return port_->setTimeouts(t); }
  platform::PortStatus setBufferSizes(int i, int o) override { return port_->setBufferSizes(i, o); }
  platform::PortStatus purge() override { return port_->purge(); }
  platform::PortStatus raiseDtr() override { return port_->raiseDtr(); }
  platform::PortStatus raiseRts() override { return port_->raiseRts(); }
  platform::ModemStatus modemLines() override { return port_->modemLines(); }
  platform::QueueLength outputQueueLength() override { return port_->outputQueueLength(); }
  platform::QueueLength inputQueueLength() override { return port_->inputQueueLength(); }
  platform::ReadResult readByte() override {
    platform::ReadResult r = port_->readByte();
    if (r.status == platform::ReadStatus::Byte && (r.byte == 0x93 || r.byte == 0x13)) held_ = true;
    if (r.status == platform::ReadStatus::Byte && r.byte == 0x11) held_ = false;
    return r;
  }
  platform::WriteStatus writeByte(unsigned char b) override {
    if (held_) ++overrun_;
    return port_->writeByte(b);
  }

private:
  std::unique_ptr<platform::SerialPort> port_;
  long& overrun_;
  bool held_ = false;
};

class WatchedPorts : public serial::PortOpener {
public:
  WatchedPorts(serial::PortOpener& inner, long& overrun) : inner_(inner), overrun_(overrun) {}
  bool openAndClose(int n) override { return inner_.openAndClose(n); }
  platform::SerialPortOpen open(int n) override {
    platform::SerialPortOpen opened = inner_.open(n);
    if (opened.port) opened.port = std::make_unique<WatchedPort>(std::move(opened.port), overrun_);
    return opened;
  }

private:
  serial::PortOpener& inner_;
  long& overrun_;
};

void BM_BytesAfterDc3Pty9600(benchmark::State& state) {
  Folder folder;
  folder.write("O1000.NC", programText(4000));
  long afterDc3 = 0;
  long backlog = 0;
  long overrun = 0;
  for (auto _ : state) {
    test::NcSimProcess nc(KESTROVAN_NCSIM,
                          {"--receive", folder.file("nc.bin"), "--baud", "9600", "--dc3-after", "500",
                           "--dc1-after-ms", "3000", "--idle-ms", "5000"});
    platform::IniFile profile = platform::IniFile::fromBytes("[Ports]\nCOM4=" + nc.path() + "\n");
    serial::DevicePortOpener devices(profile);
    overrun = 0;
    WatchedPorts ports(devices, overrun);
    Sender sender;
    sender.settings.Port = "COM4";
    if (sender.send(ports, folder, "O1000.NC").outcome != serial::SendOutcome::Completed)
      state.SkipWithError("the send did not complete");
    std::vector<std::string> events = nc.finish(30000);
    const long dc3 = test::eventNumber(events, "DC3");
    backlog = test::eventNumber(events, "BACKLOG");
    long dc1 = -1;
    bool seenDc3 = false;
    for (const std::string& e : events) {
      if (e.rfind("DC3 ", 0) == 0) seenDc3 = true;
      if (seenDc3 && e.rfind("DC1 ", 0) == 0) {
        dc1 = std::stol(e.substr(4));
        break;
      }
    }
    afterDc3 = dc1 - dc3;
  }
  state.counters["afterDc3"] = static_cast<double>(afterDc3);
  state.counters["backlog"] = static_cast<double>(backlog);
  state.counters["overrun"] = static_cast<double>(overrun);
}
BENCHMARK(BM_BytesAfterDc3Pty9600)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
