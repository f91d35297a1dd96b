#include "platform/Cp932.h"
#include "platform/IniFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using kestrovan::platform::IniFile;
using kestrovan::platform::parseProfileInteger;
using namespace kestrovan::test;
namespace platform = kestrovan::platform;

TEST(IniFile, MatchesSectionsAndKeysIgnoringCaseAndBlanks) {
  IniFile ini = IniFile::fromBytes("[ setting ]\r\n  dirpath  =  /home/op/NC  \r\nPORT=COM3\r\n");
  EXPECT_EQ(ini.readString("Setting", "DirPath", "x"), "/home/op/NC");
  EXPECT_EQ(ini.readString("SETTING", "Port", "x"), "COM3");
}

TEST(IniFile, MissingGivesDefaultEmptyValueGivesEmptyText) {
  IniFile ini = IniFile::fromBytes("[Setting]\nPort=\nSignal=Y\n");
  EXPECT_EQ(ini.readString("Setting", "Port", "COM1"), "");
  EXPECT_EQ(ini.readString("Setting", "Speed", "4800,8,N,2"), "4800,8,N,2");
  EXPECT_EQ(ini.readString("Nothing", "Port", "COM1"), "COM1");
  EXPECT_EQ(IniFile::load("/nonexistent/x.INI").readString("A", "B", "d"), "d");
}

TEST(IniFile, FirstOfDuplicateKeysWinsAndCommentsAreNotKeys) {
  IniFile ini = IniFile::fromBytes("[S]\n;K=comment\nK=first\nK=second\n");
  EXPECT_EQ(ini.readString("S", "K", ""), "first");
  EXPECT_FALSE(ini.value("S", ";K"));
}

TEST(IniFile, IntegersReadAsTheProfileReaderDoes) {
  EXPECT_EQ(parseProfileInteger("42"), 42);
  EXPECT_EQ(parseProfileInteger(" -7 "), -7);
  EXPECT_EQ(parseProfileInteger("0x1F"), 31);
  EXPECT_EQ(parseProfileInteger("0X1f"), 31);
  EXPECT_EQ(parseProfileInteger("$10"), 16);
  EXPECT_EQ(parseProfileInteger("$FFFFFFFF"), -1);
  EXPECT_EQ(parseProfileInteger("2147483647"), 2147483647);
  EXPECT_EQ(parseProfileInteger("-2147483648"), INT32_MIN);
  for (const char* bad : {"", "abc", "12a", "1 2", "0x", "$", "2147483648", "0x100000000", "1.5"})
    EXPECT_FALSE(parseProfileInteger(bad)) << bad;

  IniFile ini = IniFile::fromBytes("[Options]\nInvTime=abc\nListColumn=9\nWinVer=2\nOff=0\n");
  EXPECT_EQ(ini.readInteger("Options", "InvTime", 0), 0);
  EXPECT_EQ(ini.readInteger("Options", "InvTime", 5), 5);
  EXPECT_EQ(ini.readInteger("Options", "ListColumn", 2), 9);
  EXPECT_TRUE(ini.readBool("Options", "WinVer", false));
  EXPECT_FALSE(ini.readBool("Options", "Off", true));
  EXPECT_TRUE(ini.readBool("Options", "InvTime", true));
}

TEST(IniFile, WritingUpdatesInPlaceAndKeepsEverythingElse) {
  IniFile ini = IniFile::fromBytes("; settings\n[Main]\nLeft=1\n\n[Ports]\nCOM1=/dev/pts/4\n"
                                   "[Setting]\nunknown=kept\nport=COM2\n");
  ini.writeString("Setting", "Port", "COM5");
  ini.writeString("Main", "Top", "7");    // new key: end of its section, before the blank line
  ini.writeString("Options", "op1", "Y"); // new section: end of file
  EXPECT_EQ(ini.toBytes(), "; settings\r\n[Main]\r\nLeft=1\r\nTop=7\r\n\r\n[Ports]\r\nCOM1=/dev/pts/4\r\n"
                           "[Setting]\r\nunknown=kept\r\nPort=COM5\r\n[Options]\r\nop1=Y\r\n");
}

