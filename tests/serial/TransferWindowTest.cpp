// F1 and F2 on the real main window, over a pseudo-terminal with the virtual
// NC machine at the other end.
#include "core/StartedForm.h"
#include "support/FakeSendWindow.h"
#include "support/Keyboard.h"
#include "support/NcSimProcess.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

using namespace kestrovan;
namespace keyboard = kestrovan::test::keyboard;

namespace {

// Seven data bits: the characters go out as they are, easy to read back.
void settingsFor(test::StartedForm& s, const std::string& device) {
  test::writeFile(s.files().settingsPath, "[Ports]\r\nCOM1=" + device +
                                              "\r\n[Setting]\r\nPort=COM1\r\nSpeed=9600,7,E,2\r\n"
                                              "StartChar=N\r\nEndChar=N\r\n");
}

} // namespace

TEST(SendWindow, F1NeedsAFileRow) {
  test::StartedForm s;
  ASSERT_EQ(mkdir(s.data.file("SUB").c_str(), 0777), 0);
  s.start();
  const size_t probed = s.ports.opened.size(); // the port check at start
  auto* panel = s.find<QGroupBox>("GroupBox2");
  for (int row : {0, 1}) { // ".." and the folder
    s.list()->selectRow(row);
    keyboard::press(Qt::Key_F1);
    EXPECT_FALSE(panel->isVisible());
  }
  EXPECT_EQ(s.ports.opened.size(), probed);

  test::StartedForm empty;
  empty.start();
  empty.list()->selectRow(-1);
  keyboard::press(Qt::Key_F1);
  EXPECT_EQ(empty.ports.opened.size(), probed);
}

TEST(SendWindow, ThreeMarkedFilesGoOutInMarkingOrder) {
  test::StartedForm s;
  test::writeFile(s.data.file("A.NC"), "O0001\r\nG00X1\r\n");
  test::writeFile(s.data.file("B.NC"), "O0002\r\nG00X2\r\n");
  test::writeFile(s.data.file("C.NC"), "O0003\r\nG00X3\r\n");
  const std::string recording = s.home.file("nc.bin");
  test::NcSimProcess nc(KESTROVAN_NCSIM, {"--receive", recording, "--no-end-on-dc4", "--idle-ms", "3000"});
  ASSERT_FALSE(nc.path().empty());
  settingsFor(s, nc.path());
  test::FakePowerOff power;
  s.powerOff = &power;
  s.start({}, true);

  // Rows: ".." then A, B, C. Marked C, A, B.
  for (int row : {3, 1, 2}) {
    s.list()->selectRow(row);
    keyboard::press(Qt::Key_Return);
  }
  ASSERT_EQ(s.form->fileList().marks().count(), 3);
  keyboard::press(Qt::Key_F1); // runs the whole send

  nc.finish();
  const std::string sent = test::readFile(recording);
  const size_t c = sent.find("O0003"), a = sent.find("O0001"), b = sent.find("O0002");
  ASSERT_NE(c, std::string::npos) << sent;
  ASSERT_NE(a, std::string::npos);
  ASSERT_NE(b, std::string::npos);
  EXPECT_LT(c, a);
  EXPECT_LT(a, b);
  EXPECT_EQ(s.form->fileList().marks().count(), 0);
  const std::string log = test::readFile(s.files().logPath);
  EXPECT_LT(log.find("C.NC"), log.find("A.NC"));
  EXPECT_LT(log.find("A.NC"), log.find("B.NC"));
  EXPECT_EQ(power.requests, 0);
  EXPECT_TRUE(s.list()->isEnabled());
}

TEST(ReceiveWindow, F2ThenYAndANameSavesTheProgram) {
  test::StartedForm s;
  const std::string program = s.home.file("punch.nc");
  test::writeFile(program, "%\nO1234\nG00X0\nM30\n%\n");
  test::NcSimProcess nc(KESTROVAN_NCSIM,
                        {"--punch", program, "--code", "iso", "--wait-open", "--idle-ms", "3000"});
  ASSERT_FALSE(nc.path().empty());
  settingsFor(s, nc.path());
  s.start({}, true);

  keyboard::press(Qt::Key_F2);
  auto* box = s.find<QGroupBox>("GroupBox5");
  ASSERT_TRUE(box->isVisible());
  keyboard::press(Qt::Key_Y);
  EXPECT_FALSE(box->isVisible());
  auto* prompt = s.find<QLineEdit>("Edit1");
  ASSERT_TRUE(prompt->hasFocus());
  EXPECT_EQ(s.find<QLabel>("Label11")->text(), "ファイル受信 受信ファイル名-->>>");
  keyboard::type("NEW.NC");        // all files shown: the name as typed
  keyboard::press(Qt::Key_Return); // runs the whole reception

  // No "%" lines asked for: the program lines alone, with blanks between words.
  EXPECT_EQ(test::readFile(s.data.file("NEW.NC")), "O1234\r\nG00 X0\r\nM30\r\n");
  EXPECT_NE(test::readFile(s.files().logPath).find("NEW.NC"), std::string::npos);
  // The return to idle brings the new file into the list.
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        for (const QString& r : s.list()->rows())
          if (r.contains("NEW")) return true;
        return false;
      },
      6000));
}

TEST(ReceiveWindow, EscInTheSaveChoiceBoxCancels) {
  test::StartedForm s;
  s.start();
  const size_t probed = s.ports.opened.size();
  keyboard::press(Qt::Key_F2);
  keyboard::press(Qt::Key_Escape);
  EXPECT_FALSE(s.find<QGroupBox>("GroupBox5")->isVisible());
  EXPECT_EQ(s.find<QLabel>("Label11")->text(), "操作中止!!");
  EXPECT_EQ(s.ports.opened.size(), probed);
}
