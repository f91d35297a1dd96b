// The Qt side of a transfer's screen: the log view, the stop keys, the
// selector dialog.
#include "core/StartedForm.h"
#include "serial/AutoForm.h"
#include "serial/QtTransferScreen.h"
#include "serial/TransferOperations.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

using namespace kestrovan;

TEST(LogView, ShiftF8CreatesAHeaderOnlyLogAndEscClosesIt) {
  test::StartedForm s;
  s.start();
  ASSERT_FALSE(test::fileExists(s.files().logPath));
  QTest::keyClick(s.list(), Qt::Key_F8, Qt::ShiftModifier);
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

  QTest::keyClick(view, Qt::Key_Escape);
  EXPECT_FALSE(panel->isVisible());
  EXPECT_EQ(s.find<QLabel>("Label11")->text(), "操作中止!!");
}

TEST(TransferStopKeys, F3AndEscBelongToTheRunningTransfer) {
  test::StartedForm s;
  s.start();
  serial::QtTransferScreen& screen = s.window->operation<serial::TransferOperations>()->screen();
  // Outside a transfer they are ordinary keys.
  QTest::keyClick(s.list(), Qt::Key_Escape);
  EXPECT_FALSE(screen.stopKeyDown(serial::StopKeyPoll::DownOrPressedSinceLastPoll));
  s.form->showMessage("", core::kLime);

  screen.beginTransfer();
  QTest::keyPress(s.list(), Qt::Key_F3);
  EXPECT_TRUE(screen.stopKeyDown(serial::StopKeyPoll::DownNow));
  QTest::keyRelease(s.list(), Qt::Key_F3);
  EXPECT_FALSE(screen.stopKeyDown(serial::StopKeyPoll::DownNow));
  // A tap between two polls is still seen by the second kind of poll, once.
  QTest::keyClick(s.list(), Qt::Key_Escape);
  EXPECT_FALSE(screen.stopKeyDown(serial::StopKeyPoll::DownNow));
  QTest::keyClick(s.list(), Qt::Key_Escape);
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
    auto* edit = form.findChild<QLineEdit*>("SelectorEdit");
    QTest::keyClicks(edit, "1x6-2");
    QTest::keyClick(edit, Qt::Key_Return); // moves to ＯＮ
    QTest::keyClick(form.findChild<QPushButton*>("OnButton"), Qt::Key_Space);
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
