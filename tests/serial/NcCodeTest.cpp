#include "serial/NcCode.h"
#include "support/Bytes.h"

#include <gtest/gtest.h>

#include <string>

using namespace kestrovan::serial;

using kestrovan::test::bytes;

namespace {
std::string iso(const std::string& text) {
  std::string out;
  for (char c : text)
    out += static_cast<char>(isoEncode(static_cast<unsigned char>(c)));
  return out;
}
std::string eia(const std::string& text) {
  std::string out;
  for (char c : text)
    if (auto b = eiaEncode(static_cast<unsigned char>(c))) out += static_cast<char>(*b);
  return out;
}
} // namespace

TEST(IsoCode, EveryByteOnTheLineHasEvenParityAndDecodesBack) {
  EXPECT_EQ(iso("G01X10.\n"), bytes({0x47, 0x30, 0xB1, 0xD8, 0xB1, 0x30, 0x2E, 0x0A}));
  EXPECT_EQ(isoEncode('%'), 0xA5);
  for (int c = 0; c < 0x80; ++c) {
    unsigned char b = isoEncode(static_cast<unsigned char>(c));
    EXPECT_EQ(bitCount(b) % 2, 0) << c;
    EXPECT_EQ(isoDecode(b), c);
  }
  EXPECT_EQ(isoEncode(0x93), 0x93); // not an NC character: left alone
}

TEST(EiaCode, TableBothWays) {
  EXPECT_EQ(eia("M30\n"), bytes({0x54, 0x13, 0x20, 0x80}));
  EXPECT_EQ(eia(":1234"), eia("O1234"));
  EXPECT_EQ(eia("% *\n"), bytes({0x0B, 0x10, 0x80})); // "*" has no code
  EXPECT_FALSE(eiaEncode('a'));
  EXPECT_FALSE(eiaEncode('\t'));
  EXPECT_FALSE(eiaEncode('\r'));
  EXPECT_FALSE(eiaEncode('#'));
  EXPECT_EQ(eiaDecode(0x46), 'O');
  EXPECT_EQ(eiaDecode(0x80), '\n');
  EXPECT_EQ(eiaDecode(0x10), ' ');
  EXPECT_EQ(eiaDecode(0x13), '3');
  EXPECT_EQ(eiaDecode(0x7F), 0);
  const std::string all = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ%()+-/.&, \n";
  for (char c : all) {
    auto code = eiaEncode(static_cast<unsigned char>(c));
    ASSERT_TRUE(code) << c;
    EXPECT_EQ(bitCount(*code) % 2, 1) << c; // the fifth-bit parity makes every count odd
    EXPECT_EQ(eiaDecode(*code), static_cast<unsigned char>(c));
  }
}

TEST(ReceivedCode, DetectionByBitCountThenKept) {
  CodeFlags f;
  EXPECT_EQ(decodeReceived(0x0B, f), '%');
  EXPECT_EQ(f, (CodeFlags{false, true}));
  EXPECT_EQ(decodeReceived(0x46, f), 'O');

  f = {};
  EXPECT_EQ(decodeReceived(0xA5, f), '%');
  EXPECT_EQ(f, (CodeFlags{true, false}));
  EXPECT_EQ(decodeReceived(0xB1, f), '1');

  f = {}; // ISO "%" without its parity bit, as a seven-bit line delivers it
  decodeReceived(0x25, f);
  EXPECT_EQ(f, (CodeFlags{false, true}));

  f = {true, true}; // ASCII: nothing converted
  EXPECT_EQ(decodeReceived(0xB1, f), 0xB1);
}

TEST(ReceivedCode, FlagsAtTheStartOfATransfer) {
  EXPECT_EQ(receiveCodeFlags(0), (CodeFlags{}));
  EXPECT_EQ(receiveCodeFlags(1), (CodeFlags{true, false}));
  EXPECT_EQ(receiveCodeFlags(2), (CodeFlags{false, true}));
  EXPECT_EQ(receiveCodeFlags(3), (CodeFlags{true, true}));
  EXPECT_EQ(receiveCodeFlags(7), (CodeFlags{}));
  EXPECT_EQ(sendCodeFlags(8, "Y"), (CodeFlags{false, true}));
  EXPECT_EQ(sendCodeFlags(8, "N"), (CodeFlags{true, false}));
  EXPECT_EQ(sendCodeFlags(8, "y"), (CodeFlags{}));
  EXPECT_EQ(sendCodeFlags(7, "Y"), (CodeFlags{true, true}));
}

TEST(Framing, StartCharacters) {
  EXPECT_EQ(startCharacters("Y", 1), "%\n");
  EXPECT_EQ(startCharacters("Y", 2), "%%\n");
  EXPECT_EQ(startCharacters("Y", 3), "% *\n");
  EXPECT_EQ(startCharacters("Y", 4), "%");
  EXPECT_EQ(startCharacters("Y", 5), "%%");
  EXPECT_EQ(startCharacters("Y", 0), "");
  EXPECT_EQ(startCharacters("Y", 6), "");
  EXPECT_EQ(startCharacters("N", 1), "\n");
  EXPECT_EQ(startCharacters("y", 2), "\n");
}

TEST(Framing, EndCharacters) {
  EXPECT_EQ(endCharacters("Y", 1), "\n%");
  EXPECT_EQ(endCharacters("Y", 2), "\n%%");
  EXPECT_EQ(endCharacters("Y", 3), "\n%\n");
  EXPECT_EQ(endCharacters("Y", 4), "\n%%\n");
  EXPECT_EQ(endCharacters("Y", 5), "");
  EXPECT_EQ(endCharacters("N", 1), "\x14");
  EXPECT_EQ(endCharacters("", 3), "\x14");
}
