// Opening a history list (Path.lst, FIND.LST, NAME.lst) that has grown far
// beyond its twenty entries: 100,000 lines, or one line of 5 MB.
#include "base/HistoryList.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

std::string writeHistory(const std::string& text) {
  char path[] = "/tmp/kestrovan-history-XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0 || write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) std::abort();
  close(fd);
  return path;
}

void run(benchmark::State& state, const std::string& text) {
  const std::string path = writeHistory(text);
  for (auto _ : state)
    benchmark::DoNotOptimize(kestrovan::base::HistoryList::load(path));
  unlink(path.c_str());
}

void BM_LoadHundredThousandLines(benchmark::State& state) {
  std::string text;
  for (int i = 0; i < 100000; ++i)
    text += "/home/operator/nc/" + std::to_string(i) + "\r\n";
  run(state, text);
}
BENCHMARK(BM_LoadHundredThousandLines)->Unit(benchmark::kMillisecond);

void BM_LoadAFiveMegabyteLine(benchmark::State& state) {
  run(state, "/nc/1\r\n" + std::string(5u << 20, 'x') + "\r\n/nc/2\r\n");
}
BENCHMARK(BM_LoadAFiveMegabyteLine)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
