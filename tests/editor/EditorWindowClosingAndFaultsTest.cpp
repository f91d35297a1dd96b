// The editor panel on the real main window, driven by keys: the closing
// question, long and odd files, a full disk, a file gone meanwhile.
#include "EditorWindow.h"

using namespace kestrovan;
using namespace kestrovan::test::editor_window;
using base::MessageAnswer;
namespace keyboard = kestrovan::test::keyboard;

TEST(EditorWindow, ClosingTheWindowWhileEditingAsksAboutTheChangesFirst) {
  for (MessageAnswer answer : {MessageAnswer::Yes, MessageAnswer::No}) {
    test::StartedForm s;
    test::writeFile(s.data.file("A.NC"), "G00\r\n");
    s.start();
    Editor e(s);
    e.editFile("A.NC");
    e.type("X");
    s.dialogs.answers = {answer};
    s.form->close();
    ASSERT_EQ(s.dialogs.shown.size(), 1u);
    EXPECT_EQ(s.dialogs.shown[0].text, s.data.file("A.NC") + " への変更を保存しますか？");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !s.form->isVisible(); }, 2000));
    EXPECT_EQ(test::readFile(s.data.file("A.NC")), answer == MessageAnswer::Yes ? "XG00\r\n" : "G00\r\n");
  }
  // Cancel: the window and the editing stay, and the changes with them.
  test::StartedForm s;
  test::writeFile(s.data.file("A.NC"), "G00\r\n");
  s.start();
  Editor e(s);
  e.editFile("A.NC");
  e.type("X");
  s.dialogs.answers = {MessageAnswer::Cancel};
  s.form->close();
  QApplication::processEvents();
  ASSERT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_TRUE(s.form->isVisible());
  EXPECT_TRUE(e.box()->isVisible());
  EXPECT_EQ(e.text()->toPlainText().toStdString(), "XG00\n");
  EXPECT_EQ(test::readFile(s.data.file("A.NC")), "G00\r\n");
  // The close was cancelled: ending the editing later leaves the program open.
  s.dialogs.answers = {MessageAnswer::No};
  e.key(Qt::Key_Escape);
  EXPECT_FALSE(e.box()->isVisible());
  QTest::qWait(200);
  EXPECT_TRUE(s.form->isVisible());
}

// The real box of the closing question: its three buttons, and Esc as Cancel.
TEST(EditorWindow, TheRealClosingQuestionAnswersYesNoAndCancel) {
  core::QtDialogs dialogs;
  const base::Message question{"編集", "O1.NC への変更を保存しますか？", base::MessageButtons::YesNoCancel,
                               base::MessageIcon::Warning};
  auto answerWith = [&](const char* buttonText, bool escape) {
    QTimer::singleShot(50, [=] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      if (escape) {
        keyboard::press(Qt::Key_Escape);
        return;
      }
      for (QAbstractButton* b : box->buttons())
        if (b->text() == QString::fromUtf8(buttonText)) b->click();
    });
    return dialogs.show(question);
  };
  EXPECT_EQ(answerWith("はい(&Y)", false), MessageAnswer::Yes);
  EXPECT_EQ(answerWith("いいえ(&N)", false), MessageAnswer::No);
  EXPECT_EQ(answerWith("キャンセル", false), MessageAnswer::Cancel);
  EXPECT_EQ(answerWith(nullptr, true), MessageAnswer::Cancel);
  dialogs.dismissAll();
  EXPECT_EQ(dialogs.show(question), MessageAnswer::Cancel);
}

