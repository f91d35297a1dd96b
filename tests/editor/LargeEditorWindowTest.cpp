// E on programs too large for the text control (a very long line, a file
// above 8 MB): the large-program area on the real main window, driven by keys,
// and the bytes it leaves on disk.
#include "editor/ui/EditorOperations.h"
#include "editor/ui/LargeTextArea.h"

#include "core/StartedForm.h"
#include "platform/Cp932.h"
#include "platform/FileMode.h"
#include "support/Keyboard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QToolButton>

using namespace kestrovan;
using base::MessageAnswer;
namespace keyboard = kestrovan::test::keyboard;

namespace {

int rowOf(const test::StartedForm& s, const std::string& name) {
  const files::FileList& list = s.form->fileList();
  for (int row = 0; row < static_cast<int>(list.rows().size()); ++row)
    if (const files::FileEntry* e = list.entryAt(row); e && e->name == name) return row;
  return -1;
}

struct LargeEditor {
  test::StartedForm& s;

  QGroupBox* box() const { return s.find<QGroupBox>("GroupBox3"); }
  editor::LargeTextArea* area() const { return s.find<editor::LargeTextArea>("LargeEditorText"); }
  std::string caption() const { return box()->title().toStdString(); }
  std::string field(int i) const {
    return s.find<QLabel>(("StatusBar3Field" + std::to_string(i)).c_str())->text().toStdString();
  }
  void click(const char* name) const { QTest::mouseClick(s.find<QToolButton>(name), Qt::LeftButton); }
  void editFile(const std::string& name) const {
    s.list()->selectRow(rowOf(s, name));
    keyboard::press(Qt::Key_E);
  }
  void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) const { keyboard::press(k, m); }
  void type(const std::string& ascii) const { keyboard::type(ascii); }
  // Characters as an input method commits them, to whatever has the keyboard.
  void commit(const char* utf8) const {
    keyboard::settle();
    QWidget* target = keyboard::target();
    ASSERT_NE(target, nullptr);
    QInputMethodEvent event;
    event.setCommitString(QString::fromUtf8(utf8));
    QApplication::sendEvent(target, &event);
    keyboard::settle();
  }
  bool allIn() const { return area()->loaded(); }
};

// A program with a line too long for the text control, line ends of every
// kind and a byte that is no CP932.
const std::string kLong(70000, 'X');
const std::string kProgram = "%\r\nO1\n" + kLong + "\r\nG01\xFF\r\r\nM30\r\n%";

} // namespace

TEST(LargeEditorWindow, TypingDeletingUndoAndSaveThroughTheKeysLeaveTheEditedBytesAndNoOthers) {
  test::StartedForm s;
  const std::string path = s.data.file("LONG.NC");
  test::writeFile(path, kProgram);
  s.start();
  LargeEditor e{s};
  e.editFile("LONG.NC");
  ASSERT_TRUE(e.box()->isVisible());
  ASSERT_TRUE(QTest::qWaitFor([&] { return e.allIn(); }, 10000));
  EXPECT_EQ(QApplication::focusWidget(), e.area()) << "the large area takes the keys";
  EXPECT_FALSE(s.find<QPlainTextEdit>("EditorText")->isVisible());
  EXPECT_EQ(e.caption(), "<編集>" + path + " - Kestrovan");
  EXPECT_EQ(e.field(1), "1 , 1");

  e.key(Qt::Key_End);
  e.type("Q");
  EXPECT_EQ(e.field(2), "＜変更＞");
  EXPECT_EQ(e.caption(), "<編集><変更>" + path + " - Kestrovan");
  e.key(Qt::Key_Down); // O1
  e.key(Qt::Key_Down); // the long line
  e.key(Qt::Key_End);
  EXPECT_EQ(e.field(1), "3 , 70001");
  e.key(Qt::Key_Backspace);
  e.key(Qt::Key_Down); // G01 and its byte
  e.key(Qt::Key_Home);
  e.key(Qt::Key_Delete);
  e.type("N5G");
  e.commit("あ");
  e.key(Qt::Key_End, Qt::ControlModifier);
  e.key(Qt::Key_Return);
  e.type("M02");
  e.key(Qt::Key_Backspace);
  // Undo takes back the Backspace, then the typing of "M02", one step each.
  e.key(Qt::Key_Z, Qt::ControlModifier);
  e.key(Qt::Key_Z, Qt::ControlModifier);
  e.key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_TRUE(s.dialogs.shown.empty());
  EXPECT_EQ(test::readFile(path), "%Q\r\nO1\n" + std::string(69999, 'X') +
                                      "\r\nN5G\x82\xA0"
                                      "01\xFF\r\r\nM30\r\n%\r\n");
  EXPECT_EQ(e.field(2), "");
  EXPECT_EQ(e.caption(), "<編集>" + path + " - Kestrovan");

  // Unchanged since the save: Esc ends the editing without a question.
  e.key(Qt::Key_Escape);
  EXPECT_FALSE(e.box()->isVisible());
  EXPECT_TRUE(s.dialogs.shown.empty());
  EXPECT_TRUE(s.list()->hasFocus());
}

