// A reception of a large program over a real pseudo-terminal, as fast as the
// virtual NC punches it: the rate, and how far the program's peak memory
// grows while it runs (it should stay within a few megabytes whatever the
// size of the program, since lines stream to disk every thousand lines).
//
//   build/bench/receive_bench [--benchmark_filter=...]   (KESTROVAN_RECEIVE_MB sets the size, default 50)

#include "base/SettingsRecord.h"
#include "platform/IniFile.h"
#include "serial/Clock.h"
#include "serial/Line.h"
#include "serial/PortProbe.h"
#include "serial/ReceiveJob.h"
#include "serial/ReceiveScreen.h"
#include "serial/TransferLog.h"
#include "support/FakeDialogs.h"
#include "support/NcSimProcess.h"
#include "support/TempDir.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

using namespace kestrovan;

namespace {

// A screen that shows nothing: what is measured is the reception itself.
class QuietScreen : public serial::ReceiveScreen {
public:
  void setStatusPanel(int, const std::string&) override {}
  void showMessageLine(const std::string&, serial::MessageColour) override {}
  void addTransferLine(const std::string&) override {}
  bool askYesNo(const std::string&) override { return false; }
  bool stopKeyDown(serial::StopKeyPoll) override { return false; }
  bool stopKeyPending() override { return false; }
  void releaseStopKeys() override {}
  void processPendingEvents() override {}
  void sleepMs(int) override {}
  void setDsrLamp(bool) override {}
  void setCtsLamp(bool) override {}
  void setModemLampsUnknown() override {}
  std::optional<std::string> askSelectorNumber() override { return std::nullopt; }
  void setScreenSaverEnabled(bool) override {}
  void clearPromptLine() override {}
  void showReceivePanel(const std::string&) override {}
  void hideTransferPanel() override {}
  void clearTransferView() override {}
  void clearProgramList() override {}
  void addProgramHeader(const std::string&) override {}
  void setProgress(int) override {}
};

class NoClock : public serial::Clock {
public:
  platform::CivilTime now() override { return {2024, 1, 1, 0, 0, 0}; }
};

// Kilobytes of a "Vm..." line of /proc/self/status.
long statusKb(const char* key) {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind(key, 0) == 0) return std::atol(line.c_str() + std::strlen(key));
  return -1;
}

// Starts the peak (VmHWM) afresh from the present size.
void resetPeakMemory() { std::ofstream("/proc/self/clear_refs") << "5"; }

// Writes a program of about `bytes`, already in normalised form, line by
// line; returns the size the saved file must have (CR LF and a closing "%").
std::uintmax_t writeProgram(const std::string& path, std::uintmax_t bytes) {
  std::ofstream out(path, std::ios::binary);
  std::uintmax_t written = 0;
  std::uintmax_t lines = 0;
  out << "O1000\n";
  written += 6;
  ++lines;
  char line[64];
  for (long n = 1; written < bytes; ++n) {
    int len = std::snprintf(line, sizeof line, "N%ld G01 X%ld.%03ld Y-%ld.5 F1000\n", n, n % 500, n % 1000,
                            n % 300);
    out.write(line, len);
    written += static_cast<std::uintmax_t>(len);
    ++lines;
  }
  return written + lines + 3; // a CR per line, and "%\r\n"
}

void BM_ReceiveLargeProgramOverPty(benchmark::State& state) {
  const char* mbText = std::getenv("KESTROVAN_RECEIVE_MB");
  const std::uintmax_t megabytes = mbText ? std::strtoul(mbText, nullptr, 10) : 50;
  test::TempDir dir;
  const std::string program = dir.file("big.txt");
  const std::uintmax_t expected = writeProgram(program, megabytes * 1024 * 1024);
  std::filesystem::create_directory(dir.file("data"));

  for (auto _ : state) {
    test::NcSimProcess nc(KESTROVAN_NCSIM,
                          {"--punch", program, "--code", "iso", "--wait-open", "--idle-ms", "5000"});
    if (nc.path().empty()) {
      state.SkipWithError("kestrovan-ncsim did not start");
      return;
    }
    platform::IniFile profile = platform::IniFile::fromBytes("[Ports]\nCOM4=" + nc.path() + "\n");
    serial::DevicePortOpener ports(profile);
    base::SettingsRecord settings = base::defaultSettings(dir.file("data"));
    settings.Port = "COM4";
    QuietScreen screen;
    test::FakeDialogs dialogs;
    NoClock clock;
    serial::TransferLog log(dir.file("bench.log"), clock);
    serial::Line line(settings, ports, screen, dialogs);
    const std::string saved = dir.file("data/BIG.NC");

    // The NC reports every pause and resume (our XOFF and XON) on its
    // output; read it meanwhile, or its pipe fills and it stops punching.
    std::thread reports([&nc] { nc.waitFor("END", 15 * 60 * 1000); });

    resetPeakMemory();
    const long rssBefore = statusKb("VmRSS:");
    const auto start = std::chrono::steady_clock::now();
    serial::ReceiveOutcome outcome = serial::ReceiveJob(settings, line, screen, log)
                                         .run({serial::SaveMode::ByName, {"BIG.NC", saved}, false});
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const long peak = statusKb("VmHWM:");
    reports.join();

    if (outcome.end != serial::ReceiveEnd::Completed || std::filesystem::file_size(saved) != expected) {
      state.SkipWithError("the reception did not save the whole program");
      return;
    }
    state.SetIterationTime(seconds);
    state.counters["MB_per_s"] = static_cast<double>(megabytes) / seconds;
    state.counters["program_MB"] = static_cast<double>(megabytes);
    state.counters["peak_growth_MB"] = static_cast<double>(peak - rssBefore) / 1024.0;
  }
}

} // namespace

BENCHMARK(BM_ReceiveLargeProgramOverPty)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_MAIN();
