// The file view (V, F8) on the real main window, driven by keys, on real
// files in the data folder.
#include "PipeUnblocker.h"
#include "core/StartedForm.h"
#include "editor/ui/FileViewOperation.h"
#include "editor/ui/ProgramView.h"
#include "files/SizeText.h"
#include "platform/Cp932.h"
#include "serial/ProgramFile.h"
#include "support/Keyboard.h"
#include "support/Samples.h"
#include "support/WrittenPrograms.h"

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextBlock>

#include <filesystem>

using namespace kestrovan;
namespace keyboard = kestrovan::test::keyboard;

namespace {

struct View {
  test::StartedForm& s;

  QGroupBox* panel() const { return s.find<QGroupBox>("GroupBox2"); }
  QPlainTextEdit* text() const { return s.find<QPlainTextEdit>("RichEdit1"); }
  // What the view draws, over the transfer view.
  editor::ProgramView* shown() const { return s.find<editor::ProgramView>("FileViewText"); }
  // Its lines, decoded, one "\n" between two.
  std::string all() const {
    QString out;
    for (std::size_t i = 0; i < shown()->lineCount(); ++i)
      out += (i ? "\n" : "") + shown()->lineText(i);
    return out.toStdString();
  }
  QString status(int i) const { return s.find<QLabel>(QString("StatusPanel%1").arg(i).toUtf8())->text(); }
  QString message() const { return s.find<QLabel>("Label11")->text(); }

  int rowOf(const std::string& name) const {
    const files::FileList& list = s.form->fileList();
    for (int r = 0; r < static_cast<int>(list.rows().size()); ++r)
      if (const files::FileEntry* e = list.entryAt(r); e && e->name == name) return r;
    return -1;
  }
  void select(const std::string& name) {
    const int row = rowOf(name);
    ASSERT_GE(row, 0) << name;
    s.list()->selectRow(row);
  }
  // The view is open on the file and has the keyboard.
  void expectShowing() const {
    ASSERT_TRUE(panel()->isVisible());
    EXPECT_EQ(panel()->title(), "ファイルビュー");
    EXPECT_EQ(panel()->geometry().topLeft(), QPoint(328, 100));
    EXPECT_EQ(panel()->width(), 350);
    EXPECT_TRUE(panel()->styleSheet().contains("teal"));
    EXPECT_TRUE(text()->isReadOnly());
    EXPECT_TRUE(shown()->isVisible());
    EXPECT_EQ(shown()->geometry(), text()->rect());
    EXPECT_TRUE(shown()->hasFocus());
    EXPECT_FALSE(s.list()->isEnabled());
    EXPECT_FALSE(s.find<QLabel>("RemainingLine")->isVisible());
    EXPECT_EQ(status(3), "ファイルビュー");
  }
  // Back at the list after F3 or Esc.
  void expectEnded() const {
    EXPECT_FALSE(panel()->isVisible());
    EXPECT_EQ(message(), "操作中止!!");
    EXPECT_TRUE(s.list()->isEnabled());
    EXPECT_TRUE(s.list()->hasFocus());
    EXPECT_EQ(status(2), "");
    EXPECT_TRUE(text()->toPlainText().isEmpty());
    EXPECT_FALSE(shown()->isVisible());
    EXPECT_TRUE(shown()->bytes().empty());
  }
};

const std::string kSjisProgram =
    platform::utf8ToCp932("%\r\nO1001(サブ　穴あけ ｻﾌﾞ)\r\nG81X10.Y20.\r\nM99\r\n%\r\n");

} // namespace

TEST(FileView, VShowsTheFileReadOnlyUntilEscAndOtherKeysLeaveItOpen) {
  test::StartedForm s;
  test::writeFile(s.data.file("O1001.NC"), kSjisProgram);
  s.start();
  View v{s};
  v.select("O1001.NC");
  keyboard::press(Qt::Key_V);
  v.expectShowing();
  EXPECT_EQ(v.all(), "%\nO1001(サブ　穴あけ ｻﾌﾞ)\nG81X10.Y20.\nM99\n%");
  EXPECT_EQ(v.status(2).toStdString(), "ｻｲｽﾞ : " + files::sizeText(kSjisProgram.size()));

  // Typing, Enter, Delete and the arrows change nothing and do not end it.
  keyboard::type("G00");
  keyboard::press(Qt::Key_Return);
  keyboard::press(Qt::Key_Delete);
  keyboard::press(Qt::Key_Down);
  keyboard::press(Qt::Key_F1);
  v.expectShowing();
  EXPECT_EQ(v.all(), "%\nO1001(サブ　穴あけ ｻﾌﾞ)\nG81X10.Y20.\nM99\n%");
  EXPECT_EQ(test::readFile(s.data.file("O1001.NC")), kSjisProgram);

  keyboard::press(Qt::Key_Escape);
  v.expectEnded();
  EXPECT_FALSE(s.window->operation<editor::FileViewOperation>()->showing());
  // After the return to idle the message line is empty again.
  EXPECT_TRUE(QTest::qWaitFor([&] { return v.message().isEmpty(); }, 3000));
}

