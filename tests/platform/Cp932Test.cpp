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
  // A lead byte without its second byte does not swallow the line end after it.
  EXPECT_EQ(cp932ToUtf8("G0\x81\r\nM30"), "G0\xEF\xBF\xBD\r\nM30");
  EXPECT_EQ(cp932ToUtf8("\x81\x40"), "\xE3\x80\x80"); // the ideographic space
}

TEST(Cp932, ExactEncodingStopsAtTheFirstCharacterItCannotHold) {
  Cp932Encoding done = utf8ToCp932Exact("表\\~");
  EXPECT_TRUE(done.complete());
  EXPECT_EQ(done.bytes, "\x95\x5C\\~");
  Cp932Encoding stopped = utf8ToCp932Exact("AB表😀C€");
  EXPECT_FALSE(stopped.complete());
  EXPECT_EQ(stopped.failedAt, 5u);
  EXPECT_EQ(stopped.bytes, "AB\x95\x5C");
}

TEST(Cp932, WidthCountsBytesOfTheScreenText) {
  EXPECT_EQ(cp932Width("O1234.NC"), 8u);
  EXPECT_EQ(cp932Width("ﾌｧｲﾙ"), 4u);
  EXPECT_EQ(cp932Width("送信データ"), 10u);
  EXPECT_EQ(cp932Truncate("ab送信", 3), "ab");
  EXPECT_EQ(cp932Truncate("ab送信", 4), "ab送");
  EXPECT_EQ(cp932Truncate("ﾌｧｲﾙ", 2), "ﾌｧ");
}
