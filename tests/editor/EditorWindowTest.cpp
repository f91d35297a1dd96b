// The editor panel GroupBox3 on the real main window, driven by keys.
#include "EditorWindow.h"

using namespace kestrovan;
using namespace kestrovan::test::editor_window;
using base::MessageAnswer;
namespace keyboard = kestrovan::test::keyboard;

TEST(EditorWindow, EOnAFileShowsThePanelWithTheFileItsCaptionAndItsStatusFields) {
  test::StartedForm s;
  test::writeFile(s.data.file("O1234.NC"), kProgramBytes);
  s.start();
  Editor e(s);
  e.editFile("O1234.NC");
  const std::string path = s.data.file("O1234.NC");
  ASSERT_TRUE(e.box()->isVisible());
  EXPECT_FALSE(s.list()->isEnabled());
  EXPECT_TRUE(e.text()->hasFocus());
  EXPECT_EQ(e.text()->toPlainText().toStdString(), "%\nO1234(ﾃｽﾄ)\nG00X0\nM30\n%\n");
  EXPECT_EQ(e.caption(), "<編集>" + path + " - Kestrovan");
  EXPECT_EQ(e.field(0), "サイズ : " + files::sizeText(kProgramBytes.size()));
  EXPECT_EQ(e.field(1), "1 , 1");
  EXPECT_EQ(e.field(2), "");
  EXPECT_EQ(e.field(3), "挿入");
  EXPECT_EQ(e.field(5), "ＭＳ Ｐゴシック  10");
  EXPECT_EQ(e.ops().documentName(), path);
  // Drawing (and colouring) the text is no change.
  e.text()->viewport()->repaint();
  QApplication::processEvents();
  EXPECT_EQ(e.field(2), "");
  EXPECT_EQ(e.caption(), "<編集>" + path + " - Kestrovan");

  // The tool bar in its order with its hints, the status fields' widths, the
  // context menu in its order; cut, copy, delete and undo start disabled.
  std::vector<std::string> bar;
  for (QAction* a : s.find<QToolBar>("ToolBar1")->actions()) {
    auto* b = qobject_cast<QToolButton*>(s.find<QToolBar>("ToolBar1")->widgetForAction(a));
    bar.push_back(b->objectName().toStdString() + "=" + b->toolTip().toStdString());
  }
  EXPECT_EQ(bar, (std::vector<std::string>{
                     "ToolButton1=新規作成", "ToolButton2=開く", "ToolButton3=保存", "ToolButton5=印刷",
                     "ToolButton15=プリンタ設定", "ToolButton6=切り取り", "ToolButton7=コピー",
                     "ToolButton8=張り付け", "ToolButton10=削除", "ToolButton11=次を検索",
                     "ToolButton14=フォント", "ToolButton16=元に戻す", "ToolButton13=編集終了"}));
  std::vector<int> widths;
  for (int i = 0; i < 7; ++i)
    widths.push_back(s.find<QLabel>(("StatusBar3Field" + std::to_string(i)).c_str())->width());
  // The caret and search fields wider than the rest, so that a long program's
  // line and column and "文字列検索中" show whole.
  EXPECT_EQ(widths, (std::vector<int>{180, 100, 55, 50, 55, 130, 80}));
  std::vector<std::string> menu;
  for (QAction* a : s.find<QMenu>("PopupMenu1")->actions())
    menu.push_back(a->isSeparator() ? "-" : a->text().toStdString());
  EXPECT_EQ(menu, (std::vector<std::string>{"元に戻す", "切り取り", "コピー", "貼り付け", "削除", "-",
                                            "すべて選択", "日付と時刻", "-", "右端で折り返す", "-",
                                            "NCシンタックス色分け", "印刷プレビュー"}));
  EXPECT_FALSE(e.enabled("ToolButton6", "切り取り"));
  EXPECT_FALSE(e.enabled("ToolButton7", "コピー"));
  EXPECT_FALSE(e.enabled("ToolButton10", "削除"));
  EXPECT_FALSE(e.enabled("ToolButton16", "元に戻す"));
  EXPECT_TRUE(e.enabled("ToolButton8", "貼り付け"));
  EXPECT_EQ(e.text()->lineWrapMode(), QPlainTextEdit::NoWrap);
}

