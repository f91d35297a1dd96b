// The communication settings panel on the real main window, driven by keys.
#include "StartedForm.h"
#include "support/FakeDeviceTree.h"
#include "support/Keyboard.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>

using namespace kestrovan;
namespace keyboard = test::keyboard;

namespace {

struct Panel {
  test::StartedForm& s;

  QGroupBox* box() const { return s.find<QGroupBox>("GroupBox1"); }
  QLineEdit* field(const char* name) const { return s.find<QLineEdit>(name); }
  QLineEdit* speed() const { return field("ComboBox1"); }
  QLineEdit* port() const { return field("ComboBox2"); }
  QLineEdit* signal() const { return field("Edit4"); }
  QListWidget* entries(const char* list) const { return s.find<QListWidget>(list); }
  QString statusPanel(int i) const {
    return s.find<QLabel>(QString("StatusPanel%1").arg(i).toUtf8())->text();
  }
  QString message() const { return s.find<QLabel>("Label11")->text(); }
  const base::SettingsRecord& settings() const { return s.form->state().settings; }

  void open() {
    keyboard::press(Qt::Key_F7);
    ASSERT_TRUE(box()->isVisible());
  }
  void key(Qt::Key k) { keyboard::press(k); }
  void type(const char* text) { keyboard::type(text); }
};

} // namespace

TEST(CommPanel, F7OpensItFilledFromTheSettingsShiftF7DoesNothing) {
  test::StartedForm s;
  test::writeFile(s.files().settingsPath, "[Setting]\r\nModemePort1=com2\r\n");
  s.start();
  Panel p{s};
  keyboard::press(Qt::Key_F7, Qt::ShiftModifier);
  EXPECT_FALSE(p.box()->isVisible());

  p.open();
  EXPECT_EQ(p.box()->geometry(), QRect(504, 70, 201, 390));
  EXPECT_EQ(s.find<QLabel>("Label9")->text(), "通信条件(4800,8,N,2)");
  EXPECT_EQ(s.find<QLabel>("Label12")->text(), "ポート番号(COM1)");
  QStringList texts;
  for (const char* name : {"ComboBox1", "ComboBox2", "Edit4", "Edit6", "Edit9", "Edit8"})
    texts << p.field(name)->text();
  EXPECT_EQ(texts, QStringList({"4800,8,N,2", "COM1", "Y", "N", "Y", "N"}));
  EXPECT_TRUE(p.speed()->hasFocus());
  EXPECT_FALSE(s.list()->isEnabled());
  QListWidget* speeds = p.entries("ComboBox1List");
  ASSERT_EQ(speeds->count(), 48);
  EXPECT_EQ(speeds->item(0)->text(), "1200,8,N,1");
  EXPECT_EQ(speeds->item(47)->text(), "19200,7,O,2");
  // Ports 1 to 3 open; COM2 is the modem port.
  QListWidget* ports = p.entries("ComboBox2List");
  ASSERT_EQ(ports->count(), 2);
  EXPECT_EQ(ports->item(1)->text(), "COM3");
}

TEST(CommPanel, TypeAheadCompletesThenGivesWayToTheTypedTextAndArrowsStep) {
  test::StartedForm s;
  s.start();
  Panel p{s};
  p.open();
  p.type("9");
  EXPECT_TRUE(p.entries("ComboBox1List")->isVisible()); // typing drops the list
  EXPECT_EQ(p.speed()->text(), "9600,8,N,1");
  EXPECT_EQ(p.speed()->selectedText(), "600,8,N,1");
  p.type("6001");
  EXPECT_EQ(p.speed()->text(), "96001");
  EXPECT_FALSE(p.speed()->hasSelectedText());
  p.key(Qt::Key_Backspace); // only edits: no completion after it
  EXPECT_EQ(p.speed()->text(), "9600");
  p.type("x;7"); // refused characters are dropped
  EXPECT_EQ(p.speed()->text(), "96007");

  s.dialogs.answers = {base::MessageAnswer::Yes};
  p.key(Qt::Key_Escape);
  p.open();
  p.key(Qt::Key_Down);
  EXPECT_EQ(p.speed()->text(), "4800,7,N,1"); // the entry after "4800,8,N,2"
  p.key(Qt::Key_Up);
  p.key(Qt::Key_Up);
  p.key(Qt::Key_F1);
  EXPECT_EQ(p.settings().Speed, "4800,8,N,1");
}

