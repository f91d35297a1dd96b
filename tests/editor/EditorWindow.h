#pragma once
// The editor panel GroupBox3 on the real main window: the scripted choosers
// and the Editor driver that its window tests share.
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

namespace kestrovan::test::editor_window {

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

inline int rowOf(const test::StartedForm& s, const std::string& name) {
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

inline const std::string kProgram = "%\r\nO1234(ﾃｽﾄ)\r\nG00X0\r\nM30\r\n%\r\n";
inline const std::string kProgramBytes = platform::utf8ToCp932(kProgram);

} // namespace kestrovan::test::editor_window
