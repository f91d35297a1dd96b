// Size text and the header line.

#include "files/StatusLines.h"
#include "files/SizeText.h"

#include <gtest/gtest.h>

namespace kestrovan::files {
namespace {

const std::string kCount = "     ﾌｧｲﾙ数 :";

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
  EXPECT_EQ(headerLine("/data", o, 12), " Path=/data/*.*" + std::string(52, ' ') + kCount + "12");
  EXPECT_EQ(headerLine("/", o, 0).substr(0, 11), " Path=/*.* ");
  EXPECT_EQ(headerLine("/data", o, std::nullopt).substr(67), kCount + "????");
  o.allFiles = "N";
  EXPECT_EQ(headerLine("/data", o, 1), " Path=/data/*.NC" + std::string(51, ' ') + kCount + "1");
  const std::string longFolder = "/" + std::string(100, 'x');
  EXPECT_EQ(headerLine(longFolder, o, 3), (" Path=" + longFolder).substr(0, 67) + kCount + "3");
  // " Path=/" and 59 letters end at column 66: "日" would straddle the cut.
  EXPECT_EQ(headerLine("/" + std::string(59, 'a') + "日本", o, 5),
            " Path=/" + std::string(59, 'a') + " " + kCount + "5");
}

} // namespace
} // namespace kestrovan::files
