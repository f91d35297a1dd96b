#include "platform/Cp932.h"

#include <gtest/gtest.h>

using namespace kestrovan::platform;

TEST(Cp932, RoundTripKeepsBackslashAndTildeAndKatakana) {
  // CP932, not strict Shift-JIS: 0x5C stays a backslash, 0x7E a tilde.
  const std::string utf8 = "C:\\NC\\O1234~1 ﾌｧｲﾙ 表示 ①";
  const std::string sjis = utf8ToCp932(utf8);
  EXPECT_EQ(sjis.substr(0, 13), "C:\\NC\\O1234~1");
  EXPECT_EQ(sjis.substr(14, 4), "\xCC\xA7\xB2\xD9");
  EXPECT_EQ(cp932ToUtf8(sjis), utf8);
}

TEST(Cp932, InvalidBytesBecomeReplacementAndUnmappableBecomeQuestion) {
  EXPECT_EQ(cp932ToUtf8("A\x81"), "A\xEF\xBF\xBD");
  EXPECT_EQ(cp932ToUtf8("\xA0Z"), "\xEF\xBF\xBDZ");
  EXPECT_EQ(utf8ToCp932("x😀y"), "x?y");
}

TEST(Cp932, WidthCountsBytesOfTheScreenText) {
  EXPECT_EQ(cp932Width("O1234.NC"), 8u);
  EXPECT_EQ(cp932Width("ﾌｧｲﾙ"), 4u);
  EXPECT_EQ(cp932Width("送信データ"), 10u);
  EXPECT_EQ(cp932Truncate("ab送信", 3), "ab");
  EXPECT_EQ(cp932Truncate("ab送信", 4), "ab送");
  EXPECT_EQ(cp932Truncate("ﾌｧｲﾙ", 2), "ﾌｧ");
}
