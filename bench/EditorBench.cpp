// The editor on the real window (offscreen): from E on a file to the first
// paint of its text, for the 742 KB sample and for a 20 MB program made of
// the samples repeated, and until its whole text is in; a keystroke at the end of the 20 MB program, from the
// key to the repaint; and the save of the 20 MB program.

#include "StartedForm.h"
#include "editor/ui/EditorOperations.h"
#include "editor/ui/LargeTextArea.h"
#include "editor/ui/ProgramView.h"

#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QToolButton>

#include <sys/resource.h>

#include <algorithm>
#include <filesystem>
#include <string>

namespace {

using kestrovan::test::StartedForm;

// Counts the paints of a widget.
struct PaintCounter : QObject {
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

std::string sampleBytes(const std::string& name) {
  return kestrovan::test::readFile(std::string(KESTROVAN_SAMPLES_DIR) + "/" + name);
}

// Every sample one after the other, again and again, up to `bytes`.
std::string repeatedSamples(std::size_t bytes) {
  std::string all;
  for (const auto& entry : std::filesystem::directory_iterator(KESTROVAN_SAMPLES_DIR))
    if (entry.path().extension() == ".NC") all += kestrovan::test::readFile(entry.path().string());
  std::string out;
  out.reserve(bytes + all.size());
  while (out.size() < bytes)
    out += all;
  return out;
}

int rowOf(const StartedForm& s, const std::string& name) {
  const kestrovan::files::FileList& list = s.form->fileList();
  for (int row = 0; row < static_cast<int>(list.rows().size()); ++row)
    if (const kestrovan::files::FileEntry* e = list.entryAt(row); e && e->name == name) return row;
  return -1;
}

QPlainTextEdit* text(const StartedForm& s) { return s.find<QPlainTextEdit>("EditorText"); }
kestrovan::editor::LargeTextArea* largeArea(const StartedForm& s) {
  return s.find<kestrovan::editor::LargeTextArea>("LargeEditorText");
}
// The area E shows the program in: the large-program area above 8 MB.
QAbstractScrollArea* shownArea(const StartedForm& s) {
  if (largeArea(s)->isVisible()) return largeArea(s);
  return text(s);
}
// Paints of either area.
void countPaints(const StartedForm& s, QObject& counter) {
  text(s)->viewport()->installEventFilter(&counter);
  largeArea(s)->viewport()->installEventFilter(&counter);
}

// E on the file, then the events until the text has painted once.
void openAndPaint(StartedForm& s, const std::string& name, PaintCounter& counter) {
  const int before = counter.paints;
  s.list()->selectRow(rowOf(s, name));
  QTest::keyClick(s.list(), Qt::Key_E);
  while (counter.paints == before)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// The events until the whole text is in: the text takes edits from then on.
void waitForWholeText(const StartedForm& s) {
  while (largeArea(s)->isVisible() ? !largeArea(s)->loaded() : text(s)->isReadOnly())
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

void endEditing(StartedForm& s) {
  QTest::mouseClick(s.find<QToolButton>("ToolButton13"), Qt::LeftButton);
  QCoreApplication::processEvents();
}

void BM_OpenToFirstPaint(benchmark::State& state) {
  StartedForm s;
  const std::string name = state.range(0) == 0 ? "MILL_3D_RELIEF_LARGE_NO_ONUMBER.NC" : "BIG.NC";
  kestrovan::test::writeFile(s.data.file(name),
                             state.range(0) == 0 ? sampleBytes(name) : repeatedSamples(20u << 20));
  s.start();
  PaintCounter counter;
  countPaints(s, counter);
  for (auto _ : state) {
    QElapsedTimer clock;
    clock.start();
    openAndPaint(s, name, counter);
    state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
    state.PauseTiming();
    endEditing(s);
    state.ResumeTiming();
  }
  state.SetLabel(state.range(0) == 0 ? "742 KB sample" : "20 MB program");
}
BENCHMARK(BM_OpenToFirstPaint)->Arg(0)->Arg(1)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

// E on the 20 MB program until its last line is in and it takes edits.
void BM_OpenToWholeTextIn20MB(benchmark::State& state) {
  StartedForm s;
  kestrovan::test::writeFile(s.data.file("BIG.NC"), repeatedSamples(20u << 20));
  s.start();
  PaintCounter counter;
  countPaints(s, counter);
  for (auto _ : state) {
    QElapsedTimer clock;
    clock.start();
    openAndPaint(s, "BIG.NC", counter);
    waitForWholeText(s);
    state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
    state.PauseTiming();
    endEditing(s);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenToWholeTextIn20MB)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_KeystrokeAtTheEndOf20MB(benchmark::State& state) {
  StartedForm s;
  kestrovan::test::writeFile(s.data.file("BIG.NC"), repeatedSamples(20u << 20));
  s.start();
  PaintCounter counter;
  countPaints(s, counter);
  openAndPaint(s, "BIG.NC", counter);
  waitForWholeText(s);
  QTest::keyClick(shownArea(s), Qt::Key_End, Qt::ControlModifier);
  QCoreApplication::processEvents();
  for (auto _ : state) {
    const int before = counter.paints;
    QElapsedTimer clock;
    clock.start();
    QTest::keyClick(shownArea(s), Qt::Key_X);
    while (counter.paints == before)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
  }
}
BENCHMARK(BM_KeystrokeAtTheEndOf20MB)->Iterations(50)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_Save20MB(benchmark::State& state) {
  StartedForm s;
  kestrovan::test::writeFile(s.data.file("BIG.NC"), repeatedSamples(20u << 20));
  s.start();
  PaintCounter counter;
  countPaints(s, counter);
  openAndPaint(s, "BIG.NC", counter);
  waitForWholeText(s);
  auto* editor = s.window->operation<kestrovan::editor::EditorOperations>();
  for (auto _ : state)
    benchmark::DoNotOptimize(editor->save());
}
BENCHMARK(BM_Save20MB)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

// Very long lines and very large programs, E and V: from the key to the
// first paint (the time measured), then the longest stretch the window did
// not answer while the rest went in ("stall_ms"), and the process's peak
// resident memory ("peak_rss_mb"; run one case a process to read it per case).
namespace {

std::string oneLongLine(std::size_t bytes) {
  std::string line = "%\r\n";
  for (int i = 0; line.size() < bytes; ++i)
    line += "G01X" + std::to_string(i % 1000) + ".Y-2.5F300.";
  return line + "\r\n%\r\n";
}

double peakRssMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Runs the events until `done`, and gives the longest single pass in ms.
template <class Done> double longestPass(Done done) {
  double longest = 0;
  QElapsedTimer pass;
  while (!done()) {
    pass.start();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    longest = std::max(longest, static_cast<double>(pass.nsecsElapsed()) / 1e6);
  }
  return longest;
}

void BM_LongLineOrHugeProgram(benchmark::State& state) {
  const bool view = state.range(0) == 1;
  const bool huge = state.range(1) == 1;
  StartedForm s;
  kestrovan::test::writeFile(s.data.file("BIG.NC"),
                             huge ? repeatedSamples(100u << 20) + "\r\n%\r\n" : oneLongLine(5u << 20));
  s.start();
  // V draws the file over the transfer view; E shows it in its text area.
  auto* fileView = s.find<kestrovan::editor::ProgramView>("FileViewText");
  // E edits both in its large-program area.
  auto* large = s.find<kestrovan::editor::LargeTextArea>("LargeEditorText");
  QAbstractScrollArea* shown = view ? static_cast<QAbstractScrollArea*>(fileView) : large;
  PaintCounter counter;
  shown->viewport()->installEventFilter(&counter);
  double stall = 0;
  for (auto _ : state) {
    QElapsedTimer clock;
    clock.start();
    s.list()->selectRow(rowOf(s, "BIG.NC"));
    QTest::keyClick(s.list(), view ? Qt::Key_V : Qt::Key_E);
    const double keyMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    while (counter.paints == 0)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
    // The key's own handling is a stretch without an answer too.
    stall = std::max(keyMs, longestPass([&] {
                       if (!view) return large->loaded();
                       return fileView->indexed() && fileView->lineText(fileView->lineCount() - 1) == "%";
                     }));
  }
  state.counters["stall_ms"] = stall;
  state.counters["peak_rss_mb"] = peakRssMb();
  if (!view) {
    // A keystroke at the end of all of it, key to repaint.
    QElapsedTimer clock;
    clock.start();
    QTest::keyClick(large, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(large, Qt::Key_X);
    large->viewport()->repaint();
    state.counters["key_ms"] = static_cast<double>(clock.nsecsElapsed()) / 1e6;
  }
  state.SetLabel(std::string(view ? "V" : "E") + (huge ? " on a 100 MB program" : " on a 5 MB single line"));
}
BENCHMARK(BM_LongLineOrHugeProgram)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