TEST(IniFile, ValuesAreCp932OnDiskAndUtf8Inside) {
  TempDir dir;
  const std::string path = dir.file("K.INI");
  IniFile ini;
  ini.writeString("Edit", "Font Name", "ＭＳ Ｐゴシック");
  ini.writeString("Setting", "SendMsg1", "表示"); // 表 is 0x95 0x5C: a backslash as trail byte
  ASSERT_TRUE(ini.save(path));
  const std::string bytes = readFile(path);
  EXPECT_NE(bytes.find("Font Name=\x82\x6c\x82\x72 \x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e\r\n"),
            std::string::npos);
  EXPECT_NE(bytes.find("SendMsg1=\x95\x5c\x8e\xa6\r\n"), std::string::npos);
  IniFile back = IniFile::load(path);
  EXPECT_EQ(back.readString("Edit", "font name", ""), "ＭＳ Ｐゴシック");
  EXPECT_EQ(back.readString("Setting", "SendMsg1", ""), "表示");
}

TEST(IniFile, TrailBytesInTheLetterRangeAreNotFoldedWhenMatching) {
  // ア is 0x83 0x41; a stored name 0x83 0x61 differs from it only in a trail
  // byte that an ASCII case fold would wrongly take for "a" against "A".
  IniFile ini = IniFile::fromBytes("[S]\n\x83\x61=lower\n");
  EXPECT_FALSE(ini.value("S", "\xE3\x82\xA2").has_value()); // ア (0x83 0x41) must not match 0x83 0x61
}

TEST(IniFile, ACharacterWithTwoCodesKeepsTheCodeTheFileHadWhenWrittenBackAndItsKeyIsItsOwn) {
  // 0xED 0xED and 0xFB 0x4C (found by fuzzing) are one character in CP932,
  // whose own encoder gives the second code. A value read and written back
  // keeps the file's code; a key of the other code is another key.
  IniFile ini = IniFile::fromBytes("[S]\r\nV=\xED\xED\r\n\xED\xED=x\r\n");
  const std::string value = ini.readString("S", "V", "");
  ASSERT_EQ(platform::utf8ToCp932(value), "\xFB\x4C");
  ini.writeString("S", "V", value);
  EXPECT_EQ(ini.toBytes(), "[S]\r\nV=\xED\xED\r\n\xED\xED=x\r\n");
  EXPECT_FALSE(ini.value("S", platform::cp932ToUtf8("\xED\xED")).has_value());
}

TEST(IniFile, LongValuesSurviveSaveAndLoad) {
  TempDir dir;
  const std::string longValue(600, 'X');
  const std::string longJapanese = std::string(200, 'a') + "日本語のコメント" + std::string(200, 'b');
  IniFile ini;
  ini.writeString("Setting", "SendMsg1", longValue);
  ini.writeString("Setting", "DirPath", longJapanese);
  ASSERT_TRUE(ini.save(dir.file("L.INI")));
  IniFile back = IniFile::load(dir.file("L.INI"));
  EXPECT_EQ(back.readString("Setting", "SendMsg1", ""), longValue);
  EXPECT_EQ(back.readString("Setting", "DirPath", ""), longJapanese);
}

TEST(IniFile, ALineBreakInAValueCannotSplitTheFile) {
  IniFile ini;
  ini.writeString("S", "K", "a\r\n[Evil]\nX=1");
  IniFile back = IniFile::fromBytes(ini.toBytes());
  EXPECT_FALSE(back.value("Evil", "X"));
  EXPECT_EQ(back.readString("S", "K", ""), "a  [Evil] X=1");
}

TEST(IniFile, SaveIntoAMissingFolderFailsAndLeavesNothing) {
  TempDir dir;
  IniFile ini;
  ini.writeString("S", "K", "v");
  EXPECT_FALSE(ini.save(dir.file("missing/K.INI")));
}

TEST(IniFile, SectionEntriesInFileOrder) {
  IniFile ini = IniFile::fromBytes("[Ports]\nCOM1=/dev/pts/3\ncom12 = /dev/serial/by-id/usb-X\nCOM1=dup\n");
  auto e = ini.sectionEntries("ports");
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[0], (std::pair<std::string, std::string>{"COM1", "/dev/pts/3"}));
  EXPECT_EQ(e[1], (std::pair<std::string, std::string>{"com12", "/dev/serial/by-id/usb-X"}));
}