TEST(EditorWindow, ETypedAndSavedWritesShiftJisWithCrLfAndClearsTheChangeMarker) {
  test::StartedForm s;
  test::writeFile(s.data.file("O1234.NC"), kProgramBytes);
  s.start();
  Editor e(s);
  e.editFile("O1234.NC");
  const std::string path = s.data.file("O1234.NC");
  e.key(Qt::Key_Down);
  e.key(Qt::Key_Down);
  e.key(Qt::Key_End);
  e.type("(荒加工)");
  EXPECT_EQ(e.field(2), "＜変更＞");
  EXPECT_EQ(e.caption(), "<編集><変更>" + path + " - Kestrovan");
  EXPECT_TRUE(e.enabled("ToolButton16", "元に戻す"));
  e.click("ToolButton3");
  EXPECT_TRUE(e.choosers.saveFolders.empty()) << "a file with a name is saved without a question";
  EXPECT_EQ(test::readFile(path),
            "%\r\nO1234(\xC3\xBD\xC4)\r\nG00X0(\x8D\x72\x89\xC1\x8D\x48)\r\nM30\r\n%\r\n");
  EXPECT_EQ(e.field(2), "");
  EXPECT_EQ(e.caption(), "<編集>" + path + " - Kestrovan");
  EXPECT_FALSE(e.text()->document()->isModified());
  EXPECT_TRUE(s.dialogs.shown.empty());
}

TEST(EditorWindow, ShiftEGivesANewDocumentWhoseSaveAsksForANameAndLeavesTheOtherFileAlone) {
  test::StartedForm s;
  test::writeFile(s.data.file("O1234.NC"), kProgramBytes);
  s.start();
  Editor e(s);
  keyboard::press(Qt::Key_E, Qt::ShiftModifier);
  ASSERT_TRUE(e.box()->isVisible());
  EXPECT_EQ(e.ops().documentName(), "new");
  EXPECT_EQ(e.caption(), "<新規作成>new - Kestrovan");
  EXPECT_EQ(e.field(0), "ｻｲｽﾞ");
  EXPECT_TRUE(e.text()->toPlainText().isEmpty());
  e.type("O2000");
  e.choosers.saveAnswers.push_back(s.data.file("O2000.NC"));
  e.click("ToolButton3");
  EXPECT_EQ(e.choosers.saveFolders, (std::vector<std::string>{s.data.path()}));
  EXPECT_EQ(test::readFile(s.data.file("O2000.NC")), "O2000");
  EXPECT_EQ(e.ops().documentName(), s.data.file("O2000.NC"));
  EXPECT_EQ(e.caption(), "<編集>" + s.data.file("O2000.NC") + " - Kestrovan");
  EXPECT_EQ(e.field(2), "");
  // A second save goes to the same file without asking.
  e.type("(A)");
  e.click("ToolButton3");
  EXPECT_EQ(e.choosers.saveFolders.size(), 1u);
  EXPECT_EQ(test::readFile(s.data.file("O2000.NC")), "O2000(A)");

  // E on O1234.NC, then New: the save asks for a name instead of writing O1234.NC.
  e.click("ToolButton13");
  e.editFile("O1234.NC");
  e.click("ToolButton1");
  EXPECT_EQ(e.caption(), "<新規作成>new - Kestrovan");
  EXPECT_EQ(e.field(0), "サイズ");
  EXPECT_EQ(e.field(1), "1 , 1");
  e.type("O3000");
  e.click("ToolButton3"); // the dialog is cancelled: nothing happens
  EXPECT_EQ(e.choosers.saveFolders.size(), 2u);
  EXPECT_EQ(e.field(2), "＜変更＞");
  EXPECT_EQ(test::readFile(s.data.file("O1234.NC")), kProgramBytes);
  EXPECT_FALSE(test::fileExists(s.data.file("O3000.NC")));
}

