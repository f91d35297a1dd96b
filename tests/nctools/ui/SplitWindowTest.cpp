// B on the real main window: the split dialog, its destination field,
// options menu and history, and the files it leaves on disk.

#include "FileSystems.h"
#include "ToolWindow.h"
#include "base/HistoryList.h"
#include "support/Keyboard.h"
#include "support/Samples.h"
#include "support/WrittenPrograms.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>

#include <cstdio>
#include <filesystem>

using namespace kestrovan;
namespace keyboard = kestrovan::test::keyboard;
using base::MessageAnswer;
using base::MessageIcon;
using test::readFile;
using test::writeFile;

namespace {

const char* const kSevenLines = "%\r\nO0001\r\nG0X0\r\nM30\r\nO0002(PART B)\r\nM30\r\n%\r\n";

struct Split {
  test::ToolWindow& w;
  QDialog* form() const { return w.dialog("DividesForm"); }
  QComboBox* field() const { return w.in<QComboBox>("DividesForm", "ComboBox1"); }
  QPushButton* ok() const { return w.in<QPushButton>("DividesForm", "Button1"); }
  QAction* option(const char* name) const { return form()->findChild<QAction*>(name); }
  void enter() { keyboard::press(Qt::Key_Return); }
  void open(const std::string& file) {
    w.select(file);
    w.key(Qt::Key_B);
    ASSERT_TRUE(form()->isVisible());
  }
};

} // namespace

