// K and Shift+F4 on the real main window: the one-mark message, the join
// dialog with its name field and history, the overwrite question, the
// refusal to write over a file being joined, and the joined file on disk.

#include "FileSystems.h"
#include "ToolWindow.h"
#include "base/HistoryList.h"

#include <QClipboard>
#include <QLineEdit>

#include <cstdio>
#include <unistd.h>

using namespace kestrovan;
namespace keyboard = kestrovan::test::keyboard;
using base::MessageAnswer;
using base::MessageIcon;
using test::readFile;
using test::writeFile;

namespace {

struct Join {
  test::ToolWindow& w;
  QDialog* form() const { return w.dialog("PlusForm"); }
  QComboBox* field() const { return w.in<QComboBox>("PlusForm", "ComboBox1"); }
  QPushButton* ok() const { return w.in<QPushButton>("PlusForm", "Button1"); }
  void enter() { keyboard::press(Qt::Key_Return); }
};

} // namespace

TEST(JoinWindow, KWithOneMarkSaysSoAndClearsTheMark) {
  test::ToolWindow w;
  writeFile(w.data.file("A.NC"), "O1\r\n");
  writeFile(w.data.file("B.NC"), "O2\r\n");
  w.open();
  w.mark({"A.NC"});
  w.key(Qt::Key_K);
  ASSERT_EQ(w.dialogs.shown.size(), 1u);
  EXPECT_EQ(w.lastBox().title, "確認");
  EXPECT_EQ(w.lastBox().text, "選択されたﾌｧｲﾙが複数ありません。");
  EXPECT_EQ(w.lastBox().icon, MessageIcon::Error);
  EXPECT_FALSE(Join{w}.form()->isVisible());
  EXPECT_EQ(w.form->fileList().marks().count(), 0);
  EXPECT_FALSE(w.form->fileList().isMarked(w.rowOf("A.NC")));

  // Shift+F4 without a mark does nothing at all.
  w.key(Qt::Key_F4, Qt::ShiftModifier);
  EXPECT_EQ(w.dialogs.shown.size(), 1u);
  EXPECT_FALSE(Join{w}.form()->isVisible());
}

