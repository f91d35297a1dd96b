// A search that finds nothing in a 20 MB program: the walk itself over the
// text, and a press of find next on a real text area (the text taken from
// the document, the walk, the miss message answered at once). Also the file
// view (V) opening the 742 KB sample and the 20 MB program on the real window.

#include "StartedForm.h"
#include "editor/ui/FindDialog.h"
#include "editor/ui/ProgramView.h"
#include "editor/TextSearch.h"

#include <benchmark/benchmark.h>

#include <QCheckBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextDocument>

#include <string>

namespace {

using namespace kestrovan;

// About 20 MB of CR LF program text, a Shift-JIS-free comment every 50 lines.
const std::string& program20MB() {
  static const std::string text = [] {
    std::string t;
    t.reserve(21 << 20);
    for (int n = 1; t.size() < (20u << 20); ++n) {
      t += "N" + std::to_string(n) + " G01 X" + std::to_string(n % 1000) + ".125 Y-" +
           std::to_string(n % 777) + ".5 Z-1.25 F1200\r\n";
      if (n % 50 == 0) t += "(ROUGH PASS " + std::to_string(n / 50) + ")\r\n";
    }
    return t;
  }();
  return text;
}

QString viewText() {
  static const QString text = QString::fromLatin1(program20MB()).replace("\r\n", "\n");
  return text;
}

void BM_SearchWalkMiss(benchmark::State& state) {
  const QString text = viewText();
  const std::u16string_view view(reinterpret_cast<const char16_t*>(text.utf16()),
                                 static_cast<std::size_t>(text.size()));
  const bool down = state.range(0) == 1;
  const editor::SearchOptions options{u"Q9999", state.range(1) == 1};
  const std::size_t end = static_cast<std::size_t>(text.size()) * 2;
  for (auto _ : state) {
    auto hit = down ? editor::searchDown(view, 0, options) : editor::searchUp(view, end, options);
    benchmark::DoNotOptimize(hit);
  }
  state.SetLabel(std::string(down ? "down" : "up") + (options.matchCase ? ", match case" : ", any case"));
}
BENCHMARK(BM_SearchWalkMiss)->Args({1, 0})->Args({1, 1})->Args({0, 0})->Unit(benchmark::kMillisecond);

// What a press of find next pays before the walk: the document's text.
void BM_DocumentText(benchmark::State& state) {
  QTextDocument document;
  document.setDocumentLayout(new QPlainTextDocumentLayout(&document));
  document.setPlainText(viewText());
  for (auto _ : state) {
    QString text = document.toRawText();
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(BM_DocumentText)->Unit(benchmark::kMillisecond);

class AnswerAtOnce : public base::Dialogs {
public:
  base::MessageAnswer show(const base::Message&) override { return base::MessageAnswer::Ok; }
};

void BM_FindNextMissOnTheTextArea(benchmark::State& state) {
  QPlainTextEdit editor;
  editor.setLineWrapMode(QPlainTextEdit::NoWrap);
  editor.setPlainText(viewText());
  editor.resize(600, 400);
  editor.show();
  AnswerAtOnce dialogs;
  editor::FindDialog dialog({&editor, &dialogs, [](const std::string&) {}, [] {}, {}, nullptr}, nullptr);
  dialog.showFind();
  dialog.findChild<QLineEdit*>("FindText")->setText("Q9999");
  if (state.range(0) == 0) {
    dialog.findChild<QRadioButton*>("DirectionUp")->setChecked(true);
    editor.moveCursor(QTextCursor::End);
  }
  const bool changed = state.range(1) == 1;
  for (auto _ : state) {
    if (changed) {
      // A character typed and taken back: the text is taken from the document again.
      state.PauseTiming();
      QTextCursor c(editor.document());
      c.insertText("N");
      c.deletePreviousChar();
      state.ResumeTiming();
    }
    dialog.findNext();
  }
  state.SetLabel(std::string(state.range(0) == 1 ? "down from the start" : "up from the end") +
                 (changed ? ", after a change" : ", again"));
}
BENCHMARK(BM_FindNextMissOnTheTextArea)
    ->Args({1, 1})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({0, 0})
    ->Unit(benchmark::kMillisecond);

// V on the file's row until the view has painted it.
void BM_FileViewOpen(benchmark::State& state) {
  test::StartedForm s;
  const std::string sample = std::string(KESTROVAN_SAMPLES_DIR) + "/MILL_3D_RELIEF_LARGE_NO_ONUMBER.NC";
  test::writeFile(s.data.file("P.NC"), state.range(0) == 0 ? test::readFile(sample) : program20MB());
  s.start();
  s.list()->selectRow(static_cast<int>(s.form->fileList().rows().size()) - 1);
  // The file is drawn by the view over the transfer view.
  auto* view = s.find<kestrovan::editor::ProgramView>("FileViewText");
  for (auto _ : state) {
    QElapsedTimer clock;
    clock.start();
    QTest::keyClick(s.list(), Qt::Key_V);
    view->viewport()->repaint();
    state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
    QTest::keyClick(view, Qt::Key_Escape);
    QTest::qWait(1100);
  }
  state.SetLabel(state.range(0) == 0 ? "742 KB sample" : "20 MB program");
}
BENCHMARK(BM_FileViewOpen)->Arg(0)->Arg(1)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