TEST(LargeEditorWindow, EscOnAChangedTextAsksCancelKeepsTheChangesNoLeavesTheFileAsItWas) {
  test::StartedForm s;
  const std::string path = s.data.file("LONG.NC");
  test::writeFile(path, kProgram);
  s.start();
  LargeEditor e{s};
  e.editFile("LONG.NC");
  ASSERT_TRUE(QTest::qWaitFor([&] { return e.allIn(); }, 10000));
  e.key(Qt::Key_Delete);
  s.dialogs.answers = {MessageAnswer::Cancel};
  e.key(Qt::Key_Escape);
  ASSERT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_EQ(s.dialogs.shown[0].text, path + " への変更を保存しますか？");
  EXPECT_TRUE(e.box()->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), e.area());
  EXPECT_EQ(e.area()->table().text(), kProgram.substr(1));
  s.dialogs.answers = {MessageAnswer::No};
  e.key(Qt::Key_Escape);
  EXPECT_FALSE(e.box()->isVisible());
  EXPECT_EQ(test::readFile(path), kProgram);
}

TEST(LargeEditorWindow, AFailedSaveKeepsTheChangesAndWhatTheAreaDoesNotDoIsToldNotDone) {
  test::StartedForm s;
  const std::string path = s.data.file("LONG.NC");
  test::writeFile(path, kProgram);
  ASSERT_EQ(platform::setOwnerWritable(path, false), 0);
  s.start();
  LargeEditor e{s};
  e.editFile("LONG.NC");
  ASSERT_TRUE(QTest::qWaitFor([&] { return e.allIn(); }, 10000));
  e.type("N");
  e.key(Qt::Key_S, Qt::ControlModifier);
  ASSERT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_EQ(s.dialogs.shown[0].text, "ファイル " + path + " を作成できません");
  EXPECT_EQ(test::readFile(path), kProgram);
  EXPECT_EQ(e.field(2), "＜変更＞");

  // A character Shift-JIS cannot hold is refused, nothing typed.
  e.commit("😀");
  ASSERT_EQ(s.dialogs.shown.size(), 2u);
  EXPECT_EQ(s.dialogs.shown[1].text, "文字「😀」は Shift-JIS で保存できません。");
  EXPECT_EQ(e.area()->table().text(), "N" + kProgram);
  EXPECT_EQ(QApplication::focusWidget(), e.area());

  // The font, printing and the search are not offered here, and say so.
  e.click("ToolButton14");
  e.click("ToolButton5");
  ASSERT_EQ(s.dialogs.shown.size(), 4u);
  EXPECT_EQ(s.dialogs.shown[2].text, "大きなファイルの編集ではフォントの変更は使えません。");
  EXPECT_EQ(s.dialogs.shown[3].text, "大きなファイルの編集では印刷は使えません。");
  EXPECT_EQ(e.area()->table().text(), "N" + kProgram);
}

TEST(LargeEditorWindow, AProgramAbove8MBIsShownAsItIsReadAndEditedOnceAllIsIn) {
  test::StartedForm s;
  std::string big;
  for (int i = 1; big.size() < 9'000'000; ++i)
    big += "N" + std::to_string(i) + " G01 X-21.375 Z-3.363\r\n";
  const std::string path = s.data.file("BIG.NC");
  test::writeFile(path, big);
  s.start();
  LargeEditor e{s};
  e.editFile("BIG.NC");
  ASSERT_EQ(QApplication::focusWidget(), e.area());
  EXPECT_FALSE(e.allIn()) << "the rest comes from the event loop";
  EXPECT_GT(e.area()->table().lineCount(), 100u);
  e.type("Q");
  EXPECT_EQ(e.field(2), "") << "no edit before the whole text is in";
  ASSERT_TRUE(QTest::qWaitFor([&] { return e.allIn(); }, 30000));
  e.key(Qt::Key_End, Qt::ControlModifier);
  e.type("M30");
  e.key(Qt::Key_Return);
  e.key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(test::readFile(path), big + "M30\r\n");
}