TEST(EditorWindow, ALongProgramGoesInPieceByPieceAndASaveMeanwhileWritesItWhole) {
  test::StartedForm s;
  std::string big;
  for (int i = 1; big.size() < 2'000'000; ++i)
    big += "N" + std::to_string(i) + " G01 X-21.375 Z-3.363\r\n";
  test::writeFile(s.data.file("BIG.NC"), big);
  s.start();
  Editor e(s);
  e.editFile("BIG.NC");
  // The first lines are in and shown; the rest comes from the event loop.
  EXPECT_TRUE(e.text()->isReadOnly());
  EXPECT_LT(e.text()->document()->characterCount(), static_cast<int>(big.size() / 2));
  EXPECT_TRUE(e.text()->toPlainText().startsWith("N1 G01 X-21.375 Z-3.363\nN2 "));
  e.type("Q");
  EXPECT_FALSE(e.text()->document()->isModified()) << "no edit before the whole text is in";
  e.click("ToolButton3");
  EXPECT_EQ(test::readFile(s.data.file("BIG.NC")), big);
  EXPECT_FALSE(e.text()->isReadOnly());
  e.type("Q");
  EXPECT_EQ(e.field(2), "＜変更＞");

  // Opened again, it is all in after the events, and editable.
  s.dialogs.answers = {MessageAnswer::No};
  e.click("ToolButton13");
  e.editFile("BIG.NC");
  EXPECT_TRUE(QTest::qWaitFor([&] { return !e.text()->isReadOnly(); }, 10000));
  EXPECT_EQ(e.text()->toPlainText().size() + e.text()->document()->blockCount() - 1,
            static_cast<qsizetype>(big.size()));
  EXPECT_FALSE(e.text()->document()->isModified());
  EXPECT_EQ(e.field(2), "");
  e.key(Qt::Key_End, Qt::ControlModifier);
  e.type("M30");
  EXPECT_EQ(e.field(2), "＜変更＞");
  EXPECT_TRUE(e.enabled("ToolButton16", "元に戻す"));
}

// E on a named pipe listed among the files, and the same pipe chosen in the
// open dialog: refused with a message instead of a window frozen on a read
// that waits for a writer. The document open before stays as it was.
TEST(EditorWindow, APipeIsRefusedByEAndByOpenWithoutWaitingOnIt) {
  test::StartedForm s;
  test::writeFile(s.data.file("O1234.NC"), kProgramBytes);
  test::PipeUnblocker pipe(s.data.file("FIFO.NC"));
  ASSERT_TRUE(pipe.made());
  s.start();
  Editor e(s);
  const std::string fifo = s.data.file("FIFO.NC");
  const std::string refused = fifo + " は編集できない種類のファイルです。";

  e.editFile("FIFO.NC");
  EXPECT_FALSE(pipe.blocked());
  ASSERT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_EQ(s.dialogs.shown[0].text, refused);
  EXPECT_EQ(s.dialogs.shown[0].title, "編集");
  EXPECT_FALSE(e.box()->isVisible());
  EXPECT_EQ(e.caption(), "<編集> - Kestrovan");
  EXPECT_TRUE(s.list()->isEnabled());
  EXPECT_TRUE(s.list()->hasFocus());

  e.editFile("O1234.NC");
  ASSERT_TRUE(e.box()->isVisible());
  e.key(Qt::Key_End);
  e.type("X");
  const std::string path = s.data.file("O1234.NC");
  e.choosers.openAnswers = {fifo};
  // No to the closing question lets Open go on; the refusal keeps the changes.
  s.dialogs.answers = {MessageAnswer::No};
  e.click("ToolButton2");
  EXPECT_FALSE(pipe.blocked());
  ASSERT_EQ(s.dialogs.shown.size(), 3u);
  EXPECT_EQ(s.dialogs.shown[2].text, refused);
  EXPECT_TRUE(e.box()->isVisible());
  EXPECT_EQ(e.caption(), "<編集><変更>" + path + " - Kestrovan");
  EXPECT_EQ(e.text()->toPlainText().toStdString(), "%X\nO1234(ﾃｽﾄ)\nG00X0\nM30\n%\n");
  EXPECT_EQ(e.field(2), "＜変更＞");
  e.click("ToolButton3");
  EXPECT_EQ(test::readFile(path), platform::utf8ToCp932("%X\r\nO1234(ﾃｽﾄ)\r\nG00X0\r\nM30\r\n%\r\n"));
}

