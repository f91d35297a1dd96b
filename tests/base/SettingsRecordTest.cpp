#include "base/SettingsRecord.h"
#include "platform/Cp932.h"
#include "platform/IniFile.h"

#include <gtest/gtest.h>

using namespace kestrovan::base;
using kestrovan::platform::IniFile;

TEST(SettingsRecord, NoFileGivesTheDefaults) {
  SettingsRecord s = loadSettings(IniFile(), "/home/op");
  EXPECT_EQ(s.Port, "COM1");
  EXPECT_EQ(s.Speed, "4800,8,N,2");
  EXPECT_EQ(s.DirPath, "/home/op");
  EXPECT_EQ(s.Mask, "*.NC");
  EXPECT_EQ(s.Signal, "Y");
  EXPECT_EQ(s.EndChar, "Y");
  EXPECT_EQ(s.StartChar, "N");
  EXPECT_EQ(s.Code, "N");
  EXPECT_EQ(s.ListColumn, 2);
  EXPECT_EQ(s.Left, 10);
  EXPECT_EQ(s.Top, 10);
  EXPECT_EQ(s.Font_Name, "ＭＳ Ｐゴシック");
  EXPECT_FALSE(s.WinVer);
}

TEST(SettingsRecord, AFreshSaveWritesEveryKeyInTableOrder) {
  IniFile ini;
  saveSettings(loadSettings(IniFile(), "/home/op"), ini);
  const std::string expected = "[Main]\r\nTop=10\r\nLeft=10\r\n"
                               "[Setting]\r\nPort=COM1\r\nSpeed=4800,8,N,2\r\nDirPath=/home/op\r\n"
                               "Mask=*.NC\r\nSignal=Y\r\nFileSort=N\r\nSortMuki=D\r\nStartChar=N\r\n"
                               "Code=N\r\nEndChar=Y\r\nO/:-Change=N\r\nALL-Files=Y\r\nDC3(0X93)=Y\r\n"
                               "StartChar_Type=1\r\nEndChar_Type=1\r\nSendMsg1=\r\nR_Code=0\r\n"
                               "ModemePort1=\r\nModemePort2=\r\n"
                               "[Edit]\r\nFont Name=" +
                               kestrovan::platform::utf8ToCp932("ＭＳ Ｐゴシック") +
                               "\r\nFont Size=10\r\nNC Color=Y\r\n"
                               "[Options]\r\nop1=N\r\nInvTime=0\r\nListColumn=2\r\nAdd_No=Y\r\n"
                               "Power_Off=N\r\nSend_SP_Cut=N\r\nRead_SP_Cut=N\r\nSend_Before=0\r\n"
                               "AutoSelect=N\r\nMSG_OP=N\r\nop2=N\r\nop3=N\r\nop4=N\r\nop5=N\r\n"
                               "op6=N\r\nWinVer=0\r\n";
  EXPECT_EQ(ini.toBytes(), expected);
}

TEST(SettingsRecord, StoredValuesAreTakenAsTheyAre) {
  IniFile ini = IniFile::fromBytes("[setting]\r\ndirpath=/data/nc\r\nPort=\r\nSignal=y\r\n"
                                   "o/:-change=Y\r\n[OPTIONS]\r\nInvTime=abc\r\nListColumn=9\r\n"
                                   "WinVer=1\r\nSend_Before=$2\r\n");
  SettingsRecord s = loadSettings(ini, "/home/op");
  EXPECT_EQ(s.DirPath, "/data/nc");
  EXPECT_EQ(s.Port, "");    // present but empty: empty, not the default
  EXPECT_EQ(s.Signal, "y"); // not corrected; users test for exactly "Y"
  EXPECT_EQ(s.O_Change, "Y");
  EXPECT_EQ(s.InvTime, 0);
  EXPECT_EQ(s.ListColumn, 9); // corrected only when the window is shown
  EXPECT_TRUE(s.WinVer);
  EXPECT_EQ(s.Send_Before, 2);
}

TEST(SettingsRecord, SaveKeepsForeignSectionsAndRoundTrips) {
  IniFile ini = IniFile::fromBytes("[Ports]\r\nCOM1=/dev/pts/9\r\n[Setting]\r\nPort=COM1\r\n");
  SettingsRecord s = loadSettings(ini, "/h");
  s.SendMsg1 = "(MSG)";
  s.Speed = "9600,7,E,2";
  s.WinVer = true;
  saveSettings(s, ini);
  IniFile back = IniFile::fromBytes(ini.toBytes());
  EXPECT_EQ(back.readString("Ports", "COM1", ""), "/dev/pts/9");
  SettingsRecord t = loadSettings(back, "/h");
  EXPECT_EQ(t.SendMsg1, "(MSG)");
  EXPECT_EQ(t.Speed, "9600,7,E,2");
  EXPECT_TRUE(t.WinVer);
  EXPECT_EQ(back.readString("Options", "WinVer", ""), "1");
}
