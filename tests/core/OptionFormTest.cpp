// The options dialog on the real main window, driven by keys.
#include "core/OptionForm.h"
#include "StartedForm.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

using namespace kestrovan;

namespace {

struct Options {
  test::StartedForm& s;

  core::TOptionForm* dialog() const { return s.form->findChild<core::TOptionForm*>("OptionForm"); }
  QLineEdit* field(const char* key) const { return dialog()->field(key); }
  QPushButton* apply() const { return dialog()->findChild<QPushButton*>("Button1"); }
  QPushButton* back() const { return dialog()->findChild<QPushButton*>("Button2"); }
  QTabWidget* pages() const { return dialog()->findChild<QTabWidget*>("PageControl1"); }
  const core::SettingsRecord& settings() const { return s.form->state().settings; }

  void open(int page = -1) {
    QTest::keyClick(s.list(), Qt::Key_O);
    ASSERT_TRUE(dialog()->isVisible());
    QApplication::setActiveWindow(dialog());
    if (page >= 0) pages()->setCurrentIndex(page);
  }
  QWidget* focused() const { return QApplication::focusWidget(); }
  void key(Qt::Key k) { QTest::keyClick(focused(), k); }
  void type(const char* text) { QTest::keyClicks(focused(), text); }
};

enum Page { General, Receive, Send, Other };

} // namespace

TEST(OptionForm, OpensCentredOnTheMainWindowFilledAndCleanAndClosesWithoutAsking) {
  test::StartedForm s;
  s.start();
  Options o{s};
  o.open();
  core::TOptionForm* d = o.dialog();
  EXPECT_EQ(d->windowTitle(), "ｵﾌﾟｼｮﾝ設定");
  EXPECT_EQ(d->size(), QSize(272, 411));
  EXPECT_TRUE(d->isModal());
  const QRect main = s.form->recordedWindowRect();
  ASSERT_FALSE(main.isNull());
  // Centred with the outer size, frame included.
  const QSize own = d->frameGeometry().size();
  EXPECT_EQ(d->pos(), QPoint(main.left() + main.width() / 2 - own.width() / 2,
                             main.top() + main.height() / 2 - own.height() / 2));

  EXPECT_EQ(o.pages()->count(), 4);
  EXPECT_EQ(o.pages()->tabText(3), "その他");
  EXPECT_EQ(o.field("InvTime")->text(), "0");
  EXPECT_EQ(o.field("ListColumn")->text(), "2");
  EXPECT_EQ(o.field("DC3(0X93)")->text(), "Y");
  EXPECT_TRUE(o.field("op1")->hasFocus());
  EXPECT_FALSE(o.apply()->isEnabled());

  QTest::mouseClick(o.back(), Qt::LeftButton);
  EXPECT_FALSE(d->isVisible());
  EXPECT_TRUE(s.dialogs.shown.empty());
  // The close box and Esc go the same way.
  o.open();
  d->close();
  EXPECT_FALSE(d->isVisible());
  o.open();
  o.key(Qt::Key_Escape);
  EXPECT_FALSE(d->isVisible());
  EXPECT_TRUE(s.dialogs.shown.empty());
}

TEST(OptionForm, ShowAllFilesSetToNRefreshesTheListAtOnce) {
  test::StartedForm s;
  test::writeFile(s.data.file("A.NC"), "%\r\n");
  test::writeFile(s.data.file("B.TXT"), "x");
  s.start();
  auto listed = [&](const char* name) {
    for (const QString& row : s.list()->rows())
      if (row.contains(name)) return true;
    return false;
  };
  ASSERT_TRUE(listed("B"));
  Options o{s};
  o.open(Other);
  ASSERT_TRUE(o.field("ALL-Files")->hasFocus());
  o.type("n");
  EXPECT_EQ(o.field("ALL-Files")->text(), "N");
  EXPECT_TRUE(o.apply()->isEnabled());
  QTest::mouseClick(o.apply(), Qt::LeftButton);
  EXPECT_EQ(o.settings().ALL_Files, "N");
  EXPECT_FALSE(listed("B"));
  EXPECT_TRUE(listed("A"));
  EXPECT_FALSE(o.apply()->isEnabled());
  EXPECT_TRUE(o.dialog()->isVisible()); // Apply leaves the dialog open
}

TEST(OptionForm, ColumnCountReLaysTheList) {
  test::StartedForm s;
  s.start();
  Options o{s};
  auto* help = s.find<QLabel>("Label2");
  o.open(Other);
  o.key(Qt::Key_Down);
  ASSERT_TRUE(o.field("ListColumn")->hasFocus());
  o.type("5");
  o.apply()->click();
  EXPECT_EQ(s.list()->width(), 728);
  EXPECT_EQ(s.form->listColumns(), 5);
  EXPECT_FALSE(help->isVisible());

  o.field("ListColumn")->setFocus();
  o.field("ListColumn")->selectAll();
  o.type("1");
  o.apply()->click();
  EXPECT_EQ(o.settings().ListColumn, 1);
  EXPECT_EQ(s.list()->width(), 616);
  EXPECT_EQ(s.form->listColumns(), 1);
  EXPECT_TRUE(help->isVisible());
}

