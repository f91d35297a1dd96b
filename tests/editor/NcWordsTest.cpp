// The words the NC colouring marks.
#include "editor/NcWords.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kestrovan::editor;

namespace {

// Each marked word as "kind:text".
std::vector<std::string> words(std::u16string_view line) {
  static const char* const names[] = {"C", "O", "N", "G", "M", "A"};
  std::vector<std::string> out;
  forEachNcWord(line, [&](const NcWord& w) {
    std::string text;
    for (char16_t c : line.substr(w.start, w.length))
      text += c < 0x80 ? static_cast<char>(c) : '*';
    out.push_back(std::string(names[static_cast<int>(w.kind)]) + ":" + text);
  });
  return out;
}

using V = std::vector<std::string>;

} // namespace

TEST(NcWords, ProgramBlockGMAndAddressWordsAndComments) {
  EXPECT_EQ(words(u"%O1200(TOKARKA)"), (V{"O:O1200", "C:(TOKARKA)"}));
  EXPECT_EQ(words(u":0100( FLANGE OP.2 )"), (V{"O::0100", "C:( FLANGE OP.2 )"}));
  EXPECT_EQ(words(u"N01G50S0600"), (V{"N:N01", "G:G50", "A:S0600"}));
  EXPECT_EQ(words(u"G01X118M08F.3"), (V{"G:G01", "A:X118", "M:M08", "A:F.3"}));
  EXPECT_EQ(words(u"X-21.375 Z-3.363"), (V{"A:X-21.375", "A:Z-3.363"}));
  EXPECT_EQ(words(u"#501=350. X[#504+6.]"), (V{}));
  EXPECT_EQ(words(u"S#501 M03"), (V{"A:S#501", "M:M03"}));
  // Words of macro lines and named subprograms are no addresses.
  EXPECT_EQ(words(u"IF [ #5405 GE 6000 ] THEN #3000= 15 (TOOL)"), (V{"C:(TOOL)"}));
  EXPECT_EQ(words(u"OSTRT"), (V{}));
  EXPECT_EQ(words(u"GOTO10"), (V{}));
  // An O in the middle of a block is an address; an unclosed comment runs
  // to the end of the line; a Japanese comment is one comment.
  EXPECT_EQ(words(u"M98 P1001 (サブ"), (V{"M:M98", "A:P1001", "C:(**"}));
  EXPECT_EQ(words(u"(荒加工) G00"), (V{"C:(***)", "G:G00"}));
  EXPECT_EQ(words(u""), (V{}));
  EXPECT_EQ(words(u"X."), (V{}));
}
