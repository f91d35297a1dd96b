// FindDialog1 on a real text area, driven by keys (to whatever has the
// keyboard) and clicks.
#include "editor/ui/FindDialog.h"

#include "support/FakeDialogs.h"
#include "support/Keyboard.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>

using namespace kestrovan;
namespace keyboard = kestrovan::test::keyboard;

namespace {

struct Search {
  QPlainTextEdit editor;
  test::FakeDialogs dialogs;
  std::vector<std::string> fieldTexts; // what status field 6 was given
  int caretMoves = 0;
  editor::FindDialog dialog{{&editor,
                             &dialogs,
                             [this](const std::string& t) { fieldTexts.push_back(t); },
                             [this] { ++caretMoves; },
                             {},
                             {}},
                            nullptr};

  explicit Search(const QString& text) {
    editor.setLineWrapMode(QPlainTextEdit::NoWrap);
    editor.setPlainText(text);
    editor.resize(400, 200);
    editor.show();
    dialog.showFind();
  }
  template <class T> T* child(const char* name) { return dialog.findChild<T*>(name); }
  // Alt+N (the label's key) takes the keyboard to the text, Ctrl+A selects
  // all of it, and the new text replaces it.
  void type(const char* text) {
    keyboard::press(Qt::Key_N, Qt::AltModifier);
    keyboard::press(Qt::Key_A, Qt::ControlModifier);
    keyboard::type(text);
  }
  void up() { QTest::mouseClick(child<QRadioButton>("DirectionUp"), Qt::LeftButton); }
  void matchCase() { QTest::mouseClick(child<QCheckBox>("MatchCase"), Qt::LeftButton); }
  // Enter presses the default button, find next.
  void findNext() { keyboard::press(Qt::Key_Return); }
  void caretAt(int line, int column) {
    QTextCursor c(editor.document()->findBlockByNumber(line));
    c.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, column);
    editor.setTextCursor(c);
  }
  // The selection as line, column (from 0) and its text.
  std::tuple<int, int, QString> selection() const {
    const QTextCursor c = editor.textCursor();
    const QTextBlock b = editor.document()->findBlock(c.selectionStart());
    return {b.blockNumber(), c.selectionStart() - b.position(), c.selectedText()};
  }
  bool missShown() const {
    return !dialogs.shown.empty() && dialogs.shown.back().text == "検索文字列が見当たりません！" &&
           dialogs.shown.back().title == "編集" &&
           dialogs.shown.back().icon == base::MessageIcon::Information;
  }
};

const QString kText = "G00 X10.\nG01 X10. Y5.\nM30";

} // namespace

TEST(FindDialog, ItsControlsAndTheirFirstState) {
  Search s(kText);
  EXPECT_TRUE(s.dialog.isVisible());
  EXPECT_FALSE(s.dialog.isModal());
  EXPECT_TRUE(s.child<QRadioButton>("DirectionDown")->isChecked());
  EXPECT_FALSE(s.child<QCheckBox>("MatchCase")->isChecked());
  EXPECT_FALSE(s.child<QCheckBox>("WholeWord")->isEnabled());
  EXPECT_FALSE(s.child<QPushButton>("FindNextButton")->isEnabled());
  s.type("X");
  EXPECT_TRUE(s.child<QPushButton>("FindNextButton")->isEnabled());
  QTest::mouseClick(s.child<QPushButton>("HelpButton"), Qt::LeftButton);
  ASSERT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_EQ(s.dialogs.shown[0].icon, base::MessageIcon::Information);
}

TEST(FindDialog, DownWithTheHitSelectedFindsTheNextOneThenMisses) {
  Search s(kText);
  s.type("X10.");
  s.findNext();
  EXPECT_EQ(s.selection(), std::make_tuple(0, 4, QString("X10.")));
  // The keyboard stays in the dialog for the next search.
  EXPECT_TRUE(s.dialog.isAncestorOf(keyboard::target())) << keyboard::focusName();
  s.findNext();
  EXPECT_EQ(s.selection(), std::make_tuple(1, 4, QString("X10.")));
  EXPECT_EQ(s.caretMoves, 2);
  EXPECT_EQ(s.fieldTexts, (std::vector<std::string>{"文字列検索中", "", "文字列検索中", ""}));
  s.findNext();
  EXPECT_TRUE(s.missShown());
  // The selection stays after a miss.
  EXPECT_EQ(s.selection(), std::make_tuple(1, 4, QString("X10.")));
  EXPECT_EQ(s.fieldTexts.back(), "");
}