TEST(CommPanel, LineSettingsOfTenOrElevenCharactersAreSavedEightAreRefused) {
  test::StartedForm s;
  s.start();
  Panel p{s};
  for (const char* text : {"14400,7,E,1", "19200,7,O,2", "4800,8,N,2"}) {
    p.open();
    p.type(text);
    p.key(Qt::Key_F1);
    EXPECT_FALSE(p.box()->isVisible());
    EXPECT_EQ(p.settings().Speed, text);
    EXPECT_EQ(p.statusPanel(4), text);
    EXPECT_TRUE(s.list()->hasFocus());
  }
  EXPECT_TRUE(s.dialogs.shown.empty());

  p.open();
  p.type("9600,8N1");
  EXPECT_EQ(p.speed()->text(), "9600,8N1");
  p.key(Qt::Key_F1);
  ASSERT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_EQ(s.dialogs.shown[0].title, "エラー");
  EXPECT_EQ(s.dialogs.shown[0].text, "入力データを確認してください。");
  EXPECT_EQ(s.dialogs.shown[0].buttons, base::MessageButtons::Yes);
  EXPECT_TRUE(p.box()->isVisible());
  EXPECT_TRUE(p.speed()->hasFocus());
  EXPECT_EQ(p.settings().Speed, "4800,8,N,2");
}

TEST(CommPanel, APortTypedAsANumberOrInLowerCase) {
  test::StartedForm s;
  s.start();
  Panel p{s};
  for (auto [typed, stored] : {std::pair{"3", "COM3"}, std::pair{"com12", "COM12"}}) {
    p.open();
    p.key(Qt::Key_Return); // line settings -> port
    ASSERT_TRUE(p.port()->hasFocus());
    p.type(typed);
    p.key(Qt::Key_F1);
    EXPECT_EQ(p.settings().Port, stored);
    EXPECT_EQ(p.statusPanel(5), stored);
  }
}

TEST(CommPanel, EnterUpAndDownMoveInTagOrderOneLetterFieldsTakeYOrN) {
  test::StartedForm s;
  s.start();
  Panel p{s};
  p.open();
  for (const char* next :
       {"ComboBox2", "Edit4", "Edit6", "Edit9", "Edit8", "ComboBox1", "ComboBox2", "Edit4"}) {
    p.key(Qt::Key_Return);
    EXPECT_TRUE(p.field(next)->hasFocus()) << next;
  }
  p.key(Qt::Key_Up);
  EXPECT_TRUE(p.port()->hasFocus());
  p.key(Qt::Key_Return);
  for (int i = 0; i < 3; ++i)
    p.key(Qt::Key_Down);
  EXPECT_TRUE(p.field("Edit8")->hasFocus());
  p.key(Qt::Key_Down);
  EXPECT_TRUE(p.speed()->hasFocus());

  p.key(Qt::Key_Return);
  p.key(Qt::Key_Return);
  p.type("xn"); // x refused
  EXPECT_EQ(p.signal()->text(), "N");
  p.type("y"); // one character at most
  EXPECT_EQ(p.signal()->text(), "N");
  p.key(Qt::Key_Backspace);
  p.key(Qt::Key_Return); // empty: stays
  EXPECT_TRUE(p.signal()->hasFocus());
  p.key(Qt::Key_Down);
  p.type("y");
  EXPECT_EQ(p.field("Edit6")->text(), "Y");
  p.key(Qt::Key_F1);
  EXPECT_EQ(p.settings().Signal, "Y"); // the emptied field left it alone
  EXPECT_EQ(p.settings().StartChar, "Y");
}

