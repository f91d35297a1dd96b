// H on the real main window: the doubling dialog, its letter box, the
// doubled copy on disk, a number that is none, and a close request in the
// middle of a run.

#include "FileSystems.h"
#include "ToolWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

using namespace kestrovan;
namespace keyboard = kestrovan::test::keyboard;
using base::MessageIcon;
using test::readFile;
using test::writeFile;

namespace {

struct Doubling {
  test::ToolWindow& w;
  QDialog* form() const { return w.dialog("Bai2Form"); }
  QLineEdit* letter() const { return w.in<QLineEdit>("Bai2Form", "Edit1"); }
  QPushButton* ok() const { return w.in<QPushButton>("Bai2Form", "Button1"); }
  void open(const std::string& file) {
    w.select(file);
    w.key(Qt::Key_H);
    ASSERT_TRUE(form()->isVisible());
  }
  void type(const std::string& text) { keyboard::type(text); }
  void enter() { keyboard::press(Qt::Key_Return); }
};

const char* const kProgram = "%\r\n"
                             "G01X10.Y5.F100\r\n"
                             "G00X-12.345\r\n"
                             "X15\r\n"
                             "X0.5\r\n"
                             "X10 Y5\r\n"
                             "X 7.25\r\n"
                             "(FIX) X10.\r\n"
                             "x10.\r\n"
                             "X-\r\n"
                             "G02X10.Y0I5.J0\r\n"
                             "X0.1234\r\n"
                             "X1.0000001\r\n"
                             "X-0.\r\n"
                             "X.5";

} // namespace

TEST(DoublingWindow, HWritesTheDoubledCopyBesideTheSource) {
  test::ToolWindow w;
  writeFile(w.data.file("PART.NC"), kProgram);
  w.open();
  Doubling d{w};
  d.open("PART.NC");
  EXPECT_EQ(d.form()->windowTitle(), "選択軸２倍変換");
  EXPECT_EQ(w.in<QLabel>("Bai2Form", "Label2")->text(), "変換前:PART.NC");
  EXPECT_EQ(w.in<QLabel>("Bai2Form", "Label3")->text(), "変換後:PART_2.NC");
  EXPECT_EQ(w.in<QLabel>("Bai2Form", "Label1")->text(), "２倍に変換軸");
  EXPECT_FALSE(d.ok()->isEnabled());
  EXPECT_EQ(d.form()->focusWidget(), d.letter());
  auto* bar = w.in<QProgressBar>("Bai2Form", "ProgressBar1");
  EXPECT_EQ(bar->maximum(), 15);

  // Enter on the empty box and any letter that is no axis are refused.
  d.enter();
  d.type("A1");
  ASSERT_EQ(w.dialogs.shown.size(), 3u);
  for (const base::Message& m : w.dialogs.shown) {
    EXPECT_EQ(m.title, "確認");
    EXPECT_EQ(m.text, "この文字は変更できません。\n");
    EXPECT_EQ(m.icon, MessageIcon::Stop);
  }
  EXPECT_TRUE(d.letter()->text().isEmpty());
  EXPECT_FALSE(d.ok()->isEnabled());
  EXPECT_FALSE(test::fileExists(w.data.file("PART_2.NC")));

  d.type("x"); // typed in lower case, used as X
  EXPECT_TRUE(d.ok()->isEnabled());
  d.enter();
  EXPECT_EQ(w.lastBox().title, "完了");
  EXPECT_EQ(w.lastBox().text, "X軸を２倍に変換しました。\n変換ファイル名は PART_2.NCです。");
  EXPECT_EQ(w.lastBox().icon, MessageIcon::Information);
  EXPECT_FALSE(d.form()->isVisible());
  EXPECT_EQ(readFile(w.data.file("PART_2.NC")), "%\r\n"
                                                "G01X20.0Y5.F100\r\n"
                                                "G00X-24.690\r\n"
                                                "X30\r\n"
                                                "X1.0\r\n"
                                                "X20 Y5\r\n"
                                                "X14.50\r\n"
                                                "(FIX) X10.\r\n"
                                                "x10.\r\n"
                                                "X-\r\n"
                                                "G02X20.0Y0I5.J0\r\n"
                                                "X0.2468\r\n"
                                                "X2.0000002\r\n"
                                                "X0.0\r\n"
                                                "X1.0\r\n");
  EXPECT_EQ(readFile(w.data.file("PART.NC")), kProgram);
  EXPECT_EQ(bar->value(), 15);
  EXPECT_NE(w.rowOf("PART_2.NC"), -1);

  // I on the same file changes the arc centre only.
  d.open("PART.NC");
  EXPECT_TRUE(d.letter()->text().isEmpty());
  d.type("I");
  d.ok()->click();
  const std::string doubledI = readFile(w.data.file("PART_2.NC"));
  EXPECT_NE(doubledI.find("G02X10.Y0I10.0J0\r\n"), std::string::npos);
  EXPECT_NE(doubledI.find("G01X10.Y5.F100\r\n"), std::string::npos);

  // A mask whose extension is a wildcard gives a name without one.
  w.settings().Mask = "*.*";
  d.open("PART.NC");
  EXPECT_EQ(w.in<QLabel>("Bai2Form", "Label3")->text(), "変換後:PART_2");
  d.type("Y");
  d.enter();
  EXPECT_EQ(w.lastBox().text, "Y軸を２倍に変換しました。\n変換ファイル名は PART_2です。");
  EXPECT_NE(readFile(w.data.file("PART_2")).find("G01X10.Y10.0F100\r\n"), std::string::npos);
}