TEST(LargeEditorWindow, CtrlFSearchesThePiecesDownAndUpAndEscGivesTheKeysBackToTheArea) {
  test::StartedForm s;
  const std::string path = s.data.file("LONG.NC");
  // The words sit far along the long line and on the lines after it.
  const std::string program = "O1\r\n" + std::string(60000, 'X') + "G33" + std::string(10000, 'X') +
                              "\r\nG00 X30.\r\ng33 Z-20.\r\nM30\r\n";
  test::writeFile(path, program);
  s.start();
  ASSERT_TRUE(QTest::qWaitForWindowActive(s.form->window()));
  LargeEditor e{s};
  e.editFile("LONG.NC");
  ASSERT_TRUE(QTest::qWaitFor([&] { return e.allIn(); }, 10000));
  e.key(Qt::Key_F, Qt::ControlModifier);
  auto* find = s.form->window()->findChild<QDialog*>("FindDialog1");
  ASSERT_NE(find, nullptr);
  ASSERT_TRUE(find->isVisible());
  e.type("G33");
  e.key(Qt::Key_Return);
  EXPECT_EQ(e.area()->selectedText().toStdString(), "G33");
  EXPECT_EQ(e.field(1), "2 , 60004") << "the caret after the hit";
  e.key(Qt::Key_Return);
  EXPECT_EQ(e.area()->selectedText().toStdString(), "g33") << "without letter case";
  EXPECT_EQ(e.field(1), "4 , 4");
  e.key(Qt::Key_Return);
  ASSERT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_EQ(s.dialogs.shown[0].text, "検索文字列が見当たりません！");
  e.key(Qt::Key_U, Qt::AltModifier); // up
  // A mnemonic clicks its button as an animated click, a moment later.
  auto* up = find->findChild<QAbstractButton*>("DirectionUp");
  ASSERT_TRUE(QTest::qWaitFor([&] { return up->isChecked(); }, 2000));
  e.key(Qt::Key_Return);
  ASSERT_EQ(s.dialogs.shown.size(), 1u) << s.dialogs.shown.back().text;
  EXPECT_EQ(e.area()->selectedText().toStdString(), "G33");
  EXPECT_EQ(e.field(1), "2 , 60004");
  e.key(Qt::Key_Escape);
  EXPECT_FALSE(find->isVisible());
  EXPECT_EQ(keyboard::target(), e.area());
  EXPECT_EQ(e.field(2), "");
  e.key(Qt::Key_Escape);
  EXPECT_FALSE(e.box()->isVisible());
  EXPECT_EQ(test::readFile(path), program);
}

TEST(LargeEditorWindow, AFileCutAtANulIsWarnedAboutAndItsSaveAsksFirst) {
  test::StartedForm s;
  const std::string path = s.data.file("NUL.NC");
  const std::string program = kProgram + std::string(1, '\0') + "G01X1.\r\n";
  test::writeFile(path, program);
  s.start();
  LargeEditor e{s};
  e.editFile("NUL.NC");
  ASSERT_TRUE(QTest::qWaitFor([&] { return e.allIn(); }, 10000));
  ASSERT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_NE(s.dialogs.shown[0].text.find("NUL バイト"), std::string::npos) << s.dialogs.shown[0].text;
  EXPECT_EQ(QApplication::focusWidget(), e.area());
  e.type("N");
  s.dialogs.answers = {MessageAnswer::No};
  e.key(Qt::Key_S, Qt::ControlModifier);
  ASSERT_EQ(s.dialogs.shown.size(), 2u);
  EXPECT_NE(s.dialogs.shown[1].text.find("保存しますか"), std::string::npos) << s.dialogs.shown[1].text;
  EXPECT_EQ(test::readFile(path), program) << "No writes nothing";
  EXPECT_EQ(e.field(2), "＜変更＞");
}