// The find dialog stays open while another long program is opened: a search
// made before all of it is in looks through the whole program all the same,
// rather than calling a string at its end not found.
TEST(EditorWindow, ASearchWhileALongProgramGoesInLooksThroughAllOfIt) {
  test::StartedForm s;
  std::string big;
  for (int i = 1; big.size() < 4'000'000; ++i)
    big += "N" + std::to_string(i) + " G01 X-21.375 Z-3.363\r\n";
  big += "M30\r\n";
  test::writeFile(s.data.file("BIG.NC"), big);
  test::writeFile(s.data.file("O1234.NC"), kProgramBytes);
  s.start();
  Editor e(s);
  e.editFile("O1234.NC");
  e.click("ToolButton11");
  auto* find = s.form->window()->findChild<QDialog*>("FindDialog1");
  ASSERT_NE(find, nullptr);
  ASSERT_TRUE(find->isVisible());
  e.choosers.openAnswers = {s.data.file("BIG.NC")};
  e.click("ToolButton2");
  ASSERT_TRUE(e.text()->isReadOnly()) << "the long program is still going in";
  keyboard::type("M30");
  keyboard::press(Qt::Key_Return);
  EXPECT_TRUE(s.dialogs.shown.empty()) << (s.dialogs.shown.empty() ? "" : s.dialogs.shown[0].text);
  EXPECT_EQ(e.text()->textCursor().selectedText(), "M30");
  EXPECT_EQ(e.text()->textCursor().blockNumber() + 1, e.text()->document()->blockCount() - 1);
  EXPECT_FALSE(e.text()->isReadOnly());
  EXPECT_FALSE(e.text()->document()->isModified());
}

// A save onto a full disk: the message, the old file whole, no working copy
// left beside it, the change marker kept; ending with Yes keeps the editor.
TEST(EditorWindow, ASaveOntoAFullDiskLeavesTheOldFileWholeAndTheEditorOpen) {
  test::TempDir small;
  if (!test::mountSmallTmpfs(small.path(), 64 << 10)) GTEST_SKIP() << "no mount namespace here";
  const std::string path = small.file("O1234.NC");
  test::writeFile(path, kProgramBytes);
  test::StartedForm s;
  s.start();
  Editor e(s);
  keyboard::press(Qt::Key_E, Qt::ShiftModifier);
  e.choosers.openAnswers = {path};
  e.click("ToolButton2");
  ASSERT_EQ(e.caption(), "<編集>" + path + " - Kestrovan");
  e.key(Qt::Key_End, Qt::ControlModifier);
  QString lines;
  for (int i = 0; i < 8000; ++i)
    lines += QString("G01X%1.Y1.\n").arg(i);
  QApplication::clipboard()->setText(lines);
  e.click("ToolButton8");
  ASSERT_EQ(e.field(2), "＜変更＞");

  e.click("ToolButton3");
  ASSERT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_EQ(s.dialogs.shown[0].text, "ファイル " + path + " を作成できません");
  EXPECT_EQ(test::readFile(path), kProgramBytes);
  EXPECT_EQ(
      std::distance(std::filesystem::directory_iterator(small.path()), std::filesystem::directory_iterator()),
      1);
  EXPECT_EQ(e.field(2), "＜変更＞");
  EXPECT_EQ(e.caption(), "<編集><変更>" + path + " - Kestrovan");
  EXPECT_TRUE(e.text()->document()->isModified());

  s.dialogs.answers = {MessageAnswer::Yes};
  e.click("ToolButton13");
  EXPECT_TRUE(e.box()->isVisible());
  EXPECT_EQ(test::readFile(path), kProgramBytes);
  s.dialogs.answers = {MessageAnswer::No};
  e.click("ToolButton13");
  EXPECT_FALSE(e.box()->isVisible());
  EXPECT_TRUE(s.list()->isEnabled());
}

// A file deleted after the list was read, by E and by the open dialog: told,
// not opened as an empty document of that name after the wrong-format
// question; the document open before stays.
TEST(EditorWindow, AFileGoneSinceItWasListedOrChosenIsToldAndNothingOpens) {
  test::StartedForm s;
  test::writeFile(s.data.file("O1234.NC"), kProgramBytes);
  test::writeFile(s.data.file("GONE.NC"), kProgramBytes);
  s.start();
  Editor e(s);
  const std::string gone = s.data.file("GONE.NC");
  std::filesystem::remove(gone);
  e.editFile("GONE.NC");
  ASSERT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_EQ(s.dialogs.shown[0].text, "ファイル " + gone + " は開けません");
  EXPECT_EQ(s.dialogs.shown[0].title, "編集");
  EXPECT_FALSE(e.box()->isVisible());
  EXPECT_TRUE(s.list()->isEnabled());
  EXPECT_TRUE(s.list()->hasFocus());

  e.editFile("O1234.NC");
  const std::string path = s.data.file("O1234.NC");
  e.choosers.openAnswers = {gone};
  e.click("ToolButton2");
  ASSERT_EQ(s.dialogs.shown.size(), 2u);
  EXPECT_EQ(s.dialogs.shown[1].text, "ファイル " + gone + " は開けません");
  EXPECT_EQ(e.caption(), "<編集>" + path + " - Kestrovan");
  EXPECT_EQ(e.text()->toPlainText().toStdString(), "%\nO1234(ﾃｽﾄ)\nG00X0\nM30\n%\n");
  EXPECT_EQ(e.field(0), "サイズ : " + files::sizeText(kProgramBytes.size()));
}