TEST(FindDialog, UpFromALineStartGoesToTheLineAbove) {
  Search s(kText);
  s.caretAt(1, 0);
  s.up();
  s.type("X10.");
  s.findNext();
  EXPECT_EQ(s.selection(), std::make_tuple(0, 4, QString("X10.")));
  // From the end walking back through both.
  s.caretAt(2, 3);
  s.findNext();
  EXPECT_EQ(s.selection(), std::make_tuple(1, 4, QString("X10.")));
  s.findNext();
  EXPECT_EQ(s.selection(), std::make_tuple(0, 4, QString("X10.")));
  EXPECT_TRUE(s.dialogs.shown.empty());
}

TEST(FindDialog, AStringOnlyAfterTheCaretSearchedUpIsAMiss) {
  Search s(kText);
  s.caretAt(1, 2);
  s.up();
  s.type("M30");
  s.findNext();
  EXPECT_TRUE(s.missShown());
  EXPECT_EQ(s.selection(), std::make_tuple(1, 2, QString()));
}

TEST(FindDialog, LowerCaseFindsUpperCaseOnlyWithoutMatchCase) {
  Search s(kText);
  s.type("x10.");
  s.findNext();
  EXPECT_EQ(s.selection(), std::make_tuple(0, 4, QString("X10.")));
  s.caretAt(0, 0);
  s.matchCase();
  s.findNext();
  EXPECT_TRUE(s.missShown());
  EXPECT_EQ(s.selection(), std::make_tuple(0, 0, QString()));
}

TEST(FindDialog, AnOccurrenceSpanningTheCaretIsFoundUp) {
  Search s(kText);
  s.caretAt(1, 6); // between "X1" and "0."
  s.up();
  s.type("X10.");
  s.findNext();
  EXPECT_EQ(s.selection(), std::make_tuple(1, 4, QString("X10.")));
}

TEST(FindDialog, TheHitsLineBecomesTheSecondVisibleLine) {
  QString text;
  for (int i = 1; i <= 300; ++i)
    text += QString("N%1 G01 X%2.\n").arg(i).arg(i % 7);
  text += "M30";
  Search s(text);
  s.type("M30");
  s.findNext();
  // At the very end the text cannot scroll further than its last page.
  EXPECT_EQ(s.editor.verticalScrollBar()->value(), s.editor.verticalScrollBar()->maximum());
  s.caretAt(0, 0);
  s.type("N150 ");
  s.findNext();
  EXPECT_EQ(std::get<0>(s.selection()), 149);
  EXPECT_EQ(s.editor.verticalScrollBar()->value(), 148);
  s.up();
  s.type("N20 ");
  s.findNext();
  EXPECT_EQ(std::get<0>(s.selection()), 19);
  EXPECT_EQ(s.editor.verticalScrollBar()->value(), 18);
}

TEST(FindDialog, ASearchAfterAnEditSeesTheEditedText) {
  Search s(kText);
  s.type("T01");
  s.findNext();
  EXPECT_TRUE(s.missShown());
  // Typed into the text area, then searched again from the start.
  // The operator goes to the text, types, and comes back to the dialog.
  s.editor.activateWindow();
  s.editor.setFocus();
  s.caretAt(2, 3);
  keyboard::type(" T01");
  s.caretAt(0, 0);
  s.dialog.showFind();
  s.findNext();
  EXPECT_EQ(s.selection(), std::make_tuple(2, 4, QString("T01")));
  // A new text in the same area, and the dialog closed and opened again.
  s.editor.setPlainText("G00\nT01 M06");
  s.dialog.hide();
  s.dialog.showFind();
  s.findNext();
  EXPECT_EQ(s.selection(), std::make_tuple(1, 0, QString("T01")));
}
