// F4/C (copy), M and Shift+F3 (move) on the real main window: the copy
// prompt, the copy/move dialog with its history, and Path.lst on disk.

#include "FileOpsWindow.h"
#include "platform/DirectoryEnum.h"
#include "platform/Paths.h"
#include "support/RefusingVolume.h"

#include <QClipboard>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

using namespace kestrovan;
namespace keyboard = kestrovan::test::keyboard;
using base::MessageAnswer;
using test::readFile;
using test::writeFile;

namespace {

const char* kProgram = "%\r\nO1000(SAMPLE)\r\nG00X0Y0\r\nM30\r\n%\r\n";

struct Dialog {
  test::FileOpsWindow& w;
  files::TCopyForm* form() const { return w.form->findChild<files::TCopyForm*>("CopyForm"); }
  QComboBox* field() const { return form()->findChild<QComboBox*>("ComboBox1"); }
  QPushButton* ok() const { return form()->findChild<QPushButton*>("Button1"); }
  QPushButton* cancel() const { return form()->findChild<QPushButton*>("Button2"); }
  std::vector<std::string> names() const {
    std::vector<std::string> n;
    auto* list = form()->findChild<QListWidget*>("ListBox1");
    for (int i = 0; i < list->count(); ++i)
      n.push_back(list->item(i)->text().toStdString());
    return n;
  }
  void setDestination(const std::string& text) {
    field()->setEditText("");
    field()->setFocus();
    keyboard::type(text);
  }
  std::string history() const { return readFile(w.home.file("Path.lst")); }
};

} // namespace

TEST(CopyWindow, F4OnAFileCopiesUnderThePromptNameWithTheMasksExtension) {
  test::FileOpsWindow w;
  writeFile(w.data.file("O1000.NC"), kProgram);
  w.open("N");
  w.select("O1000.NC");
  w.key(Qt::Key_F4);
  EXPECT_EQ(w.message(), "コピー元 O1000.NC -->>>コピー後 ");
  EXPECT_TRUE(w.prompt()->hasFocus());
  EXPECT_EQ(w.prompt()->text(), "");
  // The dot is refused as typed and as pasted.
  w.type("A.");
  ASSERT_EQ(w.dialogs.shown.size(), 1u);
  EXPECT_EQ(w.dialogs.shown[0].text, "この文字はファイル名に使えません。\n/:,;*?<>|.");
  QApplication::clipboard()->setText("X.TXT");
  w.key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(w.dialogs.shown.size(), 2u);
  EXPECT_EQ(w.prompt()->text(), "A");
  w.type("BC");
  w.key(Qt::Key_Return);
  EXPECT_EQ(readFile(w.data.file("ABC.NC")), kProgram);
  EXPECT_EQ(w.message(), "ファイルコピー完了");
  EXPECT_NE(w.rowOf("ABC.NC"), -1);
  EXPECT_TRUE(w.list()->isEnabled());
  EXPECT_FALSE(w.prompt()->isEnabled());
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.message().empty(); }, 3000));

  // A read-only target is not written over: told, kept.
  writeFile(w.data.file("RO.NC"), "kept");
  chmod(w.data.file("RO.NC").c_str(), 0444);
  w.select("O1000.NC");
  w.key(Qt::Key_C);
  w.type("RO");
  w.key(Qt::Key_Return);
  EXPECT_EQ(readFile(w.data.file("RO.NC")), "kept");
  EXPECT_EQ(w.dialogs.shown.back().text, w.data.file("RO.NC") + " は読み取り専用のため置き換えられません。");
  EXPECT_NE(w.message(), "ファイルコピー完了");
}