// After a hit the keyboard stays in the find dialog: the next Enter searches
// again and Alt+H is the dialog's help, rather than a line break over the hit
// and an "h" in the program.
TEST(EditorWindow, AfterAHitTheKeysStayInTheFindDialogAndTheProgramIsUntouched) {
  test::StartedForm s;
  const std::string program =
      "O0010\r\nG97 S500 M03\r\nG33 Z-20. F1.5\r\nG00 X30.\r\nG33 Z-20. F1.5\r\nM30\r\n";
  test::writeFile(s.data.file("O0010.NC"), program);
  s.start();
  ASSERT_TRUE(QTest::qWaitForWindowActive(s.form->window()));
  Editor e(s);
  e.editFile("O0010.NC");
  e.key(Qt::Key_F, Qt::ControlModifier);
  auto* find = s.form->window()->findChild<QDialog*>("FindDialog1");
  ASSERT_NE(find, nullptr);
  ASSERT_TRUE(find->isVisible());
  e.type("G33");
  e.key(Qt::Key_Return);
  EXPECT_EQ(e.text()->textCursor().selectedText(), "G33");
  EXPECT_EQ(e.text()->textCursor().blockNumber(), 2);
  EXPECT_EQ(e.field(1), "3 , 1");
  EXPECT_TRUE(find->isAncestorOf(keyboard::target())) << keyboard::focusName();
  e.key(Qt::Key_Return);
  EXPECT_EQ(e.text()->textCursor().selectedText(), "G33");
  EXPECT_EQ(e.text()->textCursor().blockNumber(), 4);
  e.key(Qt::Key_H, Qt::AltModifier);
  // A button's mnemonic clicks it as an animated click, a moment later.
  ASSERT_TRUE(QTest::qWaitFor([&] { return !s.dialogs.shown.empty(); }, 2000));
  ASSERT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_EQ(s.dialogs.shown[0].title, "検索");
  e.key(Qt::Key_Return);
  ASSERT_EQ(s.dialogs.shown.size(), 2u);
  EXPECT_EQ(s.dialogs.shown[1].text, "検索文字列が見当たりません！");
  EXPECT_EQ(e.text()->toPlainText().toStdString(),
            "O0010\nG97 S500 M03\nG33 Z-20. F1.5\nG00 X30.\nG33 Z-20. F1.5\nM30\n");
  EXPECT_FALSE(e.text()->document()->isModified());
  EXPECT_EQ(e.field(2), "");
  // Esc closes the dialog and the text takes the keys again.
  e.key(Qt::Key_Escape);
  EXPECT_FALSE(find->isVisible());
  EXPECT_EQ(keyboard::target(), e.text()) << keyboard::focusName();
  e.click("ToolButton13");
  EXPECT_EQ(test::readFile(s.data.file("O0010.NC")), program);
}

// Esc, then Esc again in the closing question (its Cancel): back to the
// editor with every change, rather than the end of the editing.
TEST(EditorWindow, CancelInTheClosingQuestionGoesBackToTheEditorWithTheChanges) {
  test::StartedForm s;
  test::writeFile(s.data.file("O1234.NC"), kProgramBytes);
  s.start();
  ASSERT_TRUE(QTest::qWaitForWindowActive(s.form->window()));
  Editor e(s);
  e.editFile("O1234.NC");
  const std::string path = s.data.file("O1234.NC");
  e.type("X");
  // Esc asks; the box's own Esc answers Cancel.
  s.dialogs.answers = {MessageAnswer::Cancel};
  e.key(Qt::Key_Escape);
  ASSERT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_EQ(s.dialogs.shown[0].buttons, base::MessageButtons::YesNoCancel);
  EXPECT_TRUE(e.box()->isVisible());
  EXPECT_FALSE(s.list()->isEnabled());
  EXPECT_EQ(keyboard::target(), e.text()) << keyboard::focusName();
  EXPECT_EQ(e.text()->toPlainText().toStdString(), "X%\nO1234(ﾃｽﾄ)\nG00X0\nM30\n%\n");
  EXPECT_TRUE(e.text()->document()->isModified());
  EXPECT_EQ(e.field(2), "＜変更＞");
  EXPECT_EQ(e.caption(), "<編集><変更>" + path + " - Kestrovan");
  EXPECT_EQ(test::readFile(path), kProgramBytes);
  // The editing goes on, and Yes then saves all of it.
  e.type("Y");
  s.dialogs.answers = {MessageAnswer::Yes};
  e.key(Qt::Key_Escape);
  EXPECT_FALSE(e.box()->isVisible());
  EXPECT_EQ(test::readFile(path), "XY" + kProgramBytes);
}

