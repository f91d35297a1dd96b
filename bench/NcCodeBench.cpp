// Conversion cost per byte of a program going out in ISO or EIA and coming
// back in with code detection: far below what any line speed asks for.

#include "serial/NcCode.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace kestrovan::serial;

namespace {

std::string sampleProgram() {
  std::string text;
  for (int i = 1; text.size() < 64 * 1024; ++i)
    text += "N" + std::to_string(i) + " G01 X" + std::to_string(i % 500) + ".25 Y-12.5 F300\n";
  return text;
}

void BM_IsoOut(benchmark::State& state) {
  const std::string text = sampleProgram();
  for (auto _ : state) {
    unsigned sum = 0;
    for (char c : text)
      sum += isoEncode(static_cast<unsigned char>(c));
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_IsoOut);

void BM_EiaRoundTrip(benchmark::State& state) {
  std::string line;
  for (char c : sampleProgram())
    if (auto b = eiaEncode(static_cast<unsigned char>(c))) line += static_cast<char>(*b);
  for (auto _ : state) {
    CodeFlags flags;
    unsigned sum = 0;
    for (char b : line)
      sum += decodeReceived(static_cast<unsigned char>(b), flags);
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * line.size()));
}
BENCHMARK(BM_EiaRoundTrip);

} // namespace

BENCHMARK_MAIN();
