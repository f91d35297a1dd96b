// The main screen driven by real key events on the offscreen platform.
#include "StartedForm.h"
#include "support/Keyboard.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>

using namespace kestrovan;
namespace keyboard = test::keyboard;
using core::Command;
using core::PromptMode;

namespace {

void makeFiles(const test::TempDir& dir, int count) {
  for (int i = 0; i < count; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "O%04d.NC", i);
    test::writeFile(dir.file(name), "%\r\nO1\r\nM30\r\n%\r\n");
  }
}

QString messageLine(const test::StartedForm& s) { return s.find<QLabel>("Label11")->text(); }

} // namespace

TEST(MainScreen, ShiftShowsTheShiftTextAndReleasingItTheNormalText) {
  test::StartedForm s;
  s.start();
  auto* keys = s.find<QLabel>("Label1");
  ASSERT_TRUE(keys->text().startsWith(" F1 :ﾌｧｲﾙ送信　　"));
  keyboard::hold(Qt::Key_Shift, Qt::ShiftModifier);
  EXPECT_TRUE(keys->text().startsWith(" F1 :ﾌｧｲﾙ送信+終了"));
  keyboard::letGo(Qt::Key_Shift, Qt::NoModifier);
  EXPECT_TRUE(keys->text().startsWith(" F1 :ﾌｧｲﾙ送信　　"));
}

TEST(MainScreen, EscShowsCancelledInRedThenReturnsToIdle) {
  test::StartedForm s;
  s.start();
  keyboard::press(Qt::Key_Escape);
  EXPECT_EQ(messageLine(s), "操作中止!!");
  EXPECT_TRUE(s.find<QLabel>("Label11")->styleSheet().contains("red"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return messageLine(s).isEmpty(); }, 3000));
  EXPECT_TRUE(s.find<QLabel>("Label11")->styleSheet().contains("lime"));
  EXPECT_TRUE(s.list()->isEnabled());
  EXPECT_TRUE(s.list()->hasFocus());
}

TEST(MainScreen, PagingOnShortAndLongLists) {
  test::StartedForm s;
  makeFiles(s.data, 10);
  s.start();
  keyboard::press(Qt::Key_PageDown);
  EXPECT_EQ(s.list()->selectedRow(), 10); // ".." then ten files
  keyboard::press(Qt::Key_PageUp);
  EXPECT_EQ(s.list()->selectedRow(), 0);

  test::StartedForm big;
  makeFiles(big.data, 150);
  big.start();
  const int screen = 2 * big.list()->rowsPerColumn();
  keyboard::press(Qt::Key_PageDown);
  EXPECT_EQ(big.list()->selectedRow(), screen);
  EXPECT_EQ(big.list()->firstVisibleColumn(), 2);
  keyboard::press(Qt::Key_PageDown);
  EXPECT_EQ(big.list()->selectedRow(), 2 * screen);
  keyboard::press(Qt::Key_PageUp);
  EXPECT_EQ(big.list()->selectedRow(), screen);
  keyboard::press(Qt::Key_Z);
  EXPECT_EQ(big.list()->selectedRow(), 150);
  keyboard::press(Qt::Key_T);
  EXPECT_EQ(big.list()->selectedRow(), 0);
}

TEST(MainScreen, EnterOnAFolderEntersItAndOnTheParentRowGoesUp) {
  test::StartedForm s;
  ASSERT_EQ(mkdir(s.data.file("SUB").c_str(), 0777), 0);
  test::writeFile(s.data.file("SUB/O0001.NC"), "%\r\n");
  s.start();
  const int subRow = 1; // ".." then the folder
  s.list()->selectRow(subRow);
  keyboard::press(Qt::Key_Return);
  EXPECT_EQ(s.form->state().settings.DirPath, s.data.file("SUB"));
  s.list()->selectRow(0);
  keyboard::press(Qt::Key_Return);
  EXPECT_EQ(s.form->state().settings.DirPath, s.data.path());
}

TEST(MainScreen, EnterOnAFileTogglesItsMark) {
  test::StartedForm s;
  makeFiles(s.data, 3);
  s.start();
  s.list()->selectRow(2);
  keyboard::press(Qt::Key_Return);
  EXPECT_EQ(s.form->fileList().marks().count(), 1);
  EXPECT_TRUE(s.list()->rows()[2].startsWith('*'));
  keyboard::press(Qt::Key_End);
  EXPECT_EQ(s.form->fileList().marks().count(), 0);
}