TEST(SplitWindow, BSplitsTheSelectedFileIntoTheTypedFolderByteForByte) {
  test::ToolWindow w;
  writeFile(w.data.file("TWO.NC"), kSevenLines);
  test::TempDir dest;
  w.open();
  Split s{w};
  s.open("TWO.NC");
  EXPECT_EQ(s.form()->windowTitle(), "Ｏ番号毎分割");
  EXPECT_EQ(w.in<QLabel>("DividesForm", "Label1")->text(), "TWO.NC");
  EXPECT_EQ(s.field()->currentText().toStdString(), w.settings().DirPath); // no Path.lst yet
  EXPECT_TRUE(s.ok()->isEnabled());
  EXPECT_EQ(s.form()->focusWidget(), s.field());
  auto* bar = w.in<QProgressBar>("DividesForm", "ProgressBar1");
  EXPECT_EQ(bar->maximum(), 7);
  EXPECT_EQ(bar->value(), 0);
  for (const char* name : {"F_Set", "B_Set", "N_Set"})
    EXPECT_FALSE(s.option(name)->isChecked()) << name;

  // Refused as typed and as pasted; the colon and the dot go in.
  s.field()->setEditText("");
  test::ToolWindow::typeInto(s.field()->lineEdit(), "a*.;:");
  EXPECT_EQ(s.field()->currentText(), "a.:");
  ASSERT_EQ(w.dialogs.shown.size(), 2u);
  EXPECT_EQ(w.dialogs.shown[0].title, "確認");
  EXPECT_EQ(w.dialogs.shown[0].text, "この文字はフォルダー名に使えません。\n\\,;*?<>|");
  EXPECT_EQ(w.dialogs.shown[0].icon, MessageIcon::Stop);
  s.field()->setEditText("");
  EXPECT_FALSE(s.ok()->isEnabled());
  s.enter(); // nothing happens on an empty field
  EXPECT_TRUE(s.form()->isVisible());
  EXPECT_EQ(w.dialogs.shown.size(), 2u);

  // A folder one level below the destination, missing: Yes makes it.
  w.dialogs.shown.clear();
  test::ToolWindow::setField(s.field(), dest.path() + "/NC/");
  w.dialogs.answers = {MessageAnswer::Yes};
  s.enter();
  ASSERT_GE(w.dialogs.shown.size(), 2u);
  EXPECT_EQ(w.dialogs.shown[0].text, "ディレクトリが見つかりません。ディレクトリを作成しますか？");
  EXPECT_EQ(w.dialogs.shown[0].buttons, base::MessageButtons::YesNo);
  EXPECT_EQ(w.lastBox().title, "完了");
  EXPECT_EQ(w.lastBox().text, "Ｏ番号毎に分割完了しました。");
  EXPECT_EQ(w.lastBox().icon, MessageIcon::Information);
  EXPECT_FALSE(s.form()->isVisible());
  EXPECT_EQ(test::namesIn(dest.file("NC")), (std::vector<std::string>{"O0001.NC", "O0002.NC"}));
  EXPECT_EQ(readFile(dest.file("NC/O0001.NC")), "O0001\r\nG0X0\r\nM30\r\n");
  EXPECT_EQ(readFile(dest.file("NC/O0002.NC")), "O0002(PART B)\r\nM30\r\n");
  EXPECT_EQ(w.listed("DividesForm"), (std::vector<std::string>{"O0001", "O0002(PART B)"}));
  EXPECT_EQ(bar->value(), 7);
  EXPECT_EQ(readFile(w.home.file("Path.lst")), dest.path() + "/NC/\r\n");
  EXPECT_EQ(readFile(w.home.file("Div_Sub.ini")), "[Sub]\r\nF_Set=0\r\nB_Set=0\r\nN_Set=0\r\n");

  // Again with "%" at both ends: the options are remembered, the history
  // brings the folder back.
  s.open("TWO.NC");
  EXPECT_TRUE(w.listed("DividesForm").empty());
  EXPECT_EQ(s.field()->currentText().toStdString(), dest.path() + "/NC/");
  s.option("F_Set")->trigger();
  s.option("B_Set")->trigger();
  EXPECT_TRUE(s.option("F_Set")->isChecked());
  s.ok()->click();
  EXPECT_EQ(readFile(dest.file("NC/O0001.NC")), "%\r\nO0001\r\nG0X0\r\nM30\r\n%\r\n");
  EXPECT_EQ(readFile(dest.file("NC/O0002.NC")), "%\r\nO0002(PART B)\r\nM30\r\n%\r\n");
  EXPECT_EQ(readFile(w.home.file("Div_Sub.ini")), "[Sub]\r\nF_Set=1\r\nB_Set=1\r\nN_Set=0\r\n");

  // Numbered names; F_Set and B_Set cleared again; Cancel still saves them.
  s.open("TWO.NC");
  EXPECT_TRUE(s.option("B_Set")->isChecked());
  s.option("F_Set")->trigger();
  s.option("B_Set")->trigger();
  s.option("N_Set")->trigger();
  s.ok()->click();
  EXPECT_EQ(readFile(dest.file("NC/O0001_001.NC")), "O0001\r\nG0X0\r\nM30\r\n");
  EXPECT_EQ(readFile(dest.file("NC/O0002_002.NC")), "O0002(PART B)\r\nM30\r\n");
  s.open("TWO.NC");
  s.option("N_Set")->trigger();
  w.in<QPushButton>("DividesForm", "Button2")->click();
  EXPECT_FALSE(s.form()->isVisible());
  EXPECT_EQ(readFile(w.home.file("Div_Sub.ini")), "[Sub]\r\nF_Set=0\r\nB_Set=0\r\nN_Set=0\r\n");
}