TEST(CommPanel, BackWithAChangedSignalAsksNoSavesYesKeepsTheOldValue) {
  test::StartedForm s;
  s.start();
  Panel p{s};
  p.open();
  p.key(Qt::Key_Return);
  p.key(Qt::Key_Return);
  p.type("n");
  p.key(Qt::Key_Escape); // the fake answers No
  ASSERT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_EQ(s.dialogs.shown[0].title, "通信設定");
  EXPECT_EQ(s.dialogs.shown[0].text, "通信設定が変更されています。\n保存せずに終了しますか？");
  EXPECT_EQ(s.dialogs.shown[0].icon, base::MessageIcon::Information);
  EXPECT_FALSE(p.box()->isVisible());
  EXPECT_EQ(p.settings().Signal, "N");
  EXPECT_EQ(p.statusPanel(6), "N");

  p.open();
  p.key(Qt::Key_Return);
  p.key(Qt::Key_Return);
  p.type("y");
  s.dialogs.answers = {base::MessageAnswer::Yes};
  p.key(Qt::Key_Escape);
  EXPECT_EQ(s.dialogs.shown.size(), 2u);
  EXPECT_FALSE(p.box()->isVisible());
  EXPECT_EQ(p.settings().Signal, "N");
  EXPECT_EQ(p.message(), "操作中止!!");
}

TEST(CommPanel, F2WithoutChangesClosesAtOnceAsCancelled) {
  test::StartedForm s;
  s.start();
  Panel p{s};
  p.open();
  p.key(Qt::Key_F2);
  EXPECT_TRUE(s.dialogs.shown.empty());
  EXPECT_FALSE(p.box()->isVisible());
  EXPECT_EQ(p.message(), "操作中止!!");
  EXPECT_TRUE(s.list()->hasFocus());
}

TEST(CommPanel, TheKeyLineIsClickable) {
  test::StartedForm s;
  s.start();
  Panel p{s};
  auto* keys = s.find<QLabel>("Label14");
  p.open();
  p.type("9600,7,e,2");
  QTest::mouseClick(keys, Qt::LeftButton, Qt::NoModifier, QPoint(40, 8));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !p.box()->isVisible(); }, 2000));
  EXPECT_EQ(p.settings().Speed, "9600,7,E,2");

  p.open();
  QTest::mouseClick(keys, Qt::LeftButton, Qt::NoModifier, QPoint(100, 8)); // between the two
  QTest::mouseClick(keys, Qt::LeftButton, Qt::NoModifier, QPoint(150, 8));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !p.box()->isVisible(); }, 2000));
  EXPECT_EQ(p.message(), "操作中止!!");
}

TEST(CommPanel, F10ClosesTheProgramWithoutTakingTheFields) {
  test::StartedForm s;
  s.start();
  Panel p{s};
  p.open();
  p.type("19200,8,N,1");
  p.key(Qt::Key_F10);
  EXPECT_FALSE(s.form->isVisible());
  EXPECT_EQ(platform::IniFile::load(s.files().settingsPath).readString("Setting", "Speed", ""), "4800,8,N,2");
}

namespace {

// The rows of the device table: "COM4|USB FTDI FT232R USB UART|<device>".
QStringList deviceRows(const test::StartedForm& s) {
  QStringList rows;
  auto* table = s.find<QTreeWidget>("PortDevices");
  for (int i = 0; i < table->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* item = table->topLevelItem(i);
    rows << item->text(0) + "|" + item->text(1) + "|" + item->text(2);
  }
  return rows;
}

QString focused() {
  return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}

} // namespace