TEST(CopyWindow, F4WithMarksCopiesThroughTheDialogAndKeepsTheDestinationAsTyped) {
  test::FileOpsWindow w;
  writeFile(w.data.file("O1.NC"), "one");
  writeFile(w.data.file("O2.NC"), "two");
  writeFile(w.data.file("O3.NC"), "three");
  test::TempDir dest;
  w.open();
  w.mark({"O3.NC", "O1.NC"});
  w.key(Qt::Key_F4);
  Dialog d{w};
  ASSERT_TRUE(d.form()->isVisible());
  EXPECT_EQ(d.form()->windowTitle(), "ﾌｧｲﾙｺﾋﾟｰ");
  EXPECT_EQ(d.form()->findChild<QLabel*>("Label2")->text(), "ｺﾋﾟｰ先");
  EXPECT_EQ(d.names(), (std::vector<std::string>{"O3.NC", "O1.NC"})); // marking order
  EXPECT_FALSE(w.form->fileList().isMarked(w.rowOf("O1.NC")));
  EXPECT_FALSE(d.ok()->isEnabled()); // no Path.lst yet
  d.setDestination(dest.path() + "/");
  EXPECT_TRUE(d.ok()->isEnabled());
  d.ok()->click();
  EXPECT_FALSE(d.form()->isVisible());
  EXPECT_EQ(readFile(dest.file("O3.NC")), "three");
  EXPECT_EQ(readFile(dest.file("O1.NC")), "one");
  EXPECT_FALSE(test::fileExists(dest.file("O2.NC")));
  EXPECT_EQ(w.dialogs.shown.back().title, "完了");
  EXPECT_EQ(w.dialogs.shown.back().text, "ファイルをコピーしました。");
  EXPECT_EQ(d.history(), dest.path() + "/\r\n"); // as typed
  EXPECT_EQ(w.form->fileList().marks().count(), 0);

  // A second copy onto the same names asks per file: No keeps, Yes replaces.
  writeFile(dest.file("O1.NC"), "old");
  w.mark({"O1.NC"});
  w.key(Qt::Key_C);
  EXPECT_EQ(d.field()->currentText().toStdString(), dest.path() + "/");
  w.dialogs.answers = {MessageAnswer::No};
  d.ok()->click();
  EXPECT_EQ(readFile(dest.file("O1.NC")), "old");
  EXPECT_EQ(w.dialogs.shown.at(w.dialogs.shown.size() - 2).buttons, base::MessageButtons::YesNoAllCancel);
}

TEST(CopyWindow, TheSameFolderIsRefusedInAnyLetterCaseAndTheDialogStaysOpen) {
  test::FileOpsWindow w;
  mkdir(w.data.file("nc").c_str(), 0755);
  mkdir(w.data.file("NC").c_str(), 0755); // another folder here, the same on a case-blind disk
  mkdir(w.data.file("nc/SUB").c_str(), 0755);
  w.open();
  w.settings().DirPath = w.data.file("nc");
  w.form->refreshFileList();
  w.select("SUB");
  w.key(Qt::Key_C);
  Dialog d{w};
  ASSERT_TRUE(d.form()->isVisible());
  EXPECT_EQ(d.names(), std::vector<std::string>{"SUB"});
  d.setDestination(w.data.file("NC/"));
  d.ok()->click();
  ASSERT_EQ(w.dialogs.shown.size(), 1u);
  EXPECT_EQ(w.dialogs.shown.back().text, w.data.file("nc") + "のﾌｫﾙﾀﾞｰにはｺﾋﾟｰは出来ません。");
  EXPECT_EQ(w.dialogs.shown.back().buttons, base::MessageButtons::Yes);
  EXPECT_TRUE(d.form()->isVisible());
  EXPECT_FALSE(test::fileExists(w.data.file("NC/SUB")));
  // A destination that does not exist: No falls back to the data folder,
  // which is refused the same way.
  d.setDestination(w.data.file("NEW/DEEP"));
  d.ok()->click();
  ASSERT_EQ(w.dialogs.shown.size(), 3u);
  EXPECT_EQ(w.dialogs.shown.at(1).text, "ディレクトリが見つかりません。ディレクトリを作成しますか？");
  EXPECT_EQ(d.field()->currentText().toStdString(), w.settings().DirPath);
  EXPECT_TRUE(d.form()->isVisible());
  // Yes creates it with every level and copies.
  d.setDestination(w.data.file("NEW/DEEP"));
  w.dialogs.answers = {MessageAnswer::Yes};
  d.ok()->click();
  EXPECT_FALSE(d.form()->isVisible());
  EXPECT_TRUE(platform::isDirectory(w.data.file("NEW/DEEP/SUB")));
}

