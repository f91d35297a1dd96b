#include "serial/LineSettings.h"

#include <gtest/gtest.h>

using namespace kestrovan::serial;
using kestrovan::platform::Parity;
using kestrovan::platform::StopBits;

namespace {
LineSettings parsed(const char* text) {
  LineSettingsParse p = parseLineSettings(text);
  EXPECT_TRUE(p.settings) << text;
  return p.settings.value_or(LineSettings{});
}
} // namespace

TEST(LineSettings, FieldsAsStored) {
  LineSettings a = parsed("9600,7,E,2");
  EXPECT_EQ(a.speed, 9600);
  EXPECT_EQ(a.dataBits, 7);
  EXPECT_EQ(a.parity, Parity::Even);
  EXPECT_EQ(a.stopBits, StopBits::Two);

  LineSettings b = parsed("9600,8,E,1"); // eight bits never carry parity
  EXPECT_EQ(b.dataBits, 8);
  EXPECT_EQ(b.parity, Parity::None);
  EXPECT_EQ(b.stopBits, StopBits::One);

  LineSettings c = parsed("4800,7,O,1"); // neither N nor E anywhere: odd
  EXPECT_EQ(c.parity, Parity::Odd);
  EXPECT_EQ(c.stopBits, StopBits::One);

  EXPECT_EQ(parsed("4800,7,E,3").stopBits, StopBits::OneAndHalf);
  EXPECT_EQ(parsed("14400,8,N,2").speed, 14400);
  EXPECT_EQ(parsed("19200,7,N,1").parity, Parity::None);
}

TEST(LineSettings, LetterSearchCoversTheWholeText) {
  // Any "N" wins over the letter in the parity field, and the stop bits are
  // read two characters after the letter found.
  LineSettings s = parsed("1200,7,E,N,2");
  EXPECT_EQ(s.parity, Parity::None);
  EXPECT_EQ(s.stopBits, StopBits::Two);
  // With eight bits the letter is still looked for, only to find the stop bits.
  EXPECT_EQ(parsed("2400,8,O,2").stopBits, StopBits::Two);
}

TEST(LineSettings, Refusals) {
  EXPECT_EQ(parseLineSettings("38400,8,N,2").error, LineSettingsError::Speed);
  EXPECT_EQ(parseLineSettings("0,8,N,2").error, LineSettingsError::Speed);
  EXPECT_EQ(parseLineSettings("4294972096,8,N,2").error, LineSettingsError::Speed);
  EXPECT_EQ(parseLineSettings("fast,8,N,2").error, LineSettingsError::Malformed);
  EXPECT_EQ(parseLineSettings("4800,x,N,2").error, LineSettingsError::Malformed);
  EXPECT_EQ(parseLineSettings("4800,8,N,two").error, LineSettingsError::Malformed);
  EXPECT_EQ(parseLineSettings("4800,7,X,1").error, LineSettingsError::Malformed); // no letter
  EXPECT_EQ(parseLineSettings("4800").error, LineSettingsError::Malformed);
  EXPECT_EQ(parseLineSettings("").error, LineSettingsError::Malformed);
  EXPECT_EQ(parseLineSettings("4800,").error, LineSettingsError::Malformed);
  EXPECT_EQ(parseLineSettings("4800,8,N").error, LineSettingsError::Malformed);
}