TEST(CommPanelDevices, EveryPortWithItsDeviceAndKindAbsentOnesShownAndAPulledAdapterTurnsAbsent) {
  test::FakeDeviceTree tree;
  const std::string ftdi = tree.plug(test::kFtdi);
  tree.plug(test::kProlific);
  tree.uart("ttyS0", 4);
  tree.uart("ttyS1", 0);
  test::StartedForm s;
  s.deviceRoot = tree.root();
  test::writeFile(s.files().settingsPath,
                  "[Ports]\r\nCOM2=tcp://192.0.2.7:4001\r\nCOM3=rfc2217://nport.shop:950\r\n"
                  "COM4=" +
                      ftdi + "\r\nCOM5=/dev/serial/by-id/usb-gone-if00-port0\r\n");
  s.start();
  Panel p{s};
  p.open();
  ASSERT_TRUE(s.find<QTreeWidget>("PortDevices")->isVisible());
  const QString root = QString::fromStdString(tree.root());
  const QString absent = "（未接続）";
  QStringList rows = deviceRows(s);
  ASSERT_EQ(rows.size(), 30);
  EXPECT_EQ(rows[0], "COM1|UART 16550A|/dev/ttyS0");
  EXPECT_EQ(rows[1], "COM2|TCP 192.0.2.7:4001（回線設定は装置サーバー側）|tcp://192.0.2.7:4001");
  EXPECT_EQ(rows[2], "COM3|RFC 2217 nport.shop:950|rfc2217://nport.shop:950");
  EXPECT_EQ(rows[3], "COM4|USB FTDI FT232R USB UART|" + QString::fromStdString(ftdi));
  EXPECT_EQ(rows[4], "COM5|" + absent + "|/dev/serial/by-id/usb-gone-if00-port0");
  EXPECT_EQ(rows[5], "COM6|" + absent + "|/dev/ttyS5");
  EXPECT_EQ(rows[10], "COM11|USB FTDI FT232R USB UART|/dev/ttyUSB0");
  EXPECT_EQ(rows[11], "COM12|USB Prolific USB-Serial Controller|/dev/ttyUSB1");
  EXPECT_EQ(rows[20], "COM21|" + absent + "|/dev/ttyACM0");

  // The port field's port is the table's current row; a raw TCP port says
  // whose line settings it has.
  p.key(Qt::Key_Return);
  ASSERT_EQ(focused(), "ComboBox2");
  p.key(Qt::Key_Down);
  EXPECT_EQ(p.port()->text(), "COM2");
  EXPECT_EQ(s.find<QTreeWidget>("PortDevices")->currentItem()->text(0), "COM2");
  EXPECT_EQ(s.find<QLabel>("Label18")->text(), "回線設定は装置サーバー側");
  p.key(Qt::Key_Down);
  EXPECT_EQ(s.find<QLabel>("Label18")->text(), "");

  tree.pull(test::kFtdi);
  ASSERT_TRUE(QTest::qWaitFor([&] { return deviceRows(s)[3].startsWith("COM4|" + absent); }, 10000));
  rows = deviceRows(s);
  EXPECT_EQ(rows[3], "COM4|" + absent + "|" + QString::fromStdString(ftdi));
  EXPECT_EQ(rows[10], "COM11|" + absent + "|/dev/ttyUSB0");
  EXPECT_EQ(rows[11], "COM12|USB Prolific USB-Serial Controller|/dev/ttyUSB1");

  tree.plug(test::kFtdi);
  ASSERT_TRUE(QTest::qWaitFor([&] { return deviceRows(s)[3].startsWith("COM4|USB FTDI"); }, 10000));

  p.key(Qt::Key_F2);
  EXPECT_FALSE(s.find<QWidget>("PortDevicesBox")->isVisible());
  EXPECT_TRUE(s.list()->hasFocus());
}