TEST(JoinWindow, KWithThreeMarksJoinsThemInMarkingOrder) {
  test::ToolWindow w;
  writeFile(w.data.file("A.NC"), "O1\r\nM30\r\n");
  writeFile(w.data.file("B.NC"), "O2\nM30"); // LF only, no last line end
  writeFile(w.data.file("C.NC"), "O3(\x83\x65\x83\x58\x83\x67)\r\n");
  writeFile(w.data.file("E.NC"), "");
  w.open("N");
  w.mark({"C.NC", "A.NC", "E.NC", "B.NC"});
  w.key(Qt::Key_K);
  Join j{w};
  ASSERT_TRUE(j.form()->isVisible());
  EXPECT_EQ(j.form()->windowTitle(), "ﾌｧｲﾙ結合");
  EXPECT_EQ(w.listed("PlusForm"), (std::vector<std::string>{"C.NC", "A.NC", "E.NC", "B.NC"}));
  EXPECT_EQ(w.form->fileList().marks().count(), 0);
  EXPECT_FALSE(j.ok()->isEnabled()); // no NAME.lst yet
  EXPECT_EQ(j.form()->focusWidget(), j.field());

  test::ToolWindow::typeInto(j.field()->lineEdit(), "AB.C/:");
  EXPECT_EQ(j.field()->currentText(), "ABC");
  ASSERT_EQ(w.dialogs.shown.size(), 3u);
  EXPECT_EQ(w.dialogs.shown[0].text, "この文字はファイル名に使えません。\n/:,;*?<>|.");
  EXPECT_EQ(w.dialogs.shown[0].icon, MessageIcon::Stop);
  // A paste that brings a refused character is taken back whole.
  QApplication::clipboard()->setText("D.E");
  keyboard::press(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(j.field()->currentText(), "ABC");
  ASSERT_EQ(w.dialogs.shown.size(), 4u);
  EXPECT_EQ(w.dialogs.shown[3].text, "この文字はファイル名に使えません。\n/:,;*?<>|.");
  // And so is the next one: a refusal leaves nothing behind that lets it in.
  QApplication::clipboard()->setText("F?");
  keyboard::press(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(j.field()->currentText(), "ABC");
  ASSERT_EQ(w.dialogs.shown.size(), 5u);
  EXPECT_TRUE(j.ok()->isEnabled());
  j.enter();
  EXPECT_EQ(w.lastBox().title, "完了");
  EXPECT_EQ(w.lastBox().text, "ファイル結合完了しました。");
  EXPECT_FALSE(j.form()->isVisible());
  EXPECT_EQ(readFile(w.data.file("ABC.NC")), "O3(\x83\x65\x83\x58\x83\x67)\r\nO1\r\nM30\r\nO2\r\nM30\r\n");
  EXPECT_EQ(readFile(w.home.file("NAME.lst")), "ABC\r\n");
  EXPECT_NE(w.rowOf("ABC.NC"), -1); // the list was refreshed

  // The name from the history already holds the extension: none is added;
  // the existing file is asked about, No keeps it and the dialog open.
  writeFile(w.home.file("NAME.lst"), "ABC.NC\r\nABC\r\n");
  w.mark({"A.NC", "B.NC"});
  w.key(Qt::Key_F4, Qt::ShiftModifier);
  ASSERT_TRUE(j.form()->isVisible());
  EXPECT_EQ(j.field()->currentText(), "ABC.NC");
  EXPECT_TRUE(j.ok()->isEnabled());
  w.dialogs.shown.clear();
  j.ok()->click();
  ASSERT_EQ(w.dialogs.shown.size(), 1u);
  EXPECT_EQ(w.lastBox().text, "すでに" + w.data.file("ABC.NC") + "が有ります。\n上書きしますか？");
  EXPECT_EQ(w.lastBox().buttons, base::MessageButtons::YesNo);
  EXPECT_TRUE(j.form()->isVisible());
  EXPECT_EQ(readFile(w.data.file("ABC.NC")), "O3(\x83\x65\x83\x58\x83\x67)\r\nO1\r\nM30\r\nO2\r\nM30\r\n");
  w.dialogs.answers = {MessageAnswer::Yes};
  j.ok()->click();
  EXPECT_EQ(readFile(w.data.file("ABC.NC")), "O1\r\nM30\r\nO2\r\nM30\r\n");
  EXPECT_FALSE(test::fileExists(w.data.file("ABC.NC.NC")));
  EXPECT_EQ(readFile(w.home.file("NAME.lst")), "ABC.NC\r\nABC\r\n"); // never twice
}

TEST(JoinWindow, TheJoinNameNeverNamesAFileBeingJoined) {
  test::ToolWindow w;
  writeFile(w.data.file("A.NC"), "O1\r\n");
  writeFile(w.data.file("B.NC"), "O2\r\n");
  ASSERT_EQ(symlink(w.data.file("B.NC").c_str(), w.data.file("LINK.NC").c_str()), 0);
  w.open();
  Join j{w};

  // A, with A.NC among the files: first the overwrite question, then Yes
  // brings the refusal, and nothing is written.
  w.mark({"A.NC", "B.NC"});
  w.key(Qt::Key_K);
  test::ToolWindow::typeInto(j.field()->lineEdit(), "A");
  w.dialogs.answers = {MessageAnswer::Yes};
  j.enter();
  ASSERT_EQ(w.dialogs.shown.size(), 2u);
  EXPECT_EQ(w.dialogs.shown[0].text, "すでに" + w.data.file("A.NC") + "が有ります。\n上書きしますか？");
  EXPECT_EQ(w.lastBox().title, "確認");
  EXPECT_EQ(w.lastBox().text, "この結合ﾌｧｲﾙ名は選択したﾌｧｲﾙに存在します。");
  EXPECT_EQ(w.lastBox().icon, MessageIcon::Stop);
  EXPECT_TRUE(j.form()->isVisible());
  EXPECT_EQ(j.form()->focusWidget(), j.field());
  EXPECT_EQ(readFile(w.data.file("A.NC")), "O1\r\n");

  // A link to one of them is the same file under another name.
  test::ToolWindow::setField(j.field(), "LINK");
  w.dialogs.answers = {MessageAnswer::Yes};
  j.enter();
  EXPECT_EQ(w.lastBox().text, "この結合ﾌｧｲﾙ名は選択したﾌｧｲﾙに存在します。");
  EXPECT_EQ(readFile(w.data.file("B.NC")), "O2\r\n");
  w.in<QPushButton>("PlusForm", "Button2")->click();
  EXPECT_FALSE(j.form()->isVisible());
  const std::vector<std::string> history = base::HistoryList::load(w.home.file("NAME.lst")).entries();
  EXPECT_EQ(history, (std::vector<std::string>{"LINK", "A"}));
}

TEST(JoinWindow, AFileGoneOrAnUnwritableFolderLeavesNothingBehind) {
  test::ToolWindow w;
  writeFile(w.data.file("A.NC"), "O1\r\n");
  writeFile(w.data.file("B.NC"), "O2\r\n");
  writeFile(w.data.file("GONE.NC"), "O3\r\n");
  w.open();
  Join j{w};

  // A marked file deleted before the join: told, and no joined file that
  // would look complete without it.
  w.mark({"A.NC", "GONE.NC", "B.NC"});
  w.key(Qt::Key_K);
  std::remove(w.data.file("GONE.NC").c_str());
  test::ToolWindow::typeInto(j.field()->lineEdit(), "AB");
  j.enter();
  EXPECT_EQ(w.lastBox().text, "ファイル " + w.data.file("GONE.NC") + " は開けません");
  EXPECT_TRUE(j.form()->isVisible());
  EXPECT_EQ(test::namesIn(w.data.path()), (std::vector<std::string>{"A.NC", "B.NC"}));
  w.in<QPushButton>("PlusForm", "Button2")->click();

  w.mark({"A.NC", "B.NC"});
  w.key(Qt::Key_K);
  test::ReadOnlyFolder readOnly(w.data.path());
  if (!readOnly.ok()) GTEST_SKIP() << "cannot make a read-only folder here";
  EXPECT_EQ(j.field()->currentText(), "AB"); // from the history
  j.enter();
  EXPECT_EQ(w.lastBox().text, "ファイル " + w.data.file("AB.NC") + " を作成できません");
  EXPECT_TRUE(j.form()->isVisible());
  EXPECT_EQ(test::namesIn(w.data.path()), (std::vector<std::string>{"A.NC", "B.NC"}));
  w.in<QPushButton>("PlusForm", "Button2")->click();
}

TEST(JoinWindow, TheTypedNameIsTheOneUsedNotAHistoryNameItBegins) {
  test::ToolWindow w;
  writeFile(w.data.file("A.NC"), "O1\r\n");
  writeFile(w.data.file("B.NC"), "O2\r\n");
  writeFile(w.data.file("ABC.NC"), "kept\r\n");
  writeFile(w.home.file("NAME.lst"), "ABC\r\n");
  w.open();
  w.mark({"A.NC", "B.NC"});
  w.key(Qt::Key_K);
  Join j{w};
  ASSERT_TRUE(j.form()->isVisible());
  QApplication::setActiveWindow(j.form());
  test::ToolWindow::setField(j.field(), "AB");
  EXPECT_EQ(j.field()->currentText(), "AB");
  j.enter();
  ASSERT_EQ(w.dialogs.shown.size(), 1u); // no question about ABC.NC
  EXPECT_EQ(w.lastBox().text, "ファイル結合完了しました。");
  EXPECT_EQ(readFile(w.data.file("AB.NC")), "O1\r\nO2\r\n");
  EXPECT_EQ(readFile(w.data.file("ABC.NC")), "kept\r\n");
}