// New and Open on a changed text ask the closing question first: Cancel
// keeps the text, No drops it, Yes saves it before.
TEST(EditorWindow, NewAndOpenOnAChangedTextAskTheClosingQuestionFirst) {
  test::StartedForm s;
  test::writeFile(s.data.file("A.NC"), "G00\r\n");
  test::writeFile(s.data.file("B.NC"), "G01X1.\r\n");
  s.start();
  ASSERT_TRUE(QTest::qWaitForWindowActive(s.form->window()));
  Editor e(s);
  e.editFile("A.NC");
  const std::string a = s.data.file("A.NC");
  e.type("X");
  for (Qt::Key key : {Qt::Key_N, Qt::Key_O}) {
    s.dialogs.answers = {MessageAnswer::Cancel};
    e.key(key, Qt::ControlModifier);
    ASSERT_EQ(s.dialogs.shown.size(), key == Qt::Key_N ? 1u : 2u);
    EXPECT_EQ(s.dialogs.shown.back().text, a + " への変更を保存しますか？");
    EXPECT_EQ(s.dialogs.shown.back().buttons, base::MessageButtons::YesNoCancel);
    EXPECT_EQ(e.text()->toPlainText().toStdString(), "XG00\n");
    EXPECT_EQ(e.ops().documentName(), a);
    EXPECT_EQ(e.field(2), "＜変更＞");
    EXPECT_EQ(keyboard::target(), e.text()) << keyboard::focusName();
  }
  EXPECT_TRUE(e.choosers.openAsked.empty()) << "no open dialog after Cancel";

  // No: the new document, the file as it was.
  s.dialogs.answers = {MessageAnswer::No};
  e.key(Qt::Key_N, Qt::ControlModifier);
  EXPECT_EQ(e.ops().documentName(), "new");
  EXPECT_TRUE(e.text()->toPlainText().isEmpty());
  EXPECT_EQ(test::readFile(a), "G00\r\n");

  // Yes: the new document saved under the name chosen, then B opened.
  e.type("O9");
  s.dialogs.answers = {MessageAnswer::Yes};
  e.choosers.saveAnswers = {s.data.file("O9.NC")};
  e.choosers.openAnswers = {s.data.file("B.NC")};
  e.key(Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(s.dialogs.shown.back().text, "new への変更を保存しますか？");
  EXPECT_EQ(test::readFile(s.data.file("O9.NC")), "O9");
  EXPECT_EQ(e.ops().documentName(), s.data.file("B.NC"));
  EXPECT_EQ(e.text()->toPlainText().toStdString(), "G01X1.\n");

  // An unchanged text goes without a question; a changed one saved by Yes.
  const std::size_t asked = s.dialogs.shown.size();
  e.key(Qt::Key_N, Qt::ControlModifier);
  EXPECT_EQ(s.dialogs.shown.size(), asked);
  EXPECT_EQ(e.ops().documentName(), "new");
  e.choosers.openAnswers = {s.data.file("B.NC")};
  e.key(Qt::Key_O, Qt::ControlModifier);
  e.type("Z");
  s.dialogs.answers = {MessageAnswer::Yes};
  e.key(Qt::Key_N, Qt::ControlModifier);
  EXPECT_EQ(s.dialogs.shown.size(), asked + 1);
  EXPECT_EQ(test::readFile(s.data.file("B.NC")), "ZG01X1.\r\n");
  EXPECT_EQ(e.ops().documentName(), "new");
}