TEST(MainScreen, TheCopyPromptRefusesADotOnlyWhenNotShowingAllFiles) {
  for (const char* allFiles : {"Y", "N"}) {
    test::StartedForm s;
    s.start();
    s.form->state().settings.ALL_Files = allFiles;
    std::string received;
    s.form->setPromptHandler(PromptMode::CopyName, [&](const std::string& t) {
      received = t;
      s.form->closePrompt();
    });
    s.form->OpenPrompt(PromptMode::CopyName, "ｺﾋﾟｰ先");
    auto* prompt = s.find<QLineEdit>("Edit1");
    ASSERT_TRUE(prompt->hasFocus());
    keyboard::type("A.NC");
    if (std::string(allFiles) == "Y") {
      EXPECT_TRUE(s.dialogs.shown.empty());
      EXPECT_EQ(prompt->text(), "A.NC");
    } else {
      ASSERT_EQ(s.dialogs.shown.size(), 1u);
      EXPECT_EQ(s.dialogs.shown[0].title, "確認");
      EXPECT_EQ(s.dialogs.shown[0].text, "この文字はファイル名に使えません。\n/:,;*?<>|.");
      EXPECT_EQ(prompt->text(), "ANC");
    }
    keyboard::press(Qt::Key_Return);
    EXPECT_FALSE(received.empty());
    EXPECT_TRUE(s.list()->hasFocus());
  }
}