TEST(EditorWindow, NoInTheClosingQuestionEndsTheEditingAndYesSavesFirst) {
  for (MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
    test::StartedForm s;
    test::writeFile(s.data.file("O1234.NC"), kProgramBytes);
    s.start();
    Editor e(s);
    e.editFile("O1234.NC");
    e.type("X");
    s.dialogs.answers.push_back(answer);
    e.click("ToolButton13");
    ASSERT_EQ(s.dialogs.shown.size(), 1u) << s.dialogs.shown.back().text;
    const base::Message& asked = s.dialogs.shown[0];
    EXPECT_EQ(asked.text, s.data.file("O1234.NC") + " への変更を保存しますか？");
    EXPECT_EQ(asked.title, "編集");
    EXPECT_EQ(asked.buttons, base::MessageButtons::YesNoCancel);
    EXPECT_EQ(asked.icon, base::MessageIcon::Warning);
    EXPECT_FALSE(e.box()->isVisible());
    EXPECT_TRUE(s.list()->isEnabled());
    EXPECT_TRUE(s.list()->hasFocus());
    EXPECT_EQ(e.caption(), "<編集> - Kestrovan");
    EXPECT_TRUE(e.text()->toPlainText().isEmpty());
    EXPECT_EQ(e.messageLine(), "編集終了!!");
    EXPECT_TRUE(s.find<QLabel>("Label11")->styleSheet().contains("red"));
    EXPECT_EQ(test::readFile(s.data.file("O1234.NC")),
              answer == MessageAnswer::Yes ? "X" + kProgramBytes : kProgramBytes);
    // Back to idle a second later.
    EXPECT_TRUE(QTest::qWaitFor([&] { return e.messageLine().empty(); }, 3000));
  }
}

