// From a file's creation by another program to its row on the main window's
// list: the watcher's report, the one-second refresh timer that gathers the
// changes of that second, and the refresh itself, on the real window
// (offscreen) over folders of 10 and 1,000 files. Without the watch the
// row appears only when the operator presses Space.

#include "StartedForm.h"

#include <benchmark/benchmark.h>

#include <QElapsedTimer>

#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

bool listed(kestrovan::core::TForm1& form, const std::string& name) {
  for (const kestrovan::files::FileEntry& f : form.fileList().files())
    if (f.name == name) return true;
  return false;
}

void BM_CreationToRow(benchmark::State& state) {
  kestrovan::test::StartedForm s;
  for (int i = 0; i < state.range(0); ++i)
    kestrovan::test::writeFile(s.data.file("O" + std::to_string(10000 + i) + ".NC"), "%\r\n");
  s.start();
  int n = 0;
  for (auto _ : state) {
    const std::string name = "NEW" + std::to_string(n++) + ".NC";
    QElapsedTimer clock;
    clock.start();
    const int fd = ::open(s.data.file(name).c_str(), O_WRONLY | O_CREAT, 0644);
    if (fd >= 0) ::close(fd);
    while (!listed(*s.form, name))
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
    QTest::qWait(1200); // lets the next change start a timer of its own
  }
}
BENCHMARK(BM_CreationToRow)
    ->Arg(10)
    ->Arg(1000)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
