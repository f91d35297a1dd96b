// The folder watcher beside what one would do without it.
//
// Idle CPU: TFolderCheck armed on a folder of 1,000 files while nothing
// changes, against a poller that re-reads the folder's names ten times a
// second (what a list that refreshes itself without notification needs to
// notice a change within 100 ms). Counter cpu_ms_per_s: CPU time the
// process spent per second of wall time; the main thread only sleeps.
//
// Change to report: a file created in the watched folder until the
// watcher's thread reports it (wall time), against the same poller; and
// the creation alone, which on a journalled disk is most of it.

#include "files/FolderCheck.h"
#include "platform/DirectoryEnum.h"

#include "WatchHelpers.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using kestrovan::files::test::Reports;

class Folder {
public:
  explicit Folder(int files) {
    const char* base = std::getenv("TMPDIR");
    std::string templ = std::string(base && *base ? base : "/tmp") + "/kestrovan-watch-XXXXXX";
    if (!mkdtemp(templ.data())) std::abort();
    path_ = templ;
    for (int i = 0; i < files; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "/O%05d.NC", i);
      const int fd = ::open((path_ + name).c_str(), O_WRONLY | O_CREAT, 0644);
      if (fd >= 0) ::close(fd);
    }
  }
  ~Folder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::string& path() const { return path_; }

private:
  std::string path_;
};

double processCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Re-reads the folder's names every `period` and reports when their number changed.
class Poller {
public:
  Poller(std::string folder, std::chrono::milliseconds period, Reports& reports)
      : folder_(std::move(folder)), names_(kestrovan::platform::listNames(folder_).size()),
        thread_([this, period, &reports] {
          std::size_t names = names_; // counted before the first change can come
          while (!stop_) {
            std::this_thread::sleep_for(period);
            const std::size_t now = kestrovan::platform::listNames(folder_).size();
            if (now != names) reports();
            names = now;
          }
        }) {}
  ~Poller() {
    stop_ = true;
    thread_.join();
  }

private:
  std::string folder_;
  std::size_t names_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

void idle(benchmark::State& state, const std::function<void()>& sleepOneSecond) {
  double cpu = 0;
  for (auto _ : state) {
    const double before = processCpuMs();
    sleepOneSecond();
    cpu += processCpuMs() - before;
  }
  state.counters["cpu_ms_per_s"] = cpu / static_cast<double>(state.iterations());
}

void BM_IdleCpu_FolderCheck(benchmark::State& state) {
  Folder folder(1000);
  Reports reports;
  kestrovan::files::TFolderCheck check([&] { reports(); });
  check.follow(folder.path());
  if (!check.Start()) state.SkipWithError("no inotify");
  idle(state, [] { std::this_thread::sleep_for(1s); });
}
BENCHMARK(BM_IdleCpu_FolderCheck)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_IdleCpu_PollEvery100ms(benchmark::State& state) {
  Folder folder(1000);
  Reports reports;
  Poller poller(folder.path(), 100ms, reports);
  idle(state, [] { std::this_thread::sleep_for(1s); });
}
BENCHMARK(BM_IdleCpu_PollEvery100ms)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// Only the way from the new name to its report is timed; the deletion
// that follows (and its report) is not.
void changes(benchmark::State& state, const std::string& folder, Reports& reports) {
  long n = 0;
  for (auto _ : state) {
    const std::string path = folder + "/NEW" + std::to_string(n++) + ".NC";
    const long seen = reports.count();
    const auto start = std::chrono::steady_clock::now();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0644);
    if (fd >= 0) ::close(fd);
    reports.moreThan(seen, std::chrono::hours(1));
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    const long afterCreate = reports.count();
    ::unlink(path.c_str());
    reports.moreThan(afterCreate, std::chrono::hours(1));
  }
}

void BM_ChangeToReport_FolderCheck(benchmark::State& state) {
  Folder folder(1000);
  Reports reports;
  kestrovan::files::TFolderCheck check([&] { reports(); });
  check.follow(folder.path());
  if (!check.Start()) state.SkipWithError("no inotify");
  changes(state, folder.path(), reports);
}
BENCHMARK(BM_ChangeToReport_FolderCheck)->Unit(benchmark::kMicrosecond)->UseManualTime();

void BM_CreateOnly(benchmark::State& state) {
  Folder folder(1000);
  long n = 0;
  for (auto _ : state) {
    const std::string path = folder.path() + "/NEW" + std::to_string(n++) + ".NC";
    const auto start = std::chrono::steady_clock::now();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0644);
    if (fd >= 0) ::close(fd);
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    ::unlink(path.c_str());
  }
}
BENCHMARK(BM_CreateOnly)->Unit(benchmark::kMicrosecond)->UseManualTime();

void BM_ChangeToReport_PollEvery100ms(benchmark::State& state) {
  Folder folder(1000);
  Reports reports;
  Poller poller(folder.path(), 100ms, reports);
  changes(state, folder.path(), reports);
}
BENCHMARK(BM_ChangeToReport_PollEvery100ms)->Iterations(10)->Unit(benchmark::kMillisecond)->UseManualTime();

} // namespace

BENCHMARK_MAIN();