TEST(EditorWindow, KeysSaveFindAndEndTheEditingWithoutTheMouse) {
  test::StartedForm s;
  test::writeFile(s.data.file("O1234.NC"), kProgramBytes);
  s.start();
  ASSERT_TRUE(QTest::qWaitForWindowActive(s.form->window()));
  Editor e(s);
  e.editFile("O1234.NC");
  e.type("X");
  e.key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(test::readFile(s.data.file("O1234.NC")), "X" + kProgramBytes);
  EXPECT_EQ(e.field(2), "");
  e.key(Qt::Key_F, Qt::ControlModifier);
  auto* find = s.form->window()->findChild<QDialog*>("FindDialog1");
  ASSERT_NE(find, nullptr);
  EXPECT_TRUE(find->isVisible());
  // Esc in the find dialog closes it, and the keys go to the text again.
  e.key(Qt::Key_Escape);
  EXPECT_FALSE(find->isVisible());
  EXPECT_EQ(keyboard::target(), e.text()) << keyboard::focusName();
  // Esc ends the editing as the end button does: the question first when
  // there are changes.
  e.type("Y");
  s.dialogs.answers.push_back(MessageAnswer::No);
  e.key(Qt::Key_Escape);
  ASSERT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_EQ(s.dialogs.shown[0].buttons, base::MessageButtons::YesNoCancel);
  EXPECT_FALSE(e.box()->isVisible());
  EXPECT_TRUE(s.list()->hasFocus());
  EXPECT_EQ(test::readFile(s.data.file("O1234.NC")), "X" + kProgramBytes);
  // The keys are the editor's only while it shows: Ctrl+S in the list saves nothing.
  keyboard::press(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(test::readFile(s.data.file("O1234.NC")), "X" + kProgramBytes);
}

TEST(EditorWindow, AnUnchangedDocumentEndsWithoutAQuestionAndTheListShowsASavedNewFile) {
  test::StartedForm s;
  s.start();
  Editor e(s);
  keyboard::press(Qt::Key_F9, Qt::ShiftModifier);
  e.type("O5");
  e.choosers.saveAnswers.push_back(s.data.file("O5.NC"));
  e.click("ToolButton3");
  e.click("ToolButton13");
  EXPECT_TRUE(s.dialogs.shown.empty());
  EXPECT_GE(rowOf(s, "O5.NC"), 0) << "the list was refreshed";
  // A folder row opens nothing.
  std::filesystem::create_directory(s.data.file("SUB"));
  keyboard::press(Qt::Key_Space);
  s.list()->selectRow(rowOf(s, "SUB"));
  keyboard::press(Qt::Key_E);
  EXPECT_FALSE(e.box()->isVisible());
  EXPECT_TRUE(s.list()->isEnabled());
}

TEST(EditorWindow, TheCaretFieldCountsLinesAndColumnsFromOne) {
  test::StartedForm s;
  test::writeFile(s.data.file("A.NC"), "ABCDE\r\nFGHIJ\r\n");
  s.start();
  Editor e(s);
  e.editFile("A.NC");
  e.key(Qt::Key_Down);
  for (int i = 0; i < 3; ++i)
    e.key(Qt::Key_Right);
  EXPECT_EQ(e.field(1), "2 , 4");
  // With a selection, the line and column of its start.
  e.key(Qt::Key_Left, Qt::ShiftModifier);
  e.key(Qt::Key_Up, Qt::ShiftModifier);
  EXPECT_EQ(e.field(1), "1 , 3");
}

TEST(EditorWindow, InsertFlipsTheModeAndOverwriteKeepsCutCopyAndDeleteDisabledWithASelection) {
  test::StartedForm s;
  test::writeFile(s.data.file("A.NC"), "ABCDE\r\n");
  s.start();
  Editor e(s);
  e.editFile("A.NC");
  e.key(Qt::Key_Right, Qt::ShiftModifier);
  e.key(Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(e.field(4), "選択範囲");
  EXPECT_TRUE(e.enabled("ToolButton6", "切り取り"));
  EXPECT_TRUE(e.enabled("ToolButton7", "コピー"));
  EXPECT_TRUE(e.enabled("ToolButton10", "削除"));
  EXPECT_EQ(e.text()->cursorWidth(), 1);

  e.key(Qt::Key_Insert);
  EXPECT_EQ(e.field(3), "上書");
  EXPECT_TRUE(e.text()->overwriteMode());
  EXPECT_EQ(e.text()->cursorWidth(), e.text()->fontMetrics().height() / 2);
  EXPECT_GT(e.text()->cursorWidth(), 1);
  e.key(Qt::Key_Home);
  e.key(Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(e.field(4), "");
  EXPECT_FALSE(e.enabled("ToolButton6", "切り取り"));
  EXPECT_FALSE(e.enabled("ToolButton7", "コピー"));
  EXPECT_FALSE(e.enabled("ToolButton10", "削除"));
  // Overwrite replaces the character after the caret.
  e.key(Qt::Key_Home);
  e.type("xy");
  EXPECT_EQ(e.text()->toPlainText().toStdString(), "xyCDE\n");

  // The mode is kept for the next opening of the editor.
  e.click("ToolButton13");
  e.editFile("A.NC");
  EXPECT_EQ(e.field(3), "上書");
  e.key(Qt::Key_Insert);
  EXPECT_EQ(e.field(3), "挿入");
  EXPECT_FALSE(e.text()->overwriteMode());
  EXPECT_EQ(e.text()->cursorWidth(), 1);
}

TEST(EditorWindow, DeleteAndUndoFromTheToolBarAndDateAndTimeOverTheSelection) {
  test::StartedForm s;
  test::writeFile(s.data.file("A.NC"), "ABCDE\r\n");
  s.start();
  Editor e(s);
  e.editFile("A.NC");
  e.key(Qt::Key_Right, Qt::ShiftModifier);
  e.click("ToolButton10");
  EXPECT_EQ(e.text()->toPlainText().toStdString(), "BCDE\n");
  EXPECT_FALSE(e.enabled("ToolButton10", "削除"));
  e.click("ToolButton16");
  EXPECT_EQ(e.text()->toPlainText().toStdString(), "ABCDE\n");
  e.key(Qt::Key_Home);
  e.key(Qt::Key_End, Qt::ShiftModifier);
  e.menuItem("日付と時刻")->trigger();
  EXPECT_EQ(e.text()->toPlainText(), editor::dateTimeStamp(e.choosers.clock) + "\n");
}

TEST(EditorWindow, ACharacterShiftJisCannotHoldStopsTheSaveWithItsPlaceSelected) {
  test::StartedForm s;
  test::writeFile(s.data.file("A.NC"), "G00\r\nG01\r\n");
  s.start();
  Editor e(s);
  e.editFile("A.NC");
  e.key(Qt::Key_Down);
  e.key(Qt::Key_End);
  e.type("(OK😀)");
  e.click("ToolButton3");
  ASSERT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_EQ(s.dialogs.shown[0].text,
            "2 行 7 桁目の文字「😀」は Shift-JIS "
            "で保存できません。\n保存を中止しました（ファイルは書き換えていません）。");
  EXPECT_EQ(s.dialogs.shown[0].icon, base::MessageIcon::Stop);
  EXPECT_EQ(test::readFile(s.data.file("A.NC")), "G00\r\nG01\r\n");
  EXPECT_EQ(e.text()->textCursor().selectedText().toStdString(), "😀");
  EXPECT_EQ(e.field(2), "＜変更＞");
  // Ending with Yes tries the save again; it stops again and the editor stays.
  s.dialogs.answers = {MessageAnswer::Yes};
  e.click("ToolButton13");
  EXPECT_TRUE(e.box()->isVisible());
  EXPECT_EQ(test::readFile(s.data.file("A.NC")), "G00\r\nG01\r\n");
}

TEST(EditorWindow, AReadOnlyFileIsNotWrittenTheModifiedFlagStaysAndEndingWithYesKeepsTheEditor) {
  test::StartedForm s;
  const std::string path = s.data.file("A.NC");
  test::writeFile(path, "G00\r\n");
  ASSERT_EQ(platform::setOwnerWritable(path, false), 0);
  s.start();
  Editor e(s);
  e.editFile("A.NC");
  e.type("X");
  e.click("ToolButton3");
  ASSERT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_EQ(s.dialogs.shown[0].text, "ファイル " + path + " を作成できません");
  EXPECT_EQ(test::readFile(path), "G00\r\n");
  EXPECT_TRUE(e.text()->document()->isModified());
  EXPECT_EQ(e.field(2), "＜変更＞");
  s.dialogs.answers = {MessageAnswer::Yes};
  e.click("ToolButton13");
  EXPECT_TRUE(e.box()->isVisible());
  EXPECT_EQ(s.dialogs.shown.back().text, "ファイル " + path + " を作成できません");
  // No drops the changes and ends.
  s.dialogs.answers = {MessageAnswer::No};
  e.click("ToolButton13");
  EXPECT_FALSE(e.box()->isVisible());
  EXPECT_EQ(test::readFile(path), "G00\r\n");
}

TEST(EditorWindow, AFileWithBytesThatWouldNotComeBackWarnsOnOpenAndAsksBeforeItIsSaved) {
  test::StartedForm s;
  const std::string path = s.data.file("B.NC");
  const std::string bytes = "O1\r\nG0\x81\r\nM30\r\n";
  test::writeFile(path, bytes);
  s.start();
  Editor e(s);
  e.editFile("B.NC");
  ASSERT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_NE(s.dialogs.shown[0].text.find("2 行目"), std::string::npos);
  EXPECT_EQ(s.dialogs.shown[0].icon, base::MessageIcon::Warning);
  s.dialogs.answers = {MessageAnswer::No};
  e.click("ToolButton3");
  ASSERT_EQ(s.dialogs.shown.size(), 2u);
  EXPECT_EQ(s.dialogs.shown[1].buttons, base::MessageButtons::YesNo);
  EXPECT_EQ(test::readFile(path), bytes);
  s.dialogs.answers = {MessageAnswer::Yes};
  e.click("ToolButton3");
  EXPECT_EQ(test::readFile(path), "O1\r\nG0?\r\nM30\r\n");
  // Asked once: the next save goes without the question.
  e.type("N");
  e.click("ToolButton3");
  EXPECT_EQ(s.dialogs.shown.size(), 3u);
  EXPECT_EQ(test::readFile(path), "NO1\r\nG0?\r\nM30\r\n");
}

namespace {

// Each program, opened with E on its row, saved and closed from the tool
// bar, is on disk as it was, every lone LF given its CR.
void expectEachOpenedAndSavedComesBack(const std::vector<std::pair<std::string, std::string>>& programs) {
  test::StartedForm s;
  for (const auto& [name, bytes] : programs)
    test::writeFile(s.data.file(name), bytes);
  s.start();
  Editor e(s);
  for (const auto& [name, original] : programs) {
    std::string expected;
    for (std::size_t i = 0; i < original.size(); ++i) {
      if (original[i] == '\n' && (i == 0 || original[i - 1] != '\r')) expected += '\r';
      expected += original[i];
    }
    s.list()->selectRow(rowOf(s, name));
    test::keyboard::press(Qt::Key_E);
    ASSERT_TRUE(e.box()->isVisible()) << name << ", the keys went to " << test::keyboard::focusName();
    e.click("ToolButton3");
    e.click("ToolButton13");
    EXPECT_EQ(test::readFile(s.data.file(name)), expected) << name;
  }
  EXPECT_TRUE(s.dialogs.shown.empty()) << s.dialogs.shown.front().text;
}

} // namespace

TEST(EditorWindow, EveryKindOfProgramOpenedAndSavedInTheWindowComesBackByteForByte) {
  std::vector<std::pair<std::string, std::string>> programs;
  for (const test::written::Program& p : test::written::all())
    programs.emplace_back(p.name, p.bytes);
  expectEachOpenedAndSavedComesBack(programs);
}

TEST(EditorWindow, EverySampleOpenedAndSavedInTheWindowComesBackByteForByte) {
  KESTROVAN_NEEDS_SAMPLES();
  std::vector<std::pair<std::string, std::string>> programs;
  for (const auto& entry : std::filesystem::directory_iterator(test::samplesDir()))
    if (entry.path().extension() == ".NC")
      // The samples are read-only; their copies are not.
      programs.emplace_back(entry.path().filename().string(), test::readFile(entry.path().string()));
  ASSERT_EQ(programs.size(), 11u);
  expectEachOpenedAndSavedComesBack(programs);
}

TEST(EditorWindow, OpenFontWrapAndColouringFromTheToolBarAndTheMenu) {
  test::StartedForm s;
  test::writeFile(s.data.file("A.NC"), "G00\r\n");
  test::writeFile(s.data.file("B.NC"), "G01X1.\r\nM30\r\n");
  s.start();
  Editor e(s);
  e.editFile("A.NC");
  e.choosers.openAnswers.push_back(s.data.file("B.NC"));
  e.type("changed, dropped after the question");
  s.dialogs.answers = {MessageAnswer::No};
  e.click("ToolButton2");
  ASSERT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_EQ(s.dialogs.shown[0].text, s.data.file("A.NC") + " への変更を保存しますか？");
  ASSERT_EQ(e.choosers.openAsked.size(), 1u);
  EXPECT_EQ(e.choosers.openAsked[0], std::make_pair(s.data.path(), std::string("*.NC")));
  EXPECT_EQ(e.text()->toPlainText().toStdString(), "G01X1.\nM30\n");
  EXPECT_EQ(e.caption(), "<編集>" + s.data.file("B.NC") + " - Kestrovan");
  EXPECT_EQ(e.field(0), "サイズ : " + files::sizeText(13));
  EXPECT_EQ(e.field(2), "");
  EXPECT_FALSE(e.text()->document()->isModified());

  QFont font("IPAGothic");
  font.setPointSize(14);
  e.choosers.fontAnswer = font;
  e.key(Qt::Key_Down);
  e.click("ToolButton14");
  EXPECT_EQ(e.field(5), "IPAGothic  14");
  EXPECT_EQ(e.field(1), "1 , 1");
  EXPECT_EQ(s.form->settings().Font_Name, "IPAGothic");
  EXPECT_EQ(s.form->settings().Font_Size, 14);
  EXPECT_EQ(e.text()->font().pointSize(), 14);

  QAction* wrap = e.menuItem("右端で折り返す");
  wrap->trigger();
  EXPECT_TRUE(wrap->isChecked());
  EXPECT_EQ(e.text()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
  EXPECT_EQ(e.text()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  wrap->trigger();
  EXPECT_EQ(e.text()->lineWrapMode(), QPlainTextEdit::NoWrap);
  EXPECT_EQ(e.text()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

  QAction* colouring = e.menuItem("NCシンタックス色分け");
  EXPECT_TRUE(colouring->isChecked());
  EXPECT_TRUE(editor::hasNcColouring(e.text()));
  colouring->trigger();
  EXPECT_FALSE(editor::hasNcColouring(e.text()));
  EXPECT_EQ(s.form->settings().NC_Color, "N");
  e.click("ToolButton13");
  e.editFile("A.NC");
  EXPECT_FALSE(colouring->isChecked());
  EXPECT_FALSE(editor::hasNcColouring(e.text()));
  EXPECT_EQ(e.field(5), "IPAGothic  14") << "the font chosen stays for the next opening";
}

TEST(EditorWindow, TheColouringMarksTheWordsOfTheLinesInViewOnlyAndFollowsAnEdit) {
  test::StartedForm s;
  std::string big = "N1G01X1.(A)\r\n";
  for (int i = 0; i < 20000; ++i)
    big += "X1.\r\n";
  test::writeFile(s.data.file("A.NC"), big);
  s.start();
  Editor e(s);
  e.editFile("A.NC");
  QApplication::processEvents();
  QTextDocument* document = e.text()->document();
  auto starts = [&](int blockNumber) {
    std::vector<std::pair<int, int>> out;
    for (const QTextLayout::FormatRange& r : document->findBlockByNumber(blockNumber).layout()->formats())
      out.emplace_back(r.start, r.length);
    return out;
  };
  EXPECT_EQ(starts(0), (std::vector<std::pair<int, int>>{{0, 2}, {2, 3}, {5, 3}, {8, 3}}));
  EXPECT_TRUE(starts(19990).empty()) << "lines out of view are left for later";
  // A line typed is coloured when it is drawn.
  e.type("G02");
  e.text()->viewport()->repaint();
  QApplication::processEvents();
  EXPECT_EQ(starts(0).front(), (std::pair<int, int>{0, 3}));
  e.key(Qt::Key_End, Qt::ControlModifier);
  QApplication::processEvents();
  EXPECT_FALSE(starts(19990).empty());
}

// A line of data far longer than any program block is left plain (colouring
// it laid all of it out again on every update: a 1 MB line froze the editor
// for minutes); the program lines around it are coloured as ever.
TEST(EditorWindow, AVeryLongLineIsLeftPlainAndTheLinesAroundItAreColoured) {
  test::StartedForm s;
  std::string longLine;
  while (longLine.size() < 60'000)
    longLine += "G01X1.Y2.";
  test::writeFile(s.data.file("A.NC"), "N1G00X0\r\n" + longLine + "\r\nM30\r\n");
  s.start();
  Editor e(s);
  e.editFile("A.NC");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !e.text()->isReadOnly(); }, 10000));
  e.text()->viewport()->repaint();
  QApplication::processEvents();
  QTextDocument* document = e.text()->document();
  auto ranges = [&](int blockNumber) {
    return document->findBlockByNumber(blockNumber).layout()->formats().size();
  };
  EXPECT_EQ(ranges(0), 3);
  EXPECT_EQ(ranges(1), 0);
  EXPECT_EQ(ranges(2), 1);
}