TEST(OptionForm, UpperCaseListingRefreshesTheList) {
  test::StartedForm s;
  test::writeFile(s.data.file("lower.nc"), "%\r\n");
  s.start();
  auto rowsContain = [&](const char* text) {
    for (const QString& row : s.list()->rows())
      if (row.contains(text)) return true;
    return false;
  };
  ASSERT_TRUE(rowsContain("lower"));
  Options o{s};
  o.open(Other);
  o.field("op3")->setFocus();
  o.field("op3")->selectAll();
  o.type("y");
  o.apply()->click();
  EXPECT_TRUE(rowsContain("LOWER"));
}

TEST(OptionForm, FieldsTakeOnlyTheirCharactersUpToTheirLengthInUpperCase) {
  test::StartedForm s;
  s.start();
  Options o{s};
  o.open(General);
  o.type("xn");
  EXPECT_EQ(o.field("op1")->text(), "N");
  o.key(Qt::Key_Down);
  o.type("n");
  o.key(Qt::Key_Down);
  o.key(Qt::Key_Down);
  ASSERT_TRUE(o.field("ModemePort1")->hasFocus());
  o.type("com1x23");
  EXPECT_EQ(o.field("ModemePort1")->text(), "COM12"); // x dropped, five at most

  o.pages()->setCurrentIndex(Send);
  ASSERT_TRUE(o.field("InvTime")->hasFocus());
  o.type("12a345");
  EXPECT_EQ(o.field("InvTime")->text(), "123");
  for (int i = 0; i < 5; ++i)
    o.key(Qt::Key_Down);
  ASSERT_TRUE(o.field("SendMsg1")->hasFocus());
  o.type("(msg;");
  EXPECT_EQ(o.field("SendMsg1")->text(), "(MSG;");

  o.apply()->click();
  EXPECT_EQ(o.settings().DC3_0X93, "N");
  EXPECT_EQ(o.settings().ModemePort1, "COM12");
  EXPECT_EQ(o.settings().InvTime, 123);
  EXPECT_EQ(o.settings().SendMsg1, "(MSG;");
}

TEST(OptionForm, UpDownAndEnterMoveWithinAPageAndWrap) {
  test::StartedForm s;
  test::writeFile(s.files().settingsPath, "[Setting]\r\nDC3(0X93)=y\r\n");
  s.start();
  Options o{s};
  o.open(General);
  ASSERT_TRUE(o.field("op1")->hasFocus());
  o.key(Qt::Key_Up);
  EXPECT_TRUE(o.field("op6")->hasFocus());
  o.key(Qt::Key_Down);
  EXPECT_TRUE(o.field("op1")->hasFocus());
  o.key(Qt::Key_Return);
  EXPECT_TRUE(o.field("DC3(0X93)")->hasFocus());
  EXPECT_FALSE(o.apply()->isEnabled()); // nothing changed on the way
  // A value stored in lower case is shown as stored; Enter turns it upper.
  EXPECT_EQ(o.field("DC3(0X93)")->text(), "y");
  o.key(Qt::Key_Return);
  EXPECT_EQ(o.field("DC3(0X93)")->text(), "Y");
  EXPECT_TRUE(o.field("Add_No")->hasFocus());
  EXPECT_TRUE(o.apply()->isEnabled());

  o.pages()->setCurrentIndex(Receive);
  ASSERT_TRUE(o.field("O/:-Change")->hasFocus());
  o.key(Qt::Key_Up);
  EXPECT_TRUE(o.field("R_Code")->hasFocus());
  o.key(Qt::Key_Return);
  EXPECT_TRUE(o.field("O/:-Change")->hasFocus());
  // Enter in an emptied field stays.
  o.key(Qt::Key_Backspace);
  o.key(Qt::Key_Return);
  EXPECT_TRUE(o.field("O/:-Change")->hasFocus());
}

TEST(OptionForm, AnEmptiedWaitTimeStopsApplyAfterTheFirstThreeSettings) {
  test::StartedForm s;
  s.start();
  Options o{s};
  o.open(Receive);
  o.type("y"); // O/:-Change
  o.pages()->setCurrentIndex(Other);
  o.type("n"); // ALL-Files
  o.pages()->setCurrentIndex(General);
  o.type("y"); // op1
  o.key(Qt::Key_Down);
  o.type("n"); // DC3(0X93), applied after the wait time
  o.pages()->setCurrentIndex(Send);
  ASSERT_TRUE(o.field("InvTime")->hasFocus());
  o.key(Qt::Key_Backspace);
  EXPECT_EQ(o.field("InvTime")->text(), "");
  o.apply()->click();
  ASSERT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_EQ(s.dialogs.shown[0].text, "'' は整数ではありません");
  EXPECT_EQ(s.dialogs.shown[0].icon, core::MessageIcon::Error);
  EXPECT_EQ(o.settings().O_Change, "Y");
  EXPECT_EQ(o.settings().ALL_Files, "N");
  EXPECT_EQ(o.settings().op1, "Y");
  EXPECT_EQ(o.settings().DC3_0X93, "Y");
  EXPECT_EQ(o.settings().InvTime, 0);
  EXPECT_TRUE(o.apply()->isEnabled());

  // Closing and answering No applies again, fails again, and keeps the dialog open.
  o.back()->click();
  EXPECT_EQ(s.dialogs.shown.size(), 3u);
  EXPECT_TRUE(o.dialog()->isVisible());
}