TEST(CopyWindow, TheHistoryKeepsTwentyNewestFirstAndCancelStillRewritesIt) {
  test::FileOpsWindow w;
  writeFile(w.data.file("O1.NC"), "one");
  test::TempDir dest;
  std::string lines;
  for (int i = 1; i <= 20; ++i)
    lines += "/nc/" + std::to_string(i) + "\n"; // LF only, as edited by hand
  writeFile(w.home.file("Path.lst"), lines);
  w.open();
  w.select("O1.NC");
  w.key(Qt::Key_M);
  Dialog d{w};
  ASSERT_TRUE(d.form()->isVisible());
  EXPECT_EQ(d.form()->windowTitle(), "ﾌｧｲﾙ移動");
  EXPECT_EQ(d.field()->currentText(), "/nc/1");
  EXPECT_TRUE(d.ok()->isEnabled());
  d.cancel()->click();
  std::string crlf;
  for (int i = 1; i <= 20; ++i)
    crlf += "/nc/" + std::to_string(i) + "\r\n";
  EXPECT_EQ(d.history(), crlf);
  EXPECT_TRUE(test::fileExists(w.data.file("O1.NC")));

  // A 21st destination pushes the oldest out.
  w.key(Qt::Key_M);
  d.setDestination(dest.path());
  d.ok()->click();
  EXPECT_EQ(readFile(dest.file("O1.NC")), "one");
  EXPECT_FALSE(test::fileExists(w.data.file("O1.NC")));
  EXPECT_EQ(w.dialogs.shown.back().text, "ファイルを移動しました。");
  std::string expected = dest.path() + "\r\n";
  for (int i = 1; i <= 19; ++i)
    expected += "/nc/" + std::to_string(i) + "\r\n";
  EXPECT_EQ(d.history(), expected);
  // A repeated one moves to the top, once.
  writeFile(w.data.file("O2.NC"), "two");
  w.form->refreshFileList();
  w.select("O2.NC");
  w.key(Qt::Key_F3, Qt::ShiftModifier);
  d.setDestination("/nc/7");
  d.cancel()->click(); // typed, not accepted: no entry
  EXPECT_EQ(d.history(), expected);
  w.key(Qt::Key_F3, Qt::ShiftModifier);
  d.field()->setCurrentIndex(8); // "/nc/8"
  EXPECT_EQ(d.field()->currentText(), "/nc/8");
  w.dialogs.answers = {MessageAnswer::No}; // /nc/8 does not exist: No, the data folder, refused
  d.ok()->click();
  d.cancel()->click();
  const std::string h = d.history();
  EXPECT_EQ(h.substr(0, 7), "/nc/8\r\n");
  EXPECT_EQ(h.find("/nc/8\r\n", 1), std::string::npos);
  EXPECT_EQ(std::count(h.begin(), h.end(), '\n'), 20);
}

TEST(CopyWindow, TheTypedFolderIsTheOneUsedNotAHistoryFolderItBegins) {
  test::FileOpsWindow w;
  writeFile(w.data.file("O1.NC"), "one");
  test::TempDir dest;
  ASSERT_TRUE(std::filesystem::create_directory(dest.file("NC2")));
  writeFile(dest.file("NC2/O1.NC"), "another machine's O1");
  writeFile(w.home.file("Path.lst"), dest.path() + "/NC2\r\n");
  ASSERT_TRUE(std::filesystem::create_directory(dest.file("NC")));
  w.open();
  w.mark({"O1.NC"});
  w.key(Qt::Key_F4);
  Dialog d{w};
  ASSERT_TRUE(d.form()->isVisible());
  // Typed with the dialog active, as the operator types: the history's
  // longer folder must not complete what was typed.
  QApplication::setActiveWindow(d.form());
  d.setDestination(dest.path() + "/NC");
  EXPECT_EQ(d.field()->currentText().toStdString(), dest.path() + "/NC");
  keyboard::press(Qt::Key_Return);
  EXPECT_EQ(readFile(dest.file("NC/O1.NC")), "one");
  EXPECT_EQ(readFile(dest.file("NC2/O1.NC")), "another machine's O1");
}