TEST(FileView, F8ShowsItAndF3EndsIt) {
  test::StartedForm s;
  test::writeFile(s.data.file("O1001.NC"), kSjisProgram);
  s.start();
  View v{s};
  v.select("O1001.NC");
  keyboard::press(Qt::Key_F8);
  v.expectShowing();
  keyboard::press(Qt::Key_F3);
  v.expectEnded();
  // Shift+F8 is still the transfer log.
  keyboard::press(Qt::Key_F8, Qt::ShiftModifier);
  EXPECT_EQ(v.panel()->title(), "送受信ログ");
  EXPECT_FALSE(v.shown()->isVisible()) << "the file view covers the log";
}

TEST(FileView, FolderAndParentRowsShowNothing) {
  test::StartedForm s;
  std::filesystem::create_directory(s.data.file("SUB"));
  test::writeFile(s.data.file("O1001.NC"), kSjisProgram);
  s.start();
  View v{s};
  v.select("SUB");
  keyboard::press(Qt::Key_V);
  EXPECT_FALSE(v.panel()->isVisible());
  EXPECT_TRUE(s.list()->isEnabled());
  EXPECT_TRUE(s.list()->hasFocus());
  ASSERT_EQ(s.form->fileList().parentRowCount(), 1);
  s.list()->selectRow(0);
  keyboard::press(Qt::Key_F8);
  EXPECT_FALSE(v.panel()->isVisible());
  EXPECT_TRUE(s.list()->isEnabled());
  EXPECT_EQ(v.message(), "");
  EXPECT_TRUE(s.dialogs.shown.empty());
}

TEST(FileView, AFileThatBeginsWithNulBringsTheLoadersQuestion) {
  test::StartedForm s;
  test::writeFile(s.data.file("BIN.NC"), std::string("\0O1\nG00X1.\n\0M30\n", 16));
  s.start();
  View v{s};
  v.select("BIN.NC");
  s.dialogs.answers = {base::MessageAnswer::Yes};
  keyboard::press(Qt::Key_V);
  ASSERT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_EQ(s.dialogs.shown[0].text, serial::kWrongFormatQuestion);
  v.expectShowing();
  // Read again line by line: each line up to its first NUL.
  EXPECT_EQ(v.all(), "G00X1.");
  EXPECT_EQ(v.status(2).toStdString(), "ｻｲｽﾞ : 16ﾊﾞｲﾄ");
  keyboard::press(Qt::Key_Escape);
  v.expectEnded();
}

namespace {

// A long LF-only program without a program number, its first line empty:
// one view line per program line, the empty first one included.
void expectOneViewLinePerLine(const std::string& bytes, int lines) {
  test::StartedForm s;
  test::writeFile(s.data.file("RELIEF.NC"), bytes);
  s.start();
  View v{s};
  v.select("RELIEF.NC");
  keyboard::press(Qt::Key_V);
  v.expectShowing();
  // A long program is indexed from the event loop.
  EXPECT_TRUE(QTest::qWaitFor([&] { return v.shown()->indexed(); }, 10000));
  EXPECT_EQ(v.shown()->lineCount(), std::size_t(lines));
  EXPECT_EQ(v.shown()->lineText(0), "");
  EXPECT_EQ(v.status(2).toStdString(), "ｻｲｽﾞ : " + files::sizeText(bytes.size()));
  keyboard::press(Qt::Key_F3);
  v.expectEnded();
}

} // namespace

TEST(FileView, ALargeLfProgramShowsOneViewLinePerProgramLine) {
  expectOneViewLinePerLine(test::written::withoutProgramNumber(35000), 35002);
}

