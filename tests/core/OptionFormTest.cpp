// The options dialog on the real main window, driven by keys.
#include "core/ui/OptionForm.h"
#include "StartedForm.h"
#include "support/Keyboard.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

using namespace kestrovan;
namespace keyboard = test::keyboard;

namespace {

enum Page { General, Receive, Send, Other };

struct Options {
  test::StartedForm& s;

  core::TOptionForm* dialog() const { return s.form->findChild<core::TOptionForm*>("OptionForm"); }
  QLineEdit* field(const char* key) const { return dialog()->field(key); }
  QPushButton* apply() const { return dialog()->findChild<QPushButton*>("Button1"); }
  QPushButton* back() const { return dialog()->findChild<QPushButton*>("Button2"); }
  QTabWidget* pages() const { return dialog()->findChild<QTabWidget*>("PageControl1"); }
  const base::SettingsRecord& settings() const { return s.form->state().settings; }

  // When a dialog closes the window manager activates the main window; the
  // offscreen platform has none, so the test does it.
  void mainWindowActive() const {
    keyboard::settle();
    if (!QApplication::activeWindow()) QApplication::setActiveWindow(s.form);
  }
  void open(int page = -1) {
    mainWindowActive();
    keyboard::press(Qt::Key_O);
    ASSERT_TRUE(dialog()->isVisible());
    QApplication::setActiveWindow(dialog());
    if (page >= 0) toPage(page);
  }
  // Ctrl+Tab to the page, which focuses its first field.
  void toPage(int page) {
    for (int tries = 0; pages()->currentIndex() != page && tries < 4; ++tries)
      keyboard::press(Qt::Key_Tab, Qt::ControlModifier);
    ASSERT_EQ(pages()->currentIndex(), page);
  }
  void key(Qt::Key k, int times = 1) {
    for (int i = 0; i < times; ++i)
      keyboard::press(k);
  }
  void type(const char* text) { keyboard::type(text); }
  bool listed(const char* text) const {
    for (const QString& row : s.list()->rows())
      if (row.contains(text)) return true;
    return false;
  }
};

} // namespace

TEST(OptionForm, OpensCentredFilledAndCleanAndClosesUntouchedWithoutAsking) {
  test::StartedForm s;
  s.start();
  Options o{s};
  o.open();
  core::TOptionForm* d = o.dialog();
  EXPECT_EQ(d->size(), QSize(272, 411));
  EXPECT_TRUE(d->isModal());
  const QRect main = s.form->recordedWindowRect();
  ASSERT_FALSE(main.isNull());
  const QSize own = d->frameGeometry().size(); // outer size, frame included
  EXPECT_EQ(d->pos(), QPoint(main.left() + main.width() / 2 - own.width() / 2,
                             main.top() + main.height() / 2 - own.height() / 2));
  EXPECT_EQ(o.field("InvTime")->text(), "0");
  EXPECT_EQ(o.field("DC3(0X93)")->text(), "Y");
  EXPECT_TRUE(o.field("op1")->hasFocus());
  EXPECT_FALSE(o.apply()->isEnabled());

  o.back()->click();
  EXPECT_FALSE(d->isVisible());
  o.open();
  d->close(); // the close box
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
  Options o{s};
  ASSERT_TRUE(o.listed("B"));
  o.open(Other);
  o.type("n");
  EXPECT_EQ(o.field("ALL-Files")->text(), "N");
  EXPECT_TRUE(o.apply()->isEnabled());
  o.apply()->click();
  EXPECT_EQ(o.settings().ALL_Files, "N");
  EXPECT_FALSE(o.listed("B"));
  EXPECT_TRUE(o.listed("A"));
  EXPECT_FALSE(o.apply()->isEnabled());
  EXPECT_TRUE(o.dialog()->isVisible());
}

TEST(OptionForm, ColumnCountReLaysTheListAndUpperCaseListingRefreshesIt) {
  test::StartedForm s;
  test::writeFile(s.data.file("lower.nc"), "%\r\n");
  s.start();
  Options o{s};
  auto* help = s.find<QLabel>("Label2");
  o.open(Other);
  o.key(Qt::Key_Down);
  o.type("5");
  o.apply()->click();
  EXPECT_EQ(s.list()->width(), 728);
  EXPECT_EQ(s.form->listColumns(), 5);
  EXPECT_FALSE(help->isVisible());

  o.key(Qt::Key_Up);
  o.key(Qt::Key_Down);
  o.type("1");
  o.key(Qt::Key_Return);
  o.type("y"); // op3
  ASSERT_TRUE(o.listed("lower"));
  o.apply()->click();
  EXPECT_EQ(s.list()->width(), 616);
  EXPECT_EQ(s.form->listColumns(), 1);
  EXPECT_TRUE(help->isVisible());
  EXPECT_TRUE(o.listed("LOWER"));
}

TEST(OptionForm, FieldsTakeOnlyTheirCharactersUpToTheirLengthInUpperCase) {
  test::StartedForm s;
  s.start();
  Options o{s};
  o.open(General);
  o.key(Qt::Key_Down);
  o.type("xny"); // DC3(0X93): x refused, y past the length
  EXPECT_EQ(o.field("DC3(0X93)")->text(), "N");
  o.key(Qt::Key_Down, 2);
  o.type("com1x23");
  EXPECT_EQ(o.field("ModemePort1")->text(), "COM12");
  o.toPage(Send);
  o.type("12a345");
  EXPECT_EQ(o.field("InvTime")->text(), "123");
  o.apply()->click();
  EXPECT_EQ(o.settings().DC3_0X93, "N");
  EXPECT_EQ(o.settings().ModemePort1, "COM12");
  EXPECT_EQ(o.settings().InvTime, 123);
}

