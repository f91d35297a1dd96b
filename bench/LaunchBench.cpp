// What an Alt+letter launch costs before the program runs: the rules (finding
// the program, filling the template), and starting it detached without a
// shell, side by side with what an operator would type instead, the same
// command through a shell (`system`, which also waits for it), and a bare
// posix_spawn that waits.
#include "external/ui/DesktopLauncher.h"
#include "external/Launch.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

using namespace kestrovan;

namespace {

constexpr const char* kApplication = "/bin/true -o $D.TXT $A";
const external::SelectedFile kFile{"/home/op/NC", "O1234.NC"};

void BM_LaunchRules(benchmark::State& state) {
  const external::CommandEntry entry{kApplication, "Y", "conv"};
  for (auto _ : state) {
    const external::LetterDecision d = external::decideLetterStart(entry, kFile);
    benchmark::DoNotOptimize(external::launchOnOk(entry.application, d.initialArgument));
  }
}
BENCHMARK(BM_LaunchRules);

void BM_StartDetachedNoShell(benchmark::State& state) {
  external::DesktopLauncher launcher;
  const std::vector<std::string> args{"-o", "O1234.TXT", kFile.path()};
  for (auto _ : state)
    benchmark::DoNotOptimize(launcher.start("/bin/true", args));
}
BENCHMARK(BM_StartDetachedNoShell)->Iterations(300)->Unit(benchmark::kMicrosecond);

void BM_ShellCommandWaited(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(std::system("/bin/true -o O1234.TXT /home/op/NC/O1234.NC"));
}
BENCHMARK(BM_ShellCommandWaited)->Iterations(300)->Unit(benchmark::kMicrosecond);

void BM_PosixSpawnWaited(benchmark::State& state) {
  char program[] = "/bin/true";
  char a1[] = "-o", a2[] = "O1234.TXT", a3[] = "/home/op/NC/O1234.NC";
  char* argv[] = {program, a1, a2, a3, nullptr};
  for (auto _ : state) {
    pid_t pid = -1;
    if (posix_spawn(&pid, program, nullptr, nullptr, argv, environ) == 0) waitpid(pid, nullptr, 0);
  }
}
BENCHMARK(BM_PosixSpawnWaited)->Iterations(300)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