TEST(FileView, TheLargeLfSampleShowsOneViewLinePerProgramLine) {
  KESTROVAN_NEEDS_SAMPLES("MILL_3D_RELIEF_LARGE_NO_ONUMBER.NC");
  expectOneViewLinePerLine(test::readFile(test::samplePath("MILL_3D_RELIEF_LARGE_NO_ONUMBER.NC")), 35288);
}

// A named pipe is listed among the files; reading it would wait for a writer
// that never comes, with the window frozen and no key to stop it.
TEST(FileView, APipeAmongTheFilesIsRefusedWithAMessageAndTheListStaysUsable) {
  test::StartedForm s;
  test::PipeUnblocker pipe(s.data.file("FIFO.NC"));
  ASSERT_TRUE(pipe.made());
  s.start();
  View v{s};
  v.select("FIFO.NC");
  keyboard::press(Qt::Key_V);
  EXPECT_FALSE(pipe.blocked());
  ASSERT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_EQ(s.dialogs.shown[0].text, s.data.file("FIFO.NC") + " は表示できない種類のファイルです。");
  EXPECT_EQ(s.dialogs.shown[0].title, "ファイルビュー");
  EXPECT_FALSE(v.panel()->isVisible());
  EXPECT_TRUE(s.list()->isEnabled());
  EXPECT_TRUE(s.list()->hasFocus());
  EXPECT_EQ(v.status(2), "");
}

// A file deleted after the list was read is told as such, not shown as an
// empty file after the wrong-format question.
TEST(FileView, AFileGoneSinceTheListWasReadIsToldAndNothingOpens) {
  test::StartedForm s;
  test::writeFile(s.data.file("GONE.NC"), kSjisProgram);
  s.start();
  View v{s};
  v.select("GONE.NC");
  std::filesystem::remove(s.data.file("GONE.NC"));
  keyboard::press(Qt::Key_F8);
  ASSERT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_EQ(s.dialogs.shown[0].text, "ファイル " + s.data.file("GONE.NC") + " は開けません");
  EXPECT_EQ(s.dialogs.shown[0].title, "ファイルビュー");
  EXPECT_FALSE(v.panel()->isVisible());
  EXPECT_TRUE(s.list()->isEnabled());
  EXPECT_TRUE(s.list()->hasFocus());
}

namespace {

// A 4 MB program of numbered blocks; its number of lines.
int writeLongProgram(const std::string& path) {
  std::string big;
  int lines = 0;
  for (; big.size() < 4'000'000; ++lines)
    big += "N" + std::to_string(lines + 1) + " G01 X-21.375 Z-3.363\r\n";
  test::writeFile(path, big);
  return lines;
}

} // namespace

// A long program shows its first lines at once and the rest goes in from the
// event loop, so that the window stays alive and Esc ends the view meanwhile.
TEST(FileView, ALongProgramShowsAtOnceAndEscEndsTheViewWhileItGoesIn) {
  test::StartedForm s;
  const int lines = writeLongProgram(s.data.file("BIG.NC"));
  s.start();
  View v{s};
  v.select("BIG.NC");
  keyboard::press(Qt::Key_V);
  v.expectShowing();
  EXPECT_FALSE(v.shown()->indexed()) << "all of it was indexed before the view showed";
  EXPECT_EQ(v.shown()->lineText(0), "N1 G01 X-21.375 Z-3.363");
  keyboard::press(Qt::Key_Escape);
  v.expectEnded();
  QTest::qWait(50);
  EXPECT_EQ(v.shown()->lineCount(), 1u) << "nothing more is indexed after the view ended";
  EXPECT_TRUE(v.shown()->lineText(0).isEmpty());

  // Left to go in, all of it arrives, one view line a program line.
  s.list()->setFocus();
  keyboard::press(Qt::Key_V);
  EXPECT_TRUE(QTest::qWaitFor([&] { return v.shown()->indexed(); }, 20000));
  EXPECT_EQ(v.shown()->lineCount(), std::size_t(lines));
  EXPECT_EQ(v.shown()->lineText(lines - 1).toStdString(),
            "N" + std::to_string(lines) + " G01 X-21.375 Z-3.363");
  EXPECT_TRUE(v.text()->isReadOnly());
  keyboard::type("G00");
  EXPECT_EQ(v.shown()->lineCount(), std::size_t(lines));
  EXPECT_EQ(v.shown()->lineText(0), "N1 G01 X-21.375 Z-3.363");
  keyboard::press(Qt::Key_F3);
  v.expectEnded();
}

