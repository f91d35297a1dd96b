// The NC tool dialogs' rules without a window: refused characters, the
// split's destination, and the texts with a name or number in them.

#include "nctools/ToolFields.h"

#include <gtest/gtest.h>

using namespace kestrovan::nctools;

TEST(ToolFields, RefusedCharactersAreCountedOnSingleBytesOnly) {
  EXPECT_EQ(refusedCount("/data/NC:1", kFolderRefused), 0); // the separator and the colon go in
  EXPECT_EQ(refusedCount("a\\b.c*", kFolderRefused), 2);    // the dot goes in: folders have dots here
  EXPECT_EQ(refusedCount("A/B:C.D", kFileNameRefused), 3);
  // Fields hold UTF-8, whose bytes beyond ASCII are all above 0x7F: "ソ"
  // (0x83 0x5C in Shift-JIS) is never taken for a backslash.
  EXPECT_EQ(refusedCount("ソ表", kFolderRefused), 0);
}

TEST(ToolFields, TheSplitDestination) {
  // One trailing separator goes; the root is used as it is, unchecked.
  EXPECT_EQ(splitDestination("/nc/out/", "/data").folder, "/nc/out");
  EXPECT_TRUE(splitDestination("/nc/out/", "/data").checkExists);
  EXPECT_EQ(splitDestination("/", "/data").folder, "/");
  EXPECT_FALSE(splitDestination("/", "/data").checkExists);
  EXPECT_FALSE(splitDestination("//", "/data").checkExists);
  // A relative folder lies in the data folder, never the working folder.
  EXPECT_EQ(splitDestination("sub", "/data").folder, "/data/sub");
}

TEST(ToolFields, Texts) {
  EXPECT_EQ(cannotCreateText("/d/O1.NC"), "ファイル /d/O1.NC を作成できません");
  EXPECT_EQ(cannotOpenText("/d/A.NC"), "ファイル /d/A.NC は開けません");
  EXPECT_EQ(overwriteQuestion("/d/A.NC"), "すでに/d/A.NCが有ります。\n上書きしますか？");
  EXPECT_EQ(notANumberText("1.2.3"), "'1.2.3' は浮動小数点数ではありません");
  EXPECT_EQ(doublingDoneText('I', "P_2.NC"), "I軸を２倍に変換しました。\n変換ファイル名は P_2.NCです。");
  EXPECT_EQ(programLineCount("%\r\nO1\nM30"), 3u);
  EXPECT_EQ(programLineCount("O1\r\n\r\n"), 2u);
  EXPECT_EQ(programLineCount(""), 0u);
}