// What the operator picked is what goes: a link as the program it points to,
// a link to a folder as that folder with everything in it. Copied as links,
// relative ones pointed at nothing at the destination.
TEST(CopyWindow, ALinkIsCopiedAsWhatItPointsToAndALinkToAFolderAsTheFolder) {
  test::FileOpsWindow w;
  test::TempDir dest;
  mkdir(w.data.file("masters").c_str(), 0755);
  mkdir(w.data.file("masters/JOB").c_str(), 0755);
  writeFile(w.data.file("masters/O1000.NC"), kProgram);
  writeFile(w.data.file("masters/JOB/O2000.NC"), "two");
  ASSERT_EQ(symlink("masters/O1000.NC", w.data.file("LINK.NC").c_str()), 0);
  ASSERT_EQ(symlink("masters/JOB", w.data.file("JOBLINK").c_str()), 0);
  w.open();
  Dialog d{w};

  w.mark({"LINK.NC"});
  w.key(Qt::Key_F4);
  ASSERT_TRUE(d.form()->isVisible());
  QApplication::setActiveWindow(d.form());
  d.setDestination(dest.path());
  keyboard::press(Qt::Key_Return);
  EXPECT_FALSE(d.form()->isVisible());
  EXPECT_EQ(w.dialogs.shown.back().text, "ファイルをコピーしました。");

  w.select("JOBLINK"); // a folder row
  w.key(Qt::Key_C);
  ASSERT_TRUE(d.form()->isVisible());
  QApplication::setActiveWindow(d.form());
  EXPECT_EQ(d.field()->currentText().toStdString(), dest.path());
  keyboard::press(Qt::Key_Return);
  EXPECT_FALSE(d.form()->isVisible());
  EXPECT_EQ(w.dialogs.shown.back().text, "ファイルをコピーしました。");

  struct stat st {};
  ASSERT_EQ(lstat(dest.file("LINK.NC").c_str(), &st), 0);
  EXPECT_TRUE(S_ISREG(st.st_mode));
  EXPECT_EQ(readFile(dest.file("LINK.NC")), kProgram);
  ASSERT_EQ(lstat(dest.file("JOBLINK").c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(readFile(dest.file("JOBLINK/O2000.NC")), "two");
  // The links themselves stay as they were.
  ASSERT_EQ(lstat(w.data.file("LINK.NC").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  ASSERT_EQ(lstat(w.data.file("JOBLINK").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
}

// A folder copied or moved into a new folder of its own is refused before
// the creation is offered: nothing is made, the dialog stays open.
TEST(CopyWindow, AFolderIntoANewFolderInsideItIsRefusedBeforeAnythingIsMade) {
  test::FileOpsWindow w;
  mkdir(w.data.file("NC").c_str(), 0755);
  writeFile(w.data.file("NC/O1.NC"), "one");
  w.open();
  Dialog d{w};
  for (const auto& [key, text] : {std::pair{Qt::Key_C, "コピー"}, std::pair{Qt::Key_M, "移動"}}) {
    w.dialogs.shown.clear();
    w.select("NC");
    w.key(key);
    ASSERT_TRUE(d.form()->isVisible());
    QApplication::setActiveWindow(d.form());
    d.setDestination(w.data.file("NC/NEW/DEEP"));
    w.dialogs.answers = {MessageAnswer::Ok};
    keyboard::press(Qt::Key_Return);
    ASSERT_EQ(w.dialogs.shown.size(), 1u) << w.dialogs.shown.at(0).text;
    EXPECT_EQ(w.dialogs.shown[0].text,
              "フォルダー " + w.data.file("NC") + " は、その中へは" + text + "できません。");
    EXPECT_TRUE(d.form()->isVisible());
    EXPECT_FALSE(test::fileExists(w.data.file("NC/NEW")));
    EXPECT_EQ(platform::listNames(w.data.file("NC")), std::vector<std::string>{"O1.NC"});
    d.cancel()->click();
  }
}

// Folders that cannot be read are named in the copy's failure box, no
// "完了" follows, and no empty folder stands for them at the destination.
TEST(RefusingVolume, ACopyDialogTellsTheFoldersItCouldNotReadAndMakesNoEmptyOnes) {
  KESTROVAN_ON_REFUSING_VOLUME();
  test::FileOpsWindow w;
  test::TempDir dest;
  mkdir(w.data.file("NC").c_str(), 0755);
  writeFile(w.data.file("NC/O1.NC"), "one");
  mkdir(w.data.file("NC/LOCKED").c_str(), 0755);
  writeFile(w.data.file("NC/LOCKED/O2.NC"), "two");
  mkdir(w.data.file("SHUT").c_str(), 0755);
  writeFile(w.data.file("SHUT/O3.NC"), "three");
  setenv("KESTROVAN_SHIM_UNREADABLE", (w.data.file("NC/LOCKED") + ":" + w.data.file("SHUT")).c_str(), 1);
  w.open();
  Dialog d{w};
  for (const char* folder : {"NC", "SHUT"}) {
    w.dialogs.shown.clear();
    w.select(folder);
    w.key(Qt::Key_C);
    ASSERT_TRUE(d.form()->isVisible());
    QApplication::setActiveWindow(d.form());
    d.setDestination(dest.path());
    keyboard::press(Qt::Key_Return);
    EXPECT_FALSE(d.form()->isVisible());
    ASSERT_EQ(w.dialogs.shown.size(), 1u) << w.dialogs.shown.at(0).text;
    EXPECT_EQ(w.dialogs.shown[0].title, "ﾌｧｲﾙｺﾋﾟｰ");
    EXPECT_EQ(w.dialogs.shown[0].icon, base::MessageIcon::Error);
    const std::string locked = w.data.file(std::string(folder) == "NC" ? "NC/LOCKED" : "SHUT");
    EXPECT_NE(w.dialogs.shown[0].text.find(locked), std::string::npos) << w.dialogs.shown[0].text;
    EXPECT_NE(w.dialogs.shown[0].text.find("コピーできませんでした"), std::string::npos);
  }
  unsetenv("KESTROVAN_SHIM_UNREADABLE");
  EXPECT_EQ(readFile(dest.file("NC/O1.NC")), "one");
  EXPECT_FALSE(test::fileExists(dest.file("NC/LOCKED")));
  EXPECT_FALSE(test::fileExists(dest.file("SHUT")));
  EXPECT_EQ(readFile(w.data.file("NC/LOCKED/O2.NC")), "two");
  EXPECT_EQ(readFile(w.data.file("SHUT/O3.NC")), "three");
}