// The window minimised and restored while the view shows a long program: the
// view keeps going in and keeps its colouring; only the view's end drops them.
TEST(FileView, MinimisingTheWindowEndsNeitherTheLoadingNorTheColouring) {
  test::StartedForm s;
  const int lines = writeLongProgram(s.data.file("BIG.NC"));
  s.start();
  View v{s};
  v.select("BIG.NC");
  keyboard::press(Qt::Key_V);
  v.expectShowing();
  ASSERT_TRUE(v.shown()->ncColouring());
  QWidget* window = s.form->window();
  window->showMinimized();
  QTest::qWait(20);
  window->showNormal();
  EXPECT_TRUE(QTest::qWaitFor([&] { return v.shown()->indexed(); }, 20000));
  EXPECT_EQ(v.shown()->lineCount(), std::size_t(lines));
  EXPECT_TRUE(s.window->operation<editor::FileViewOperation>()->showing());
  EXPECT_TRUE(v.shown()->ncColouring());
  keyboard::press(Qt::Key_Escape);
  v.expectEnded();
  EXPECT_FALSE(v.shown()->ncColouring());
}

// The caret and the selection move by characters, never by half of one, and
// what is copied is the text as shown, one line break between two lines.
TEST(FileView, ArrowsAndShiftSelectWholeCharactersAndCtrlCCopiesThemDecoded) {
  test::StartedForm s;
  test::writeFile(s.data.file("O1001.NC"), kSjisProgram);
  s.start();
  View v{s};
  v.select("O1001.NC");
  keyboard::press(Qt::Key_V);
  v.expectShowing();
  keyboard::press(Qt::Key_Down);
  keyboard::press(Qt::Key_End, Qt::ShiftModifier);
  keyboard::press(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "O1001(サブ　穴あけ ｻﾌﾞ)");
  // From the end of the line, four characters to the left: ｻﾌﾞ) and the space.
  keyboard::press(Qt::Key_End);
  for (int i = 0; i < 5; ++i)
    keyboard::press(Qt::Key_Left, Qt::ShiftModifier);
  keyboard::press(Qt::Key_Insert, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), " ｻﾌﾞ)");
  // Two more take け and あ, two bytes each.
  keyboard::press(Qt::Key_Left, Qt::ShiftModifier);
  keyboard::press(Qt::Key_Left, Qt::ShiftModifier);
  keyboard::press(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "あけ ｻﾌﾞ)");
  // Down goes to the column nearest on the shorter line; the selection runs
  // from where it began, over the line end.
  keyboard::press(Qt::Key_Home);
  keyboard::press(Qt::Key_Right);
  keyboard::press(Qt::Key_Right);
  keyboard::press(Qt::Key_Down, Qt::ShiftModifier);
  keyboard::press(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "001(サブ　穴あけ ｻﾌﾞ)\nG8");
  keyboard::press(Qt::Key_A, Qt::ControlModifier);
  keyboard::press(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
            "%\nO1001(サブ　穴あけ ｻﾌﾞ)\nG81X10.Y20.\nM99\n%");
  v.expectShowing();
  EXPECT_EQ(test::readFile(s.data.file("O1001.NC")), kSjisProgram);
  keyboard::press(Qt::Key_Escape);
  v.expectEnded();
}

