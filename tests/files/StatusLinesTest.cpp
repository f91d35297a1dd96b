// Header line, info-line size text, and the listing filter.

#include "files/Listing.h"
#include "files/SizeText.h"
#include "files/StatusLines.h"

#include <gtest/gtest.h>

namespace kestrovan::files {
namespace {

TEST(SizeText, BytesKilobytesMegabytes) {
  EXPECT_EQ(sizeText(0), "0ﾊﾞｲﾄ");
  EXPECT_EQ(sizeText(1023), "1023ﾊﾞｲﾄ");
  EXPECT_EQ(sizeText(1024), "1.000KB");
  EXPECT_EQ(sizeText(1088), "1.063KB"); // 1.0625: halves round up
  EXPECT_EQ(sizeText(1048575), "1023.999KB");
  EXPECT_EQ(sizeText(1048576), "1.000MB");
  EXPECT_EQ(sizeText(123456789), "117.738MB");
  EXPECT_EQ(sizeText(1048576 * 2 - 1), "2.000MB"); // rounding carries into the whole part
  EXPECT_EQ(sizeText(std::uint64_t{5} << 40), "5242880.000MB");
}

TEST(HeaderLine, PathIsPaddedOrCutToSixtySevenColumns) {
  ListOptions o;
  const std::string count = "     ﾌｧｲﾙ数 :";
  std::string expected = " Path=/data/*.*";
  EXPECT_EQ(headerLine("/data", o, 12), expected + std::string(67 - expected.size(), ' ') + count + "12");
  EXPECT_EQ(headerLine("/", o, 0).substr(0, 11), " Path=/*.* ");
  EXPECT_EQ(headerLine("/data", o, std::nullopt).substr(67), count + "????");

  o.allFiles = "N";
  o.mask = "*.NC";
  expected = " Path=/data/*.NC";
  EXPECT_EQ(headerLine("/data", o, 1), expected + std::string(67 - expected.size(), ' ') + count + "1");

  const std::string longFolder = "/" + std::string(100, 'x');
  EXPECT_EQ(headerLine(longFolder, o, 3), (" Path=" + longFolder).substr(0, 67) + count + "3");
}

TEST(HeaderLine, TwoByteCharacterAcrossTheCutIsDroppedAndPadded) {
  ListOptions o;
  // " Path=/" is 7 columns; 59 more ASCII columns end at 66, so "日" would
  // take columns 67 and 68.
  const std::string folder = "/" + std::string(59, 'a') + "日本";
  const std::string line = headerLine(folder, o, 5);
  EXPECT_EQ(line, " Path=/" + std::string(59, 'a') + " " + "     ﾌｧｲﾙ数 :5");
}

TEST(ListFilter, MaskTakesMatchingExtensionsInAnyCase) {
  ListOptions o;
  o.allFiles = "N";
  o.mask = "*.NC";
  EXPECT_TRUE(fileIsListed("a.nc", o));
  EXPECT_TRUE(fileIsListed("B.Nc", o));
  EXPECT_FALSE(fileIsListed("c.nc1", o));
  EXPECT_FALSE(fileIsListed("README", o));
  EXPECT_FALSE(fileIsListed(".nc", o)); // a leading dot is no extension
  o.allFiles = "Y";
  EXPECT_TRUE(fileIsListed("README", o));
}

} // namespace
} // namespace kestrovan::files
