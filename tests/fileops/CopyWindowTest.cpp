// F4/C (copy), M and Shift+F3 (move) on the real main window: the copy
// prompt, the copy/move dialog with its history, and Path.lst on disk.

#include "FileOpsWindow.h"
#include "platform/Paths.h"

#include <QClipboard>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>

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
