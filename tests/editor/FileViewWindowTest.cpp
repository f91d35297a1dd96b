// The file view (V, F8) on the real main window, driven by keys, on real
// files in the data folder.
#include "PipeUnblocker.h"
#include "core/StartedForm.h"
#include "editor/FileViewOperation.h"
#include "editor/NcHighlighter.h"
#include "files/SizeText.h"
#include "platform/Cp932.h"
#include "serial/ProgramFile.h"
#include "support/Keyboard.h"
#include "support/Samples.h"
#include "support/WrittenPrograms.h"

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
    EXPECT_TRUE(text()->hasFocus());
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
  EXPECT_EQ(v.text()->toPlainText().toStdString(), "%\nO1001(サブ　穴あけ ｻﾌﾞ)\nG81X10.Y20.\nM99\n%");
  EXPECT_EQ(v.status(2).toStdString(), "ｻｲｽﾞ : " + files::sizeText(kSjisProgram.size()));

  // Typing, Enter, Delete and the arrows change nothing and do not end it.
  keyboard::type("G00");
  keyboard::press(Qt::Key_Return);
  keyboard::press(Qt::Key_Delete);
  keyboard::press(Qt::Key_Down);
  keyboard::press(Qt::Key_F1);
  v.expectShowing();
  EXPECT_EQ(v.text()->toPlainText().toStdString(), "%\nO1001(サブ　穴あけ ｻﾌﾞ)\nG81X10.Y20.\nM99\n%");
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
  EXPECT_EQ(v.text()->toPlainText(), "G00X1.");
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
  // A long program goes in from the event loop.
  EXPECT_TRUE(QTest::qWaitFor([&] { return v.text()->blockCount() == lines; }, 10000))
      << v.text()->blockCount();
  EXPECT_EQ(v.text()->document()->findBlockByNumber(0).text(), "");
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
  EXPECT_LT(v.text()->document()->characterCount(), 1'000'000) << "all of it went in before the view showed";
  EXPECT_EQ(v.text()->document()->firstBlock().text(), "N1 G01 X-21.375 Z-3.363");
  keyboard::press(Qt::Key_Escape);
  v.expectEnded();
  QTest::qWait(50);
  EXPECT_TRUE(v.text()->toPlainText().isEmpty()) << "nothing more goes in after the view ended";

  // Left to go in, all of it arrives, one view line a program line.
  s.list()->setFocus();
  keyboard::press(Qt::Key_V);
  EXPECT_TRUE(QTest::qWaitFor([&] { return v.text()->blockCount() == lines; }, 20000));
  EXPECT_EQ(v.text()->document()->lastBlock().text().toStdString(),
            "N" + std::to_string(lines) + " G01 X-21.375 Z-3.363");
  EXPECT_TRUE(v.text()->isReadOnly());
  keyboard::type("G00");
  EXPECT_EQ(v.text()->blockCount(), lines);
  EXPECT_EQ(v.text()->document()->firstBlock().text(), "N1 G01 X-21.375 Z-3.363");
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
  ASSERT_TRUE(editor::hasNcColouring(v.text()));
  QWidget* window = s.form->window();
  window->showMinimized();
  QTest::qWait(20);
  window->showNormal();
  EXPECT_TRUE(QTest::qWaitFor([&] { return v.text()->blockCount() == lines; }, 20000))
      << v.text()->blockCount();
  EXPECT_TRUE(s.window->operation<editor::FileViewOperation>()->showing());
  EXPECT_TRUE(editor::hasNcColouring(v.text()));
  keyboard::press(Qt::Key_Escape);
  v.expectEnded();
  EXPECT_FALSE(editor::hasNcColouring(v.text()));
}
