// The editor panel GroupBox3 on the real main window, driven by keys.
#include "editor/ui/EditorOperations.h"
#include "editor/ui/EditorPanel.h"
#include "editor/ui/EditorSeams.h"
#include "editor/ui/NcHighlighter.h"

#include "FileSystems.h"
#include "PipeUnblocker.h"
#include "StartedForm.h"
#include "base/SettingsRecord.h"
#include "core/ui/QtDialogs.h"
#include "files/SizeText.h"
#include "platform/Cp932.h"
#include "platform/FileMode.h"
#include "support/Keyboard.h"
#include "support/Samples.h"
#include "support/WrittenPrograms.h"

#include <QAbstractButton>
#include <QAction>
#include <QClipboard>
#include <QDialog>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <deque>
#include <filesystem>

using namespace kestrovan;
using base::MessageAnswer;
namespace keyboard = kestrovan::test::keyboard;

namespace {

// The editor's dialogs answered from a script; each records that it was asked.
struct FakeChoosers : editor::EditorChoosers {
  std::deque<std::optional<std::string>> saveAnswers;
  std::deque<std::optional<std::string>> openAnswers;
  std::optional<QFont> fontAnswer;
  std::vector<std::string> saveFolders;
  std::vector<std::pair<std::string, std::string>> openAsked; // folder, mask
  QDateTime clock{QDate(2026, 12, 9), QTime(7, 5, 9)};

  std::optional<std::string> openFile(QWidget*, const std::string& folder, const std::string& mask) override {
    openAsked.emplace_back(folder, mask);
    return take(openAnswers);
  }
  std::optional<std::string> saveFile(QWidget*, const std::string& folder) override {
    saveFolders.push_back(folder);
    return take(saveAnswers);
  }
  std::optional<QFont> chooseFont(QWidget*, const QFont&) override { return fontAnswer; }
  QDateTime now() override { return clock; }

  static std::optional<std::string> take(std::deque<std::optional<std::string>>& answers) {
    if (answers.empty()) return std::nullopt; // the dialog cancelled
    std::optional<std::string> a = answers.front();
    answers.pop_front();
    return a;
  }
};

int rowOf(const test::StartedForm& s, const std::string& name) {
  const files::FileList& list = s.form->fileList();
  for (int row = 0; row < static_cast<int>(list.rows().size()); ++row)
    if (const files::FileEntry* e = list.entryAt(row); e && e->name == name) return row;
  return -1;
}

struct Editor {
  test::StartedForm& s;
  FakeChoosers choosers;

  explicit Editor(test::StartedForm& started) : s(started) {
    s.window->operation<editor::EditorOperations>()->setChoosers(choosers);
  }
  editor::EditorOperations& ops() const { return *s.window->operation<editor::EditorOperations>(); }
  QGroupBox* box() const { return s.find<QGroupBox>("GroupBox3"); }
  QPlainTextEdit* text() const { return s.find<QPlainTextEdit>("EditorText"); }
  std::string caption() const { return box()->title().toStdString(); }
  std::string field(int i) const {
    return s.find<QLabel>(("StatusBar3Field" + std::to_string(i)).c_str())->text().toStdString();
  }
  QToolButton* button(const char* name) const { return s.find<QToolButton>(name); }
  void click(const char* name) const { QTest::mouseClick(button(name), Qt::LeftButton); }
  QAction* menuItem(const char* text) const {
    for (QAction* a : s.find<QMenu>("PopupMenu1")->actions())
      if (a->text() == QString::fromUtf8(text)) return a;
    return nullptr;
  }
  // The row selected, then E where the keyboard is (the list, when it is idle).
  void editFile(const std::string& name) const {
    s.list()->selectRow(rowOf(s, name));
    keyboard::press(Qt::Key_E);
  }
  // ASCII as key presses; other characters as an input method commits them
  // (how Japanese text and emoji reach a text control), to whatever has the
  // keyboard.
  void type(const char* utf8) const {
    const QString all = QString::fromUtf8(utf8);
    QString run;
    auto commit = [&] {
      if (run.isEmpty()) return;
      keyboard::settle();
      QWidget* target = keyboard::target();
      ASSERT_NE(target, nullptr);
      QInputMethodEvent event;
      event.setCommitString(run);
      QApplication::sendEvent(target, &event);
      run.clear();
    };
    for (QChar c : all) {
      if (c.unicode() < 0x80) {
        commit();
        keyboard::type(std::string(1, c.toLatin1()));
      } else {
        run += c;
      }
    }
    commit();
  }
  void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) const { keyboard::press(k, m); }
  bool enabled(const char* button1, const char* menuText) const {
    const bool onBar = button(button1)->isEnabled();
    EXPECT_EQ(onBar, menuItem(menuText)->isEnabled()) << button1;
    return onBar;
  }
  std::string messageLine() const { return s.find<QLabel>("Label11")->text().toStdString(); }
};

const std::string kProgram = "%\r\nO1234(ﾃｽﾄ)\r\nG00X0\r\nM30\r\n%\r\n";
const std::string kProgramBytes = platform::utf8ToCp932(kProgram);

} // namespace

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