TEST(SplitWindow, TheFolderBrowserTheMissingFolderRefusedAndTheHistory) {
  test::ToolWindow w;
  writeFile(w.data.file("TWO.NC"), kSevenLines);
  test::TempDir dest;
  // Path.lst as the copy dialog left it, 20 folders.
  std::string lst;
  for (int i = 1; i <= 20; ++i)
    lst += "/old/" + std::to_string(i) + "\r\n";
  writeFile(w.home.file("Path.lst"), lst);
  w.open();
  Split s{w};
  s.open("TWO.NC");
  EXPECT_EQ(s.field()->currentText(), "/old/1");
  EXPECT_EQ(s.field()->count(), 20);

  // "...": the browser's folder, or the data folder when it is cancelled.
  w.browser.answer = dest.path();
  w.in<QPushButton>("DividesForm", "Button3")->click();
  EXPECT_EQ(w.browser.captions.back(), "現ﾃﾞｨﾚｸﾄﾘ " + w.settings().DirPath);
  EXPECT_EQ(w.browser.starts.back(), w.settings().DirPath);
  EXPECT_EQ(s.field()->currentText().toStdString(), dest.path());
  w.browser.answer.reset();
  w.in<QPushButton>("DividesForm", "Button3")->click();
  EXPECT_EQ(s.field()->currentText().toStdString(), w.settings().DirPath);
  EXPECT_EQ(s.form()->focusWidget(), s.field());

  // A missing folder and No: nothing made, nothing written, the dialog
  // stays with the newest history entry in the box.
  test::ToolWindow::setField(s.field(), dest.path() + "/MISSING");
  w.dialogs.answers = {MessageAnswer::No};
  s.enter();
  EXPECT_TRUE(s.form()->isVisible());
  EXPECT_FALSE(test::fileExists(dest.file("MISSING")));
  EXPECT_EQ(s.field()->currentText().toStdString(), dest.path() + "/MISSING");
  EXPECT_TRUE(s.ok()->isEnabled());

  // The folder that exists, typed with its trailing "/": it goes to the top,
  // the oldest entries fall off, nothing twice.
  test::ToolWindow::setField(s.field(), dest.path() + "/");
  s.ok()->click();
  EXPECT_FALSE(s.form()->isVisible());
  EXPECT_EQ(test::namesIn(dest.path()), (std::vector<std::string>{"O0001.NC", "O0002.NC"}));
  const base::HistoryList saved = base::HistoryList::load(w.home.file("Path.lst"));
  ASSERT_EQ(saved.entries().size(), 20u);
  EXPECT_EQ(saved.entries()[0], dest.path() + "/");
  EXPECT_EQ(saved.entries()[1], dest.path() + "/MISSING");
  EXPECT_EQ(saved.entries()[2], "/old/1");
  EXPECT_EQ(saved.entries()[19], "/old/18");

  // A folder the history holds already moves to the top.
  s.open("TWO.NC");
  test::ToolWindow::setField(s.field(), "/old/3");
  s.enter(); // missing; the default answer No
  w.in<QPushButton>("DividesForm", "Button2")->click();
  const std::vector<std::string> after = base::HistoryList::load(w.home.file("Path.lst")).entries();
  ASSERT_EQ(after.size(), 20u);
  EXPECT_EQ(after[0], "/old/3");
  EXPECT_EQ(std::count(after.begin(), after.end(), "/old/3"), 1);
  EXPECT_EQ(after[1], dest.path() + "/");
}

namespace {

// B on a Shift-JIS file of three programs, then on a file without program
// numbers; the keys go to whatever has the focus.
void expectShiftJisSplitAndNoneWithoutNumbers(const std::string& source,
                                              const std::vector<std::string>& outputs,
                                              const std::vector<std::string>& headers) {
  test::ToolWindow w;
  writeFile(w.data.file("MULTI.NC"), source);
  writeFile(w.data.file("NONE.NC"), "%\r\nG00X0\r\no100\r\nM30\r\n%\r\n");
  test::TempDir dest;
  writeFile(w.home.file("Path.lst"), dest.path() + "\r\n");
  w.open();
  Split s{w};
  w.list()->selectRow(w.rowOf("MULTI.NC"));
  test::keyboard::press(Qt::Key_B);
  ASSERT_TRUE(s.form()->isVisible()) << "B went to " << test::keyboard::focusName();
  s.ok()->click();
  const std::vector<std::string> names = test::namesIn(dest.path());
  ASSERT_EQ(names, outputs);
  // Every line of the outputs, in order, is a line of the source, comments
  // in Shift-JIS included; together they are the source less its "%" lines.
  std::string joined;
  for (const std::string& n : names)
    joined += readFile(dest.file(n));
  std::string expected;
  for (std::size_t at = 0; at < source.size();) {
    std::size_t end = source.find('\n', at);
    if (end == std::string::npos) end = source.size();
    std::string line = source.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] != '%') expected += line + "\r\n";
    at = end + 1;
  }
  EXPECT_EQ(joined, expected);
  EXPECT_NE(joined.find('\x82'), std::string::npos); // two-byte text came through
  EXPECT_EQ(w.listed("DividesForm"), headers);

  w.list()->selectRow(w.rowOf("NONE.NC"));
  test::keyboard::press(Qt::Key_B);
  ASSERT_TRUE(s.form()->isVisible()) << "B went to " << test::keyboard::focusName();
  s.ok()->click();
  EXPECT_EQ(w.lastBox().title, "中止");
  EXPECT_EQ(w.lastBox().text, "プログラム番号が見つかりませんでした。。");
  EXPECT_EQ(w.lastBox().icon, MessageIcon::Warning);
  EXPECT_FALSE(s.form()->isVisible());
  EXPECT_EQ(test::namesIn(dest.path()).size(), 3u);
}

} // namespace