TEST(OptionForm, UpDownAndEnterMoveWithinAPageAndWrap) {
  test::StartedForm s;
  test::writeFile(s.files().settingsPath, "[Setting]\r\nDC3(0X93)=y\r\n");
  s.start();
  Options o{s};
  o.open(General);
  o.key(Qt::Key_Up);
  EXPECT_TRUE(o.field("op6")->hasFocus());
  o.key(Qt::Key_Down);
  EXPECT_TRUE(o.field("op1")->hasFocus());
  o.key(Qt::Key_Return);
  EXPECT_TRUE(o.field("DC3(0X93)")->hasFocus());
  EXPECT_FALSE(o.apply()->isEnabled()); // moving changes nothing
  // A value stored in lower case shows as stored; Enter turns it upper.
  EXPECT_EQ(o.field("DC3(0X93)")->text(), "y");
  o.key(Qt::Key_Return);
  EXPECT_EQ(o.field("DC3(0X93)")->text(), "Y");
  EXPECT_TRUE(o.apply()->isEnabled());

  o.toPage(Receive);
  o.key(Qt::Key_Up);
  EXPECT_TRUE(o.field("R_Code")->hasFocus());
  o.key(Qt::Key_Return);
  EXPECT_TRUE(o.field("O/:-Change")->hasFocus());
  o.key(Qt::Key_Backspace);
  o.key(Qt::Key_Return); // empty: stays
  EXPECT_TRUE(o.field("O/:-Change")->hasFocus());
}

TEST(OptionForm, AnEmptiedWaitTimeStopsApplyAfterTheFirstThreeSettings) {
  test::StartedForm s;
  s.start();
  Options o{s};
  o.open(Receive);
  o.type("y"); // O/:-Change
  o.toPage(Other);
  o.type("n"); // ALL-Files
  o.toPage(General);
  o.type("y"); // op1
  o.key(Qt::Key_Down);
  o.type("n"); // DC3(0X93), taken after the wait time
  o.toPage(Send);
  o.key(Qt::Key_Backspace);
  o.apply()->click();
  ASSERT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_EQ(s.dialogs.shown[0].text, "'' は整数ではありません");
  EXPECT_EQ(o.settings().O_Change, "Y");
  EXPECT_EQ(o.settings().ALL_Files, "N");
  EXPECT_EQ(o.settings().op1, "Y");
  EXPECT_EQ(o.settings().DC3_0X93, "Y");
  EXPECT_TRUE(o.apply()->isEnabled());

  // Closing with No applies again, fails again and keeps the dialog open.
  o.back()->click();
  EXPECT_EQ(s.dialogs.shown.size(), 3u);
  EXPECT_TRUE(o.dialog()->isVisible());
}

TEST(OptionForm, CloseQuestionNoAppliesYesDropsAndThePageIsKept) {
  test::StartedForm s;
  s.start();
  Options o{s};
  o.open(Send);
  o.key(Qt::Key_Up);
  o.type("y");         // op2
  o.dialog()->close(); // answered No
  ASSERT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_EQ(s.dialogs.shown[0].title, "オプション設定");
  EXPECT_EQ(s.dialogs.shown[0].text, "オプション設定が変更されています。\n保存せずに終了しますか？");
  EXPECT_FALSE(o.dialog()->isVisible());
  EXPECT_EQ(o.settings().op2, "Y");

  o.open();
  EXPECT_TRUE(o.field("InvTime")->hasFocus()); // still on "送信"
  o.type("77");
  s.dialogs.answers = {base::MessageAnswer::Yes};
  o.back()->click();
  EXPECT_FALSE(o.dialog()->isVisible());
  EXPECT_EQ(o.settings().InvTime, 0);
  o.open();
  EXPECT_EQ(o.field("InvTime")->text(), "0");
}

// What is set in the panel and in the dialog reaches the settings file when
// the program closes, and the next start reads it back.
TEST(SettingsWindows, ValuesSetInEitherWindowSurviveARestart) {
  test::StartedForm s;
  s.start();
  Options o{s};
  keyboard::press(Qt::Key_F7);
  o.type("9600,7,e,1");
  o.key(Qt::Key_Return);
  o.type("2");
  o.key(Qt::Key_Return);
  o.type("n");
  o.key(Qt::Key_Down, 3);
  o.type("y"); // Code
  o.key(Qt::Key_F1);

  o.open(General);
  o.key(Qt::Key_Down, 3);
  o.type("com5");
  o.toPage(Send);
  o.type("40");
  o.key(Qt::Key_Down, 5);
  o.type("g04"); // SendMsg1
  o.toPage(Other);
  o.key(Qt::Key_Down);
  o.type("3");
  o.apply()->click();
  o.back()->click();
  o.mainWindowActive();
  keyboard::press(Qt::Key_F10);
  ASSERT_FALSE(s.form->isVisible());

  s.window.reset();
  s.start();
  const base::SettingsRecord& r = s.form->state().settings;
  EXPECT_EQ(r.Speed, "9600,7,E,1");
  EXPECT_EQ(r.Port, "COM2");
  EXPECT_EQ(r.Signal, "N");
  EXPECT_EQ(r.Code, "Y");
  EXPECT_EQ(r.ModemePort1, "COM5");
  EXPECT_EQ(r.InvTime, 40);
  EXPECT_EQ(r.SendMsg1, "G04");
  EXPECT_EQ(r.ListColumn, 3);
  EXPECT_EQ(s.form->listColumns(), 3);
  EXPECT_EQ(s.find<QLabel>("StatusPanel4")->text(), "9600,7,E,1");
}
