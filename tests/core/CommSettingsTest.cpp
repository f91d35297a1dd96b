// The rules of the communication settings panel, without a window.
#include "core/CommSettings.h"
#include "core/SettingsRecord.h"
#include "support/FakePorts.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace kestrovan;
using core::typeAhead;

TEST(LineSettingsList, FortyEightEntriesSpeedBySpeedInPatternOrder) {
  const auto& e = core::lineSettingsEntries();
  ASSERT_EQ(e.size(), 48u);
  EXPECT_EQ(e.front(), "1200,8,N,1");
  EXPECT_EQ(e[7], "1200,7,O,2");
  EXPECT_EQ(e[8], "2400,8,N,1");
  EXPECT_EQ(e[25], "9600,8,N,2");
  EXPECT_EQ(e.back(), "19200,7,O,2");
  // Every entry passes the length check of saving.
  for (const std::string& s : e)
    EXPECT_TRUE(core::lineSettingsLengthOk(s)) << s;
}

TEST(TypeAhead, CompletesToTheFirstEntryAndSelectsWhatWasAdded) {
  const auto& e = core::lineSettingsEntries();
  core::Completion c = typeAhead(e, "9", 1);
  EXPECT_EQ(c.text, "9600,8,N,1");
  EXPECT_EQ(c.caret, 1u);
  EXPECT_EQ(c.selectionEnd, 10u);
  EXPECT_EQ(c.entry, 24);

  // "1" is ambiguous between 1200, 14400 and 19200: the first one wins.
  EXPECT_EQ(typeAhead(e, "1", 1).text, "1200,8,N,1");
  EXPECT_EQ(typeAhead(e, "14", 2).text, "14400,8,N,1");
  // Letter case is ignored in the lookup; the entry is shown as listed.
  EXPECT_EQ(typeAhead(e, "9600,7,e", 8).text, "9600,7,E,1");
  // A complete entry selects nothing.
  c = typeAhead(e, "19200,7,O,2", 11);
  EXPECT_EQ(c.caret, c.selectionEnd);
}

TEST(TypeAhead, NoMatchCutsTheTextBackToTheCaret) {
  const auto& e = core::lineSettingsEntries();
  // The typed 1 replaced the selected rest of "9600,8,N,1".
  core::Completion c = typeAhead(e, "96001", 5);
  EXPECT_EQ(c.text, "96001");
  EXPECT_EQ(c.entry, -1);
  // A character typed in the middle: what followed the caret goes.
  c = typeAhead(e, "9X00,8,N,1", 2);
  EXPECT_EQ(c.text, "9X");
  EXPECT_EQ(c.caret, 2u);
  EXPECT_EQ(c.selectionEnd, 2u);
  // An empty port list (no usable port) keeps what was typed.
  EXPECT_EQ(typeAhead({}, "com12", 5).text, "com12");
  EXPECT_EQ(typeAhead({"COM1", "COM12"}, "com12", 5).text, "COM12");
}

TEST(PortEntries, OnlyPortsThatOpenAndNeverAModemPort) {
  test::FakePorts ports;
  ports.present = {1, 2, 3, 12, 30};
  EXPECT_EQ(core::usablePortEntries(ports, "com2", "COM30"),
            (std::vector<std::string>{"COM1", "COM3", "COM12"}));
  // The modem ports are not even opened.
  EXPECT_EQ(std::count(ports.opened.begin(), ports.opened.end(), 2), 0);
  EXPECT_EQ(std::count(ports.opened.begin(), ports.opened.end(), 30), 0);
  EXPECT_EQ(ports.opened.size(), 28u);
}

TEST(SaveCommFields, LineSettingsOfTenToTwelveCharactersOnly) {
  for (const char* text : {"4800,8,N,2", "14400,7,E,1", "19200,7,O,2", "123456789012"}) {
    core::SettingsRecord s;
    EXPECT_TRUE(core::saveCommFields({text, "", "", "", "", ""}, s)) << text;
    EXPECT_EQ(s.Speed, text);
  }
  for (const char* text : {"9600,8N1", "123456789", "1234567890123"}) {
    core::SettingsRecord s;
    // Refused as a whole: the port typed beside it is not taken either.
    EXPECT_FALSE(core::saveCommFields({text, "5", "N", "", "", ""}, s)) << text;
    EXPECT_EQ(s.Speed, "4800,8,N,2");
    EXPECT_EQ(s.Port, "COM1");
    EXPECT_EQ(s.Signal, "Y");
  }
}

TEST(SaveCommFields, UpperCasePortPrefixAndEmptyFieldsLeftAlone) {
  core::SettingsRecord s;
  ASSERT_TRUE(core::saveCommFields({"9600,7,e,1", "3", "n", "y", "", ""}, s));
  EXPECT_EQ(s.Speed, "9600,7,E,1");
  EXPECT_EQ(s.Port, "COM3");
  EXPECT_EQ(s.Signal, "N");
  EXPECT_EQ(s.StartChar, "Y");
  EXPECT_EQ(s.EndChar, "Y"); // empty: unchanged
  EXPECT_EQ(s.Code, "N");

  ASSERT_TRUE(core::saveCommFields({"", "com12", "", "", "", ""}, s));
  EXPECT_EQ(s.Port, "COM12");
  EXPECT_EQ(s.Speed, "9600,7,E,1");
  // "COM" anywhere in the text is taken as a full name.
  ASSERT_TRUE(core::saveCommFields({"", "12com", "", "", "", ""}, s));
  EXPECT_EQ(s.Port, "12COM");
}

TEST(CommFieldsChanged, ExactComparisonWhereCaseAndEmptinessCount) {
  core::SettingsRecord s;
  core::CommFields f = core::commFieldsFrom(s);
  EXPECT_FALSE(core::commFieldsChanged(f, s));
  f.signal = "y";
  EXPECT_TRUE(core::commFieldsChanged(f, s));
  f = core::commFieldsFrom(s);
  f.code = "";
  EXPECT_TRUE(core::commFieldsChanged(f, s));
  f = core::commFieldsFrom(s);
  f.port = "com1";
  EXPECT_TRUE(core::commFieldsChanged(f, s));
}