TEST(MainScreen, PastedAndInputMethodTextIsHeldToThePromptsCharacterRules) {
  test::StartedForm s;
  s.start();
  s.form->state().settings.ALL_Files = "N";
  s.form->OpenPrompt(PromptMode::CopyName, "ｺﾋﾟｰ先", "A.NC"); // a proposed name may hold a dot
  auto* prompt = s.find<QLineEdit>("Edit1");
  ASSERT_TRUE(prompt->hasFocus());
  prompt->setCursorPosition(1);
  QApplication::clipboard()->setText("12");
  keyboard::press(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(prompt->text(), "A12.NC");
  EXPECT_TRUE(s.dialogs.shown.empty());

  QApplication::clipboard()->setText("3.TXT");
  keyboard::press(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(prompt->text(), "A12.NC"); // as it was before the paste
  EXPECT_EQ(prompt->cursorPosition(), 3);
  ASSERT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_EQ(s.dialogs.shown[0].title, "確認");
  EXPECT_EQ(s.dialogs.shown[0].text, "この文字はファイル名に使えません。\n/:,;*?<>|.");
  EXPECT_EQ(s.dialogs.shown[0].icon, base::MessageIcon::Error);

  // Over a selection, and from an input method.
  prompt->selectAll();
  QApplication::clipboard()->setText("B/C");
  keyboard::press(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(prompt->text(), "A12.NC");
  prompt->end(false);
  QInputMethodEvent composed;
  composed.setCommitString("9?");
  QApplication::sendEvent(keyboard::target(), &composed);
  EXPECT_EQ(prompt->text(), "A12.NC");
  EXPECT_EQ(s.dialogs.shown.size(), 3u);
  QInputMethodEvent accepted;
  accepted.setCommitString("9");
  QApplication::sendEvent(keyboard::target(), &accepted);
  EXPECT_EQ(prompt->text(), "A12.NC9");
  EXPECT_EQ(s.dialogs.shown.size(), 3u);
}

TEST(MainScreen, EscInThePromptCancelsAndEmptyEnterDoesNothing) {
  test::StartedForm s;
  s.start();
  bool called = false;
  s.form->setPromptHandler(PromptMode::Extension, [&](const std::string&) { called = true; });
  s.form->OpenPrompt(PromptMode::Extension, "拡張子変更 *.NC -->>>");
  auto* prompt = s.find<QLineEdit>("Edit1");
  keyboard::press(Qt::Key_Return);
  EXPECT_FALSE(called);
  keyboard::type("*.TXT");
  keyboard::press(Qt::Key_Escape);
  EXPECT_FALSE(called);
  EXPECT_EQ(prompt->text(), "");
  EXPECT_FALSE(prompt->isEnabled());
  EXPECT_EQ(messageLine(s), "操作中止!!");
}

TEST(MainScreen, RedrawingTheListLeavesAnotherOperationsWaitCursorInPlace) {
  test::StartedForm s;
  test::writeFile(s.data.file("A.NC"), "%\r\n");
  s.start();
  ASSERT_EQ(QApplication::overrideCursor(), nullptr);
  QApplication::setOverrideCursor(Qt::BusyCursor); // an operation that is still busy
  keyboard::press(Qt::Key_Space);                  // the folder read again
  keyboard::press(Qt::Key_S);                      // sorted again, no read
  keyboard::press(Qt::Key_Return);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::BusyCursor);
  QApplication::restoreOverrideCursor();
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(MainScreen, SortBoxTakesACodeInEitherCaseAndKeepsTheSelection) {
  test::StartedForm s;
  test::writeFile(s.data.file("A.NC"), std::string(10, 'x'));
  test::writeFile(s.data.file("B.NC"), std::string(300, 'x'));
  test::writeFile(s.data.file("C.NC"), std::string(20, 'x'));
  s.start();
  s.list()->selectRow(1); // A.NC
  keyboard::press(Qt::Key_S);
  auto* edit = s.find<QLineEdit>("SortEdit");
  ASSERT_TRUE(edit->isVisible());
  EXPECT_EQ(edit->text(), "N-D");
  edit->clear();
  keyboard::type("n-");
  keyboard::press(Qt::Key_Return);
  EXPECT_EQ(messageLine(s), "ソート設定を確認ください!!");
  keyboard::type("dxz9");
  EXPECT_EQ(edit->text(), "N-D"); // refused characters and the fourth one dropped
  edit->clear();
  keyboard::type("s-d");
  keyboard::press(Qt::Key_Return);
  EXPECT_FALSE(edit->isVisible());
  EXPECT_EQ(s.form->state().settings.FileSort, "S");
  EXPECT_EQ(s.form->state().settings.SortMuki, "D");
  EXPECT_TRUE(s.list()->rows()[1].contains("B"));                       // largest first
  EXPECT_TRUE(s.list()->rows()[s.list()->selectedRow()].contains("A")); // still A.NC
  EXPECT_TRUE(s.list()->hasFocus());
}

TEST(MainScreen, KeysThatNeedAFileRowDoNothingElsewhere) {
  test::StartedForm s;
  ASSERT_EQ(mkdir(s.data.file("SUB").c_str(), 0777), 0);
  s.start();
  int sends = 0, newDocs = 0;
  s.form->setCommandHandler(Command::Send, [&](bool) { ++sends; });
  s.form->setCommandHandler(Command::NewDocument, [&](bool) { ++newDocs; });
  s.form->setCommandHandler(Command::Edit, [&](bool) { ADD_FAILURE() << "edit on a folder row"; });
  s.list()->selectRow(1); // the folder
  keyboard::press(Qt::Key_F1);
  keyboard::press(Qt::Key_F9);
  keyboard::press(Qt::Key_F9, Qt::ShiftModifier);
  EXPECT_EQ(sends, 0);
  EXPECT_EQ(newDocs, 1);
}

TEST(MainScreen, FunctionKeyLinesAreClickable) {
  test::StartedForm s;
  s.start();
  int folderPrompts = 0;
  s.form->setCommandHandler(Command::FolderPrompt, [&](bool) { ++folderPrompts; });
  auto* keys = s.find<QLabel>("Label1");
  QTest::mouseClick(keys, Qt::LeftButton, Qt::NoModifier, QPoint(600, 8));
  ASSERT_TRUE(QTest::qWaitFor([&] { return folderPrompts == 1; }, 2000));
  EXPECT_TRUE(s.form->isVisible());
  QTest::mouseClick(keys, Qt::LeftButton, Qt::NoModifier, QPoint(600, 24));
  EXPECT_FALSE(s.form->isVisible());
  EXPECT_TRUE(test::fileExists(s.files().settingsPath));
}

// Alt+letter belongs to the external commands: the letter commands must not
// run (Alt+O would open the options, Alt+S the sort box, and once D deletes,
// Alt+D would delete).
TEST(MainScreen, AltWithALetterRunsNoLetterCommand) {
  test::StartedForm s;
  makeFiles(s.data, 5);
  s.start();
  s.list()->selectRow(3);
  s.form->showMessage("before", core::kLime);
  QApplication::processEvents();
  ASSERT_EQ(messageLine(s), "before");
  for (Qt::Key key : {Qt::Key_O, Qt::Key_S, Qt::Key_T, Qt::Key_Z}) {
    keyboard::press(key, Qt::AltModifier);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << key;
    EXPECT_FALSE(s.find<QWidget>("GroupBox4")->isVisible()) << key;
    EXPECT_EQ(s.list()->selectedRow(), 3) << key;
    EXPECT_EQ(messageLine(s), "before") << key;
    EXPECT_TRUE(s.list()->isEnabled()) << key;
  }
  // Without Alt the same keys do their work.
  keyboard::press(Qt::Key_Z);
  EXPECT_EQ(s.list()->selectedRow(), 5);
}