TEST(CommPanelDevices, F5MapsThePortToAChosenDeviceWritingOneLineIntoPortsAndNothingElse) {
  test::FakeDeviceTree tree;
  const std::string ftdi = tree.plug(test::kFtdi);
  const std::string prolific = tree.plug(test::kProlific);
  tree.uart("ttyS0", 4);
  test::StartedForm s;
  s.deviceRoot = tree.root();
  // A comment in Shift-JIS, odd spacing, a key of another program, a second section after [Ports].
  const std::string before = "; \x90\xf9\x94\xd5 3\x8d\x86\x8b\x40\r\n"
                             "[Ports]\r\n com1 = /dev/pts/99 \r\nCOM4=" +
                             ftdi +
                             "\r\nBaudAlias=x\r\n\r\n"
                             "[Setting]\r\nPort=COM1\r\nUnknownKey=\x83\x65\r\n";
  test::writeFile(s.files().settingsPath, before);
  s.start();
  Panel p{s};
  p.open();
  p.key(Qt::Key_Return);
  p.type("5");
  p.key(Qt::Key_F5);
  ASSERT_EQ(focused(), "DeviceChoice");
  auto* choice = s.find<QListWidget>("DeviceChoice");
  ASSERT_EQ(choice->count(), 3);
  EXPECT_EQ(choice->item(0)->text(), "USB FTDI FT232R USB UART  " + QString::fromStdString(ftdi));
  EXPECT_EQ(choice->item(1)->text(),
            "USB Prolific USB-Serial Controller  " + QString::fromStdString(prolific));
  EXPECT_EQ(choice->item(2)->text(), "UART 16550A  " + QString::fromStdString(tree.root() + "/dev/ttyS0"));

  // Esc changes nothing.
  p.key(Qt::Key_Escape);
  EXPECT_EQ(focused(), "ComboBox2");
  EXPECT_FALSE(choice->isVisible());
  EXPECT_EQ(test::readFile(s.files().settingsPath), before);

  p.key(Qt::Key_F5);
  p.key(Qt::Key_Down);
  p.key(Qt::Key_Return);
  EXPECT_EQ(focused(), "ComboBox2");
  std::string expected = before;
  const std::string after4 = "COM4=" + ftdi + "\r\nBaudAlias=x\r\n";
  expected.insert(expected.find(after4) + after4.size(), "COM5=" + prolific + "\r\n");
  EXPECT_EQ(test::readFile(s.files().settingsPath), expected);
  EXPECT_EQ(deviceRows(s)[4], "COM5|USB Prolific USB-Serial Controller|" + QString::fromStdString(prolific));
  EXPECT_EQ(p.message(), "COM5=" + QString::fromStdString(prolific));

  // A port already mapped is changed in its own line.
  p.key(Qt::Key_Backspace);
  p.type("4");
  p.key(Qt::Key_F5);
  EXPECT_EQ(choice->currentRow(), 0); // where it maps now
  p.key(Qt::Key_Down);
  p.key(Qt::Key_Down);
  p.key(Qt::Key_Return);
  const std::string ttyS0 = tree.root() + "/dev/ttyS0";
  expected.replace(expected.find("COM4=" + ftdi), 5 + ftdi.size(), "COM4=" + ttyS0);
  EXPECT_EQ(test::readFile(s.files().settingsPath), expected);
  EXPECT_EQ(deviceRows(s)[3], "COM4|UART 16550A|" + QString::fromStdString(ttyS0));

  // A port number that is none: said, nothing written.
  p.key(Qt::Key_Backspace);
  p.type("99");
  p.key(Qt::Key_F5);
  ASSERT_EQ(s.dialogs.shown.size(), 1u);
  EXPECT_EQ(s.dialogs.shown[0].text, "ポート番号を確認してください。");
  EXPECT_EQ(test::readFile(s.files().settingsPath), expected);

  // Closing the program keeps the mapping: the settings go into the file as it is now.
  p.key(Qt::Key_F10);
  const platform::IniFile saved = platform::IniFile::load(s.files().settingsPath);
  EXPECT_EQ(saved.readString("Ports", "COM5", ""), prolific);
  EXPECT_EQ(saved.readString("Ports", "COM4", ""), ttyS0);
  EXPECT_EQ(saved.readString("Setting", "UnknownKey", ""), "テ");
}