TEST(SplitWindow, AShiftJisFileAndAFileWithoutProgramNumbers) {
  expectShiftJisSplitAndNoneWithoutNumbers(test::written::shiftJisPrograms(),
                                           {"O2001.NC", "O2002.NC", "O2003.NC"},
                                           test::written::shiftJisHeaders());
}

TEST(SplitWindow, TheShiftJisSampleAndAFileWithoutProgramNumbers) {
  KESTROVAN_NEEDS_SAMPLES("MULTI_PROGRAM_SJIS_O1001_O1003.NC");
  expectShiftJisSplitAndNoneWithoutNumbers(
      test::sample("MULTI_PROGRAM_SJIS_O1001_O1003.NC"), {"O1001.NC", "O1002.NC", "O1003.NC"},
      {"O1001(荒加工 ポケット)", "O1002(仕上げ 穴あけ)", "O1003(メイン)"});
}

TEST(SplitWindow, AnUnwritableDestinationAndAFullDiskLeaveNoHalfFile) {
  test::ToolWindow w;
  writeFile(w.data.file("TWO.NC"), kSevenLines);
  test::TempDir dest;
  test::TempDir parent;
  writeFile(parent.file("FILE"), "a file");
  w.open();
  Split s{w};

  // A destination that is a file: it cannot be made a folder, and the first
  // file is told as the one that cannot be created.
  s.open("TWO.NC");
  test::ToolWindow::setField(s.field(), parent.file("FILE"));
  w.dialogs.answers = {MessageAnswer::Yes};
  s.enter();
  EXPECT_EQ(w.lastBox().text, "ファイル " + parent.file("FILE") + "/O0001.NC を作成できません");
  EXPECT_TRUE(s.form()->isVisible());
  EXPECT_FALSE(s.ok()->isEnabled());
  test::ToolWindow::typeInto(s.field()->lineEdit(), "X"); // OK stays off until closed
  EXPECT_FALSE(s.ok()->isEnabled());
  EXPECT_EQ(readFile(parent.file("FILE")), "a file");
  w.in<QPushButton>("DividesForm", "Button2")->click();
  EXPECT_FALSE(s.form()->isVisible());

  {
    test::ReadOnlyFolder readOnly(dest.path());
    if (!readOnly.ok()) GTEST_SKIP() << "cannot make a read-only folder here";
    s.open("TWO.NC");
    test::ToolWindow::setField(s.field(), dest.path());
    s.enter();
    EXPECT_EQ(w.lastBox().text, "ファイル " + dest.file("O0001.NC") + " を作成できません");
    EXPECT_TRUE(test::namesIn(dest.path()).empty());
    w.in<QPushButton>("DividesForm", "Button2")->click();
  }

  // A full file system in the second program: the first file whole, the
  // second neither under its name nor as a working copy.
  test::TempDir small;
  if (!test::mountSmallTmpfs(small.path(), 64 << 10)) GTEST_SKIP() << "no mount namespace here";
  std::string big = "O0001\r\nM30\r\nO0002\r\n";
  for (int i = 0; i < 20000; ++i)
    big += "G01X" + std::to_string(i) + ".Y1.\r\n";
  writeFile(w.data.file("BIG.NC"), big);
  w.form->refreshFileList();
  s.open("BIG.NC");
  test::ToolWindow::setField(s.field(), small.path());
  s.enter();
  EXPECT_EQ(w.lastBox().text, "ファイル " + small.file("O0002.NC") + " を作成できません");
  EXPECT_EQ(test::namesIn(small.path()), (std::vector<std::string>{"O0001.NC"}));
  EXPECT_EQ(readFile(small.file("O0001.NC")), "O0001\r\nM30\r\n");
  w.in<QPushButton>("DividesForm", "Button2")->click();
}

