#include "external/CommandTable.h"
#include "platform/Cp932.h"
#include "platform/IniFile.h"

#include <gtest/gtest.h>

using namespace kestrovan;

TEST(CommandTable, MissingFileGivesEmptyEntriesAndASaveWritesAll79KeysInOrder) {
  external::CommandTable t = external::loadCommandTable(platform::IniFile());
  for (char c = 'A'; c <= 'Z'; ++c) {
    EXPECT_EQ(t.entry(c)->application, "");
    EXPECT_EQ(t.entry(c)->useArguments, "N");
    EXPECT_EQ(t.entry(c)->name, "");
  }
  platform::IniFile ini;
  external::saveCommandTable(t, ini);
  std::string expected = "[Application]\r\nEditApp=\r\n";
  for (char c = 'A'; c <= 'Z'; ++c)
    expected += std::string("OutApp") + c + "=\r\nOutApp" + c + "_F=N\r\nOutApp" + c + "_N=\r\n";
  EXPECT_EQ(ini.toBytes(), expected);
  EXPECT_EQ(t.entry('@'), nullptr);
  EXPECT_EQ(t.entry('['), nullptr);
}

TEST(CommandTable, EntriesAndEditAppSurviveARoundTrip) {
  platform::IniFile ini = platform::IniFile::fromBytes(platform::utf8ToCp932(
      "[application]\r\neditapp=C:\\EDIT\\EDIT.EXE\r\nOutAppZ=/usr/bin/gedit $A\r\nOutAppZ_F=Y\r\n"
      "OutAppZ_N=エディタ\r\n"));
  external::CommandTable t = external::loadCommandTable(ini);
  EXPECT_EQ(t.EditApp, "C:\\EDIT\\EDIT.EXE");
  EXPECT_EQ(t.entry('Z')->name, "エディタ");
  platform::IniFile out;
  external::saveCommandTable(t, out);
  external::CommandTable back = external::loadCommandTable(platform::IniFile::fromBytes(out.toBytes()));
  EXPECT_EQ(back.EditApp, "C:\\EDIT\\EDIT.EXE");
  EXPECT_EQ(back.entry('z')->application, "/usr/bin/gedit $A");
  EXPECT_EQ(back.entry('Z')->useArguments, "Y");
  EXPECT_EQ(back.entry('Z')->name, "エディタ");
}