TEST(OptionForm, CloseQuestionNoAppliesYesDropsAndThePageIsKept) {
  test::StartedForm s;
  s.start();
  Options o{s};
  o.open(Send);
  for (int i = 0; i < 7; ++i)
    o.key(Qt::Key_Down);
  ASSERT_TRUE(o.field("op2")->hasFocus());
  o.type("y");
  o.dialog()->close(); // answered No
  ASSERT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_EQ(s.dialogs.shown[0].title, "オプション設定");
  EXPECT_EQ(s.dialogs.shown[0].text, "オプション設定が変更されています。\n保存せずに終了しますか？");
  EXPECT_EQ(s.dialogs.shown[0].buttons, core::MessageButtons::YesNo);
  EXPECT_FALSE(o.dialog()->isVisible());
  EXPECT_EQ(o.settings().op2, "Y");

  o.open();
  EXPECT_EQ(o.pages()->currentIndex(), Send);
  EXPECT_TRUE(o.field("InvTime")->hasFocus());
  o.type("77");
  s.dialogs.answers = {core::MessageAnswer::Yes};
  o.back()->click();
  EXPECT_FALSE(o.dialog()->isVisible());
  EXPECT_EQ(o.settings().InvTime, 0);
  o.open();
  EXPECT_EQ(o.field("InvTime")->text(), "0");
  EXPECT_FALSE(o.apply()->isEnabled());
}

// Everything set in the panel and in the dialog reaches the settings file
// when the program closes, and the next start reads it back.
TEST(SettingsWindows, ValuesSetInEitherWindowSurviveARestart) {
  test::StartedForm s;
  s.start();
  QTest::keyClick(s.list(), Qt::Key_F7);
  auto type = [](const char* text) { QTest::keyClicks(QApplication::focusWidget(), text); };
  auto key = [](Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); };
  type("9600,7,e,1");
  key(Qt::Key_Return);
  type("2");
  key(Qt::Key_Return);
  type("n");
  key(Qt::Key_Down);
  type("y");
  key(Qt::Key_Down);
  type("n");
  key(Qt::Key_Down);
  type("y");
  key(Qt::Key_F1);

  Options o{s};
  o.open(General);
  type("y"); // op1
  for (int i = 0; i < 3; ++i)
    key(Qt::Key_Down);
  type("com5");
  o.pages()->setCurrentIndex(Receive);
  for (int i = 0; i < 3; ++i)
    key(Qt::Key_Down);
  type("2"); // R_Code
  o.pages()->setCurrentIndex(Send);
  type("40"); // InvTime
  key(Qt::Key_Down);
  key(Qt::Key_Down);
  type("3"); // StartChar_Type
  for (int i = 0; i < 3; ++i)
    key(Qt::Key_Down);
  type("g04"); // SendMsg1
  o.pages()->setCurrentIndex(Other);
  key(Qt::Key_Down);
  type("3");
  key(Qt::Key_Down);
  key(Qt::Key_Down);
  type("y"); // op4
  o.apply()->click();
  ASSERT_TRUE(s.dialogs.shown.empty());
  o.back()->click();
  QTest::keyClick(s.list(), Qt::Key_F10);
  ASSERT_FALSE(s.form->isVisible());

  s.form.reset();
  s.start();
  const core::SettingsRecord& r = s.form->state().settings;
  EXPECT_EQ(r.Speed, "9600,7,E,1");
  EXPECT_EQ(r.Port, "COM2");
  EXPECT_EQ(r.Signal, "N");
  EXPECT_EQ(r.StartChar, "Y");
  EXPECT_EQ(r.EndChar, "N");
  EXPECT_EQ(r.Code, "Y");
  EXPECT_EQ(r.op1, "Y");
  EXPECT_EQ(r.ModemePort1, "COM5");
  EXPECT_EQ(r.R_Code, 2);
  EXPECT_EQ(r.InvTime, 40);
  EXPECT_EQ(r.StartChar_Type, 3);
  EXPECT_EQ(r.SendMsg1, "G04");
  EXPECT_EQ(r.ListColumn, 3);
  EXPECT_EQ(r.op4, "Y");
  EXPECT_EQ(s.form->listColumns(), 3);
  EXPECT_EQ(s.find<QLabel>("StatusPanel4")->text(), "9600,7,E,1");
}
