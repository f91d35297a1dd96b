// The Qt side of a transfer's screen: the log view, the stop keys, the
// selector dialog.
#include "core/StartedForm.h"
#include "serial/ui/AutoForm.h"
#include "serial/ui/QtTransferScreen.h"
#include "serial/ui/TransferOperations.h"
#include "support/Keyboard.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

using namespace kestrovan;
namespace keyboard = kestrovan::test::keyboard;

namespace {

// A key held down and let go, each to whatever has the focus.
void keyDown(Qt::Key key) {
  keyboard::settle();
  ASSERT_NE(keyboard::target(), nullptr) << "no widget has the keyboard";
  keyboard::hold(key);
}
void keyUp(Qt::Key key) {
  ASSERT_NE(keyboard::target(), nullptr) << "no widget has the keyboard";
  keyboard::letGo(key);
  keyboard::settle();
}

} // namespace

TEST(LogView, ShiftF8CreatesAHeaderOnlyLogAndEscClosesIt) {
  test::StartedForm s;
  s.start();
  ASSERT_FALSE(test::fileExists(s.files().logPath));
  keyboard::press(Qt::Key_F8, Qt::ShiftModifier);
  auto* panel = s.find<QGroupBox>("GroupBox2");
  auto* view = s.find<QPlainTextEdit>("RichEdit1");
  ASSERT_TRUE(panel->isVisible());
  EXPECT_EQ(panel->title(), "送受信ログ");
  EXPECT_EQ(panel->geometry().topLeft(), QPoint(328, 100));
  EXPECT_EQ(panel->width(), 350);
  EXPECT_TRUE(view->isReadOnly());
  EXPECT_TRUE(view->hasFocus());
  EXPECT_TRUE(test::fileExists(s.files().logPath));
  EXPECT_FALSE(view->toPlainText().isEmpty());
  EXPECT_EQ(s.find<QLabel>("StatusPanel3")->text(), "送受信ログ");

  keyboard::press(Qt::Key_Escape);
  EXPECT_FALSE(panel->isVisible());
  EXPECT_EQ(s.find<QLabel>("Label11")->text(), "操作中止!!");
}

TEST(TransferStopKeys, F3AndEscBelongToTheRunningTransfer) {
  test::StartedForm s;
  s.start();
  serial::QtTransferScreen& screen = s.window->operation<serial::TransferOperations>()->screen();
  // Outside a transfer they are ordinary keys.
  keyboard::press(Qt::Key_Escape);
  EXPECT_FALSE(screen.stopKeyDown(serial::StopKeyPoll::DownOrPressedSinceLastPoll));
  s.form->showMessage("", core::kLime);

  screen.beginTransfer();
  keyDown(Qt::Key_F3);
  EXPECT_TRUE(screen.stopKeyDown(serial::StopKeyPoll::DownNow));
  keyUp(Qt::Key_F3);
  EXPECT_FALSE(screen.stopKeyDown(serial::StopKeyPoll::DownNow));
  // A tap between two polls is seen by the second kind of poll, once, even
  // after a look at whether the key is down now.
  keyboard::press(Qt::Key_Escape);
  EXPECT_FALSE(screen.stopKeyDown(serial::StopKeyPoll::DownNow));
  EXPECT_TRUE(screen.stopKeyDown(serial::StopKeyPoll::DownOrPressedSinceLastPoll));
  EXPECT_FALSE(screen.stopKeyDown(serial::StopKeyPoll::DownOrPressedSinceLastPoll));
  // None of it reached the list's dispatcher.
  EXPECT_NE(s.find<QLabel>("Label11")->text(), "操作中止!!");
  screen.endTransfer();
}

TEST(TransferScreen, LampsAndPanelsShowOnTheMainWindow) {
  test::StartedForm s;
  s.start();
  serial::QtTransferScreen& screen = s.window->operation<serial::TransferOperations>()->screen();
  screen.setCtsLamp(true);
  EXPECT_EQ(s.find<QLabel>("LabeledEdit2")->text(), "CTS ●");
  screen.setDsrLamp(true);
  EXPECT_TRUE(s.find<QLabel>("LabeledEdit1")->styleSheet().contains("blue"));
  screen.setStatusPanel(3, "送信中");
  EXPECT_EQ(s.find<QLabel>("StatusPanel3")->text(), "送信中");
  screen.showMessageLine("送信中止しました。!!", serial::MessageColour::Red);
  EXPECT_TRUE(s.find<QLabel>("Label11")->styleSheet().contains("red"));
}

TEST(SelectorDialog, TakesDigitsZeroToFiveAndDashOnly) {
  test::FakeDialogs dialogs;
  serial::TAutoForm form(nullptr, dialogs);
  std::optional<std::string> answer;
  QTimer::singleShot(0, [&] {
    // The operator types once the dialog is up and has the keyboard.
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &form; }, 5000));
    ASSERT_EQ(keyboard::target(), form.findChild<QLineEdit*>("SelectorEdit")) << keyboard::focusName();
    keyboard::type("1x6-2");
    keyboard::press(Qt::Key_Return); // moves to ＯＮ
    ASSERT_EQ(keyboard::target(), form.findChild<QPushButton*>("OnButton")) << keyboard::focusName();
    keyboard::press(Qt::Key_Space);
  });
  answer = form.ask();
  ASSERT_TRUE(answer);
  EXPECT_EQ(*answer, "1-2");
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[0].title, "確認");
  EXPECT_EQ(dialogs.shown[0].text, "この文字は変更できません。\n");

  QTimer::singleShot(0, [&] { form.findChild<QPushButton*>("CancelButton")->click(); });
  EXPECT_FALSE(form.ask());
}
