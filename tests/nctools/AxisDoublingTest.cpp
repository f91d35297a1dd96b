// Axis doubling: decimal arithmetic on the digits as written.

#include "nctools/AxisDoubling.h"

#include "ToolFixture.h"

#include <gtest/gtest.h>

#include <regex>

using namespace kestrovan;
using nctools::DoublingEnd;
using nctools::LineDoubling;

namespace {

std::string doubled(std::string_view line, char letter = 'X') {
  const LineDoubling d = nctools::doubleAxisInLine(line, letter);
  if (d.kind == LineDoubling::Kind::NotANumber) return "not a number: " + d.number;
  return d.kind == LineDoubling::Kind::Changed ? d.line : std::string(line);
}

} // namespace

TEST(AxisDoubling, TheExamplesAsOperatorsKnowThem) {
  EXPECT_EQ(doubled("G01X10.Y5.F100"), "G01X20.0Y5.F100");
  EXPECT_EQ(doubled("G00X-12.345"), "G00X-24.690");
  EXPECT_EQ(doubled("X15"), "X30");
  EXPECT_EQ(doubled("X0.5"), "X1.0");
  EXPECT_EQ(doubled("X10 Y5"), "X20 Y5");
  EXPECT_EQ(doubled("X 7.25"), "X14.50");
  EXPECT_EQ(doubled("(FIX) X10."), "(FIX) X10."); // the first X is followed by ")"
  EXPECT_EQ(doubled("x10."), "x10.");
  EXPECT_EQ(doubled("X-"), "X-");
  EXPECT_EQ(doubled("G02X10.Y0I5.J0", 'I'), "G02X10.Y0I10.0J0");
  EXPECT_EQ(doubled("X1.2.3"), "not a number: 1.2.3");
  EXPECT_EQ(doubled("X1-2"), "not a number: 1-2");
}

TEST(AxisDoubling, DecimalsAsWrittenNeverBinaryFloatingPoint) {
  EXPECT_EQ(nctools::doubledNumber("0.1234"), "0.2468");
  EXPECT_EQ(nctools::doubledNumber("12.345"), "24.690");
  EXPECT_EQ(nctools::doubledNumber("1.00001"), "2.00002");
  EXPECT_EQ(nctools::doubledNumber("1.25"), "2.50");
  EXPECT_EQ(nctools::doubledNumber("0.0000005"), "0.0000010"); // six decimals and more: all kept
  EXPECT_EQ(nctools::doubledNumber("99999.9999"), "199999.9998");
  EXPECT_EQ(nctools::doubledNumber("-0."), "0.0"); // a zero has no sign
  EXPECT_EQ(nctools::doubledNumber(".5"), "1.0");
  EXPECT_EQ(nctools::doubledNumber("007"), "14");
  EXPECT_EQ(nctools::doubledNumber("-.25"), "-0.50");
  EXPECT_EQ(nctools::doubledNumber("123456789012345678901234567890"), "246913578024691357802469135780");
  for (const char* bad : {" ", ".", "-", "1 2", "1.2.3", "--1", "1-"})
    EXPECT_FALSE(nctools::doubledNumber(bad)) << bad;
}

TEST(AxisDoubling, ShiftJisTextIsNeverTakenForALetter) {
  // 0x83 0x58 is "ス": its second byte is an "X".
  const std::string line = "(\x83\x58\x83\x4c\x83\x62\x83\x76) X5.";
  EXPECT_EQ(doubled(line), "(\x83\x58\x83\x4c\x83\x62\x83\x76) X10.0");
}

TEST(AxisDoubling, AWholeProgramAndWhatIsLeftOnDisk) {
  test::TempDir dir;
  nctools::DiskOutputFiles disk;
  EXPECT_EQ(nctools::doubleAxis("%\r\nG00X1.\r\nM30\r\nX2", 'x', dir.file("P_2.NC"), disk).end,
            DoublingEnd::Done);
  EXPECT_EQ(test::readFile(dir.file("P_2.NC")),
            "%\r\nG00X2.0\r\nM30\r\nX4\r\n"); // the last line as any other

  test::writeFile(dir.file("Q_2.NC"), "older\r\n");
  nctools::DoublingResult r = nctools::doubleAxis("X1.\r\nX1.2.3\r\n", 'X', dir.file("Q_2.NC"), disk);
  EXPECT_EQ(r.end, DoublingEnd::NotANumber);
  EXPECT_EQ(r.number, "1.2.3");
  EXPECT_EQ(test::readFile(dir.file("Q_2.NC")), "older\r\n"); // nothing saved
  EXPECT_EQ(test::namesIn(dir.path()), (std::vector<std::string>{"P_2.NC", "Q_2.NC"}));
}

namespace {

// A large lathe program, doubled in X, against a rule of its own: every
// line's first X and the number after it, by a regular expression, doubled
// through integers scaled by the decimals.
void expectDoubledByAnIndependentRule(const std::string& source) {
  test::TempDir dir;
  nctools::DiskOutputFiles disk;
  ASSERT_EQ(nctools::doubleAxis(source, 'X', dir.file("DOUBLED.NC"), disk).end, DoublingEnd::Done);
  const std::string out = test::readFile(dir.file("DOUBLED.NC"));

  const std::regex firstX("^([^X]*)X(-?)([0-9]*)(\\.?)([0-9]*)(.*)$");
  std::string expected;
  int changed = 0;
  for (std::size_t at = 0; at < source.size();) {
    std::size_t end = source.find('\n', at);
    if (end == std::string::npos) end = source.size();
    std::string line = source.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    at = end + 1;
    std::smatch m;
    if (std::regex_match(line, m, firstX) && (m[3].length() + m[5].length()) > 0) {
      const std::string digits = m[3].str() + m[5].str();
      const long long value = std::stoll(digits) * 2;
      const std::size_t written = static_cast<std::size_t>(m[5].length());
      const std::size_t decimals = m[4].length() ? std::max<std::size_t>(1, written) : 0;
      std::string text = std::to_string(value * (decimals > written ? 10 : 1));
      if (decimals > 0) {
        while (text.size() <= decimals)
          text.insert(0, "0");
        text.insert(text.size() - decimals, ".");
      }
      line = m[1].str() + "X" + (value != 0 ? m[2].str() : "") + text + m[6].str();
      ++changed;
    }
    expected += line + "\r\n";
  }
  EXPECT_GT(changed, 7000);
  EXPECT_EQ(out, expected);
}

} // namespace

TEST(AxisDoubling, ALargeCamLatheProgramMatchesAnIndependentRule) {
  expectDoubledByAnIndependentRule(test::written::largeCamLathe());
}

TEST(AxisDoubling, TheLargeLatheSampleMatchesAnIndependentRule) {
  KESTROVAN_NEEDS_SAMPLES("LATHE_LARGE_THREADING_O1200.NC");
  expectDoubledByAnIndependentRule(test::readFile(test::samplePath("LATHE_LARGE_THREADING_O1200.NC")));
}