TEST(SplitWindow, TheFileBeingSplitIsNeverWrittenOver) {
  // A program dump named after its first program, split into its own folder
  // (the box shows the data folder when there is no history).
  test::ToolWindow w;
  const std::string dump = "%\r\nO0001\r\nG0X0\r\nM30\r\nO0002\r\nM30\r\n%\r\n";
  writeFile(w.data.file("O0001.NC"), dump);
  writeFile(w.data.file("O0002.NC"), "older\r\n");
  w.open();
  Split s{w};
  s.open("O0001.NC");
  EXPECT_EQ(s.field()->currentText().toStdString(), w.settings().DirPath);
  s.enter();
  EXPECT_EQ(w.lastBox().text, "ファイル " + w.data.file("O0001.NC") + " を作成できません");
  EXPECT_EQ(readFile(w.data.file("O0001.NC")), dump);
  EXPECT_EQ(readFile(w.data.file("O0002.NC")), "older\r\n");
  EXPECT_EQ(test::namesIn(w.data.path()), (std::vector<std::string>{"O0001.NC", "O0002.NC"}));
  EXPECT_TRUE(s.form()->isVisible());
  EXPECT_FALSE(s.ok()->isEnabled());
  w.in<QPushButton>("DividesForm", "Button2")->click();

  // Into another folder the same file splits as usual.
  test::TempDir dest;
  s.open("O0001.NC");
  test::ToolWindow::setField(s.field(), dest.path());
  s.enter();
  EXPECT_EQ(w.lastBox().text, "Ｏ番号毎に分割完了しました。");
  EXPECT_EQ(readFile(dest.file("O0001.NC")), "O0001\r\nG0X0\r\nM30\r\n");
  EXPECT_EQ(readFile(w.data.file("O0001.NC")), dump);
}

TEST(SplitWindow, AFileGoneSinceItWasListedIsToldAndOpensNoDialog) {
  test::ToolWindow w;
  writeFile(w.data.file("TWO.NC"), kSevenLines);
  w.open();
  w.select("TWO.NC");
  ASSERT_EQ(std::remove(w.data.file("TWO.NC").c_str()), 0);
  w.key(Qt::Key_B);
  ASSERT_EQ(w.dialogs.shown.size(), 1u);
  EXPECT_EQ(w.lastBox().text, "ファイル " + w.data.file("TWO.NC") + " は開けません");
  EXPECT_FALSE(Split{w}.form()->isVisible());
  EXPECT_TRUE(test::namesIn(w.data.path()).empty());
}

TEST(SplitWindow, TheTypedFolderIsTheOneUsedNotAHistoryFolderItBegins) {
  test::ToolWindow w;
  writeFile(w.data.file("TWO.NC"), kSevenLines);
  test::TempDir dest;
  ASSERT_TRUE(std::filesystem::create_directory(dest.file("NC2")));
  writeFile(dest.file("NC2/O0001.NC"), "another machine's O0001\r\n");
  writeFile(w.home.file("Path.lst"), dest.path() + "/NC2\r\n");
  w.open();
  Split s{w};
  s.open("TWO.NC");
  // Typed with the dialog active, as the operator types.
  QApplication::setActiveWindow(s.form());
  test::ToolWindow::setField(s.field(), dest.path() + "/NC");
  EXPECT_EQ(s.field()->currentText().toStdString(), dest.path() + "/NC");
  w.dialogs.answers = {MessageAnswer::Yes};
  s.enter();
  EXPECT_EQ(w.lastBox().text, "Ｏ番号毎に分割完了しました。");
  EXPECT_EQ(test::namesIn(dest.file("NC")), (std::vector<std::string>{"O0001.NC", "O0002.NC"}));
  EXPECT_EQ(readFile(dest.file("NC2/O0001.NC")), "another machine's O0001\r\n");
  EXPECT_EQ(test::namesIn(dest.file("NC2")), std::vector<std::string>{"O0001.NC"});
}
