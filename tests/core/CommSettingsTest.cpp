// The communication settings panel's rules where the window does not show them.
#include "core/CommSettings.h"
#include "base/SettingsRecord.h"
#include "core/PortDevices.h"
#include "platform/IniFile.h"
#include "support/FakePorts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sys/stat.h>

using namespace kestrovan;

TEST(TypeAhead, NoMatchCutsTheTextBackToTheCaret) {
  // A character typed in the middle: what followed the caret goes.
  core::Completion c = core::typeAhead(core::lineSettingsEntries(), "9X00,8,N,1", 2);
  EXPECT_EQ(c.text, "9X");
  EXPECT_EQ(c.selectionEnd, 2u);
  EXPECT_EQ(c.entry, -1);
  // Letter case is ignored; the entry is shown as listed.
  EXPECT_EQ(core::typeAhead(core::lineSettingsEntries(), "9600,7,e", 8).text, "9600,7,E,1");
  // No usable port at all: what was typed stays.
  EXPECT_EQ(core::typeAhead({}, "com12", 5).text, "com12");
}

TEST(PortEntries, ModemPortsAreNeitherListedNorOpened) {
  test::FakePorts ports;
  ports.present = {1, 2, 3, 12, 30};
  EXPECT_EQ(core::usablePortEntries(ports, "com2", "COM30"),
            (std::vector<std::string>{"COM1", "COM3", "COM12"}));
  EXPECT_EQ(std::count(ports.opened.begin(), ports.opened.end(), 2), 0);
  EXPECT_EQ(std::count(ports.opened.begin(), ports.opened.end(), 30), 0);
  EXPECT_EQ(ports.opened.size(), 28u);
}

TEST(SaveCommFields, AWrongLengthRefusesEveryField) {
  for (const char* text : {"123456789", "1234567890123"}) {
    base::SettingsRecord s;
    EXPECT_FALSE(core::saveCommFields({text, "5", "N", "", "", ""}, s)) << text;
    EXPECT_EQ(s.Speed, "4800,8,N,2");
    EXPECT_EQ(s.Port, "COM1");
    EXPECT_EQ(s.Signal, "Y");
  }
  base::SettingsRecord s;
  EXPECT_TRUE(core::saveCommFields({"123456789012", "12com", "", "", "", ""}, s));
  EXPECT_EQ(s.Port, "12COM"); // "COM" anywhere counts as a full name
  EXPECT_EQ(s.EndChar, "Y");  // empty fields leave their setting
}

TEST(CommFields, EachFieldTakesItsCharactersAndTheSwitchesOneOfThem) {
  EXPECT_TRUE(core::commFieldTakes(0, "9600,7,e,2"));
  EXPECT_FALSE(core::commFieldTakes(0, "9600,7,X"));
  EXPECT_TRUE(core::commFieldTakes(1, "com12"));
  EXPECT_FALSE(core::commFieldTakes(1, "COM-1"));
  for (int tag = 2; tag < core::kCommFieldCount; ++tag) {
    EXPECT_TRUE(core::commFieldTakes(tag, "y"));
    EXPECT_FALSE(core::commFieldTakes(tag, "x"));
    EXPECT_FALSE(core::commFieldTakes(tag, "ｙ")); // full-width: not ASCII
    EXPECT_TRUE(core::commFieldHasRoom(tag, 0, 0, 1));
    EXPECT_TRUE(core::commFieldHasRoom(tag, 1, 1, 1)); // the selected letter is replaced
    EXPECT_FALSE(core::commFieldHasRoom(tag, 1, 0, 1));
  }
  EXPECT_TRUE(core::commFieldHasRoom(0, 30, 0, 5)); // the lists have no limit of their own
  EXPECT_FALSE(core::commFieldTakes(2, ""));
}

TEST(CommFields, EnterAndTheArrowsGoRoundTheFieldsInTagOrder) {
  EXPECT_EQ(core::commFieldAfter(0, true), 1);
  EXPECT_EQ(core::commFieldAfter(5, true), 0);  // from the last back to the line settings
  EXPECT_EQ(core::commFieldAfter(2, false), 1); // from the first switch up to the port list
  EXPECT_EQ(core::commFieldAfter(0, false), 5);
}

TEST(PortMapping, AFileThatIsThereButCannotBeReadIsNotReplacedAMissingOneIsStarted) {
  test::TempDir dir;
  platform::IniFile profile = platform::IniFile::fromBytes("[Ports]\r\nCOM1=/dev/ttyS0\r\n");
  // A folder where the file should be reads as an error, not as an empty file.
  ASSERT_EQ(mkdir(dir.file("kestrovan.INI").c_str(), 0755), 0);
  EXPECT_FALSE(core::writePortMapping(3, "/dev/ttyUSB0", dir.file("kestrovan.INI"), profile));
  EXPECT_EQ(profile.toBytes(), "[Ports]\r\nCOM1=/dev/ttyS0\r\n");
  EXPECT_FALSE(core::writePortMapping(31, "/dev/ttyUSB0", dir.file("new.INI"), profile));
  EXPECT_FALSE(test::fileExists(dir.file("new.INI")));

  EXPECT_TRUE(core::writePortMapping(3, "/dev/ttyUSB0", dir.file("new.INI"), profile));
  EXPECT_EQ(test::readFile(dir.file("new.INI")), "[Ports]\r\nCOM3=/dev/ttyUSB0\r\n");
  EXPECT_EQ(profile.toBytes(), "[Ports]\r\nCOM1=/dev/ttyS0\r\nCOM3=/dev/ttyUSB0\r\n");
}