TEST(DoublingWindow, ANumberThatIsNoneOrAReadOnlyTargetWritesNothing) {
  test::ToolWindow w;
  writeFile(w.data.file("BAD.NC"), "G00X1.\r\nG01X1.2.3Y0\r\n");
  writeFile(w.data.file("BAD_2.NC"), "older\r\n");
  writeFile(w.data.file("GOOD.NC"), "X1.\r\n");
  writeFile(w.data.file("GOOD_2.NC"), "kept\r\n");
  chmod(w.data.file("GOOD_2.NC").c_str(), 0444);
  w.open();
  Doubling d{w};
  d.open("BAD.NC");
  d.type("X");
  d.enter();
  EXPECT_EQ(w.lastBox().text, "'1.2.3' は浮動小数点数ではありません");
  EXPECT_TRUE(d.form()->isVisible());
  EXPECT_FALSE(d.ok()->isEnabled()); // until the dialog is closed
  EXPECT_EQ(readFile(w.data.file("BAD_2.NC")), "older\r\n");
  w.in<QPushButton>("Bai2Form", "Button2")->click();
  EXPECT_FALSE(d.form()->isVisible());

  // The operator's read-only file is never written over.
  d.open("GOOD.NC");
  d.type("X");
  d.enter();
  EXPECT_EQ(w.lastBox().text, "ファイル " + w.data.file("GOOD_2.NC") + " を作成できません");
  EXPECT_EQ(readFile(w.data.file("GOOD_2.NC")), "kept\r\n");
  w.in<QPushButton>("Bai2Form", "Button2")->click();
  EXPECT_EQ(test::namesIn(w.data.path()),
            (std::vector<std::string>{"BAD.NC", "BAD_2.NC", "GOOD.NC", "GOOD_2.NC"}));
}

TEST(DoublingWindow, ACloseRequestDuringTheRunStopsItAndLeavesNoFile) {
  test::ToolWindow w;
  std::string program;
  for (int i = 0; i < 2000; ++i)
    program += "G01X" + std::to_string(i) + ".5\r\n";
  writeFile(w.data.file("LONG.NC"), program);
  w.open();
  Doubling d{w};
  d.open("LONG.NC");
  d.type("X");
  // The close box of the main window, clicked while the run lets events in:
  // the click is queued after the key has gone to the focus.
  keyboard::settle();
  QTimer::singleShot(0, w.form, [&] { w.form->close(); });
  keyboard::pressNow(Qt::Key_Return);
  EXPECT_FALSE(d.form()->isVisible());
  EXPECT_EQ(test::namesIn(w.data.path()), (std::vector<std::string>{"LONG.NC"}));
  EXPECT_TRUE(QTest::qWaitFor([&] { return !w.form->isVisible(); }, 3000));
}

TEST(DoublingWindow, AFileGoneOrUnreadableSinceItWasListedWritesNoEmptyCopy) {
  test::ToolWindow w;
  writeFile(w.data.file("GONE.NC"), "X1.\r\n");
  writeFile(w.data.file("LOCKED.NC"), "X1.\r\n");
  w.open();
  Doubling d{w};
  w.select("GONE.NC");
  ASSERT_EQ(std::remove(w.data.file("GONE.NC").c_str()), 0);
  w.key(Qt::Key_H);
  ASSERT_EQ(w.dialogs.shown.size(), 1u);
  EXPECT_EQ(w.lastBox().title, "エラー");
  EXPECT_EQ(w.lastBox().text, "ファイル " + w.data.file("GONE.NC") + " は開けません");
  EXPECT_EQ(w.lastBox().icon, MessageIcon::Error);
  EXPECT_FALSE(d.form()->isVisible());

  // A file the program may not read (not for the super-user, who reads all).
  chmod(w.data.file("LOCKED.NC").c_str(), 0);
  if (geteuid() != 0) {
    w.dialogs.shown.clear();
    w.select("LOCKED.NC");
    w.key(Qt::Key_H);
    EXPECT_EQ(w.lastBox().text, "ファイル " + w.data.file("LOCKED.NC") + " は開けません");
    EXPECT_FALSE(d.form()->isVisible());
  }
  chmod(w.data.file("LOCKED.NC").c_str(), 0644);
  EXPECT_EQ(test::namesIn(w.data.path()), (std::vector<std::string>{"LOCKED.NC"}));
}