// A program of one 5 MB line: only the columns in view are decoded and drawn,
// at its beginning and at its end, and the line goes in from the event loop.
TEST(FileView, AFiveMegabyteLineIsDrawnFromItsColumnsInViewOnly) {
  test::StartedForm s;
  std::string line;
  for (int i = 0; line.size() < 5'000'000; ++i)
    line += "G01X" + std::to_string(i % 1000) + ".Y-2.5F300.";
  line += platform::utf8ToCp932("(終)");
  test::writeFile(s.data.file("LONG.NC"), "%\r\n" + line + "\r\n%\r\n");
  s.start();
  View v{s};
  v.select("LONG.NC");
  keyboard::press(Qt::Key_V);
  v.expectShowing();
  EXPECT_FALSE(v.shown()->indexed()) << "all of the line was walked before the view showed";
  v.shown()->viewport()->repaint();
  EXPECT_EQ(v.shown()->lineText(0), "%");
  EXPECT_LT(v.shown()->decodedCharacters(), 10'000u);
  ASSERT_TRUE(QTest::qWaitFor([&] { return v.shown()->indexed(); }, 20000));
  ASSERT_EQ(v.shown()->lineCount(), 3u);
  keyboard::press(Qt::Key_Down);
  keyboard::press(Qt::Key_End);
  EXPECT_EQ(v.shown()->caret().column, line.size());
  EXPECT_GT(v.shown()->firstColumn(), line.size() - 400);
  v.shown()->viewport()->repaint();
  EXPECT_LT(v.shown()->decodedCharacters(), 20'000u);
  keyboard::press(Qt::Key_Left, Qt::ShiftModifier);
  keyboard::press(Qt::Key_Left, Qt::ShiftModifier);
  keyboard::press(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "終)");
  keyboard::press(Qt::Key_F3);
  v.expectEnded();
}

// A long program read in pieces ends at its first NUL byte, as the loader
// reads it, wherever the NUL falls among the pieces; the size is the file's.
TEST(FileView, ALongProgramReadInPiecesEndsAtItsFirstNulAsTheLoaderReadsIt) {
  test::StartedForm s;
  std::string bytes;
  for (int i = 1; bytes.size() < 3'000'000; ++i)
    bytes += "N" + std::to_string(i) + " G01 X-21.375 Z-3.363\r\n";
  const std::string file = bytes + "M30\r" + std::string(1, '\0') + "\n%\r\n" + bytes;
  test::writeFile(s.data.file("NUL.NC"), file);
  s.start();
  View v{s};
  v.select("NUL.NC");
  keyboard::press(Qt::Key_V);
  v.expectShowing();
  EXPECT_TRUE(s.dialogs.shown.empty());
  ASSERT_TRUE(QTest::qWaitFor([&] { return v.shown()->indexed(); }, 20000));
  EXPECT_EQ(v.shown()->bytes(), serial::loadProgramFile(s.data.file("NUL.NC"), nullptr).text);
  EXPECT_EQ(v.shown()->bytes(), bytes + "M30\r");
  EXPECT_EQ(v.shown()->lineText(v.shown()->lineCount() - 1), "M30");
  EXPECT_EQ(v.status(2).toStdString(), "ｻｲｽﾞ : " + files::sizeText(file.size()));
  keyboard::press(Qt::Key_Escape);
  v.expectEnded();
}

// PageDown, Ctrl+End and Ctrl+Home scroll the view with the caret; a click
// puts the caret on the character under it, the drag selects.
TEST(FileView, PagesCtrlEndAndTheMouseMoveTheCaretAndTheViewWithIt) {
  test::StartedForm s;
  std::string bytes;
  for (int i = 1; i <= 1000; ++i)
    bytes += "N" + std::to_string(i) + platform::utf8ToCp932("(穴)X1.\r\n");
  test::writeFile(s.data.file("P.NC"), bytes);
  s.start();
  View v{s};
  v.select("P.NC");
  keyboard::press(Qt::Key_V);
  v.expectShowing();
  ASSERT_TRUE(QTest::qWaitFor([&] { return v.shown()->indexed(); }, 10000));
  EXPECT_EQ(v.shown()->firstLine(), 0u);
  keyboard::press(Qt::Key_PageDown);
  const std::size_t page = v.shown()->caret().line;
  EXPECT_GT(page, 5u);
  EXPECT_LE(v.shown()->firstLine(), page);
  keyboard::press(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(v.shown()->caret().line, 999u);
  EXPECT_EQ(v.shown()->firstLine() + page, 1000u) << "the last line shows at the bottom";
  keyboard::press(Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(v.shown()->firstLine(), 0u);
  // "N1(穴)X1.": a click on the right half of 穴 (columns 3 and 4) puts the
  // caret before it or after it, never between its bytes.
  const int cw = v.shown()->fontMetrics().horizontalAdvance(QLatin1Char('0'));
  const int y = v.shown()->fontMetrics().lineSpacing() / 2 + 2;
  QTest::mouseClick(v.shown()->viewport(), Qt::LeftButton, {}, QPoint(2 + 4 * cw + cw / 4, y));
  const std::size_t column = v.shown()->caret().column;
  EXPECT_TRUE(column == 3 || column == 5) << column;
  QTest::mouseClick(v.shown()->viewport(), Qt::LeftButton, {}, QPoint(2 + 1, y));
  QTest::mouseClick(v.shown()->viewport(), Qt::LeftButton, Qt::ShiftModifier, QPoint(2 + 6 * cw, y));
  keyboard::press(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "N1(穴)");
  keyboard::press(Qt::Key_Escape);
  v.expectEnded();
}
