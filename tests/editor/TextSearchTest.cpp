// The search walks on the editor's offsets (a line break counts two).
#include "editor/TextSearch.h"

#include <gtest/gtest.h>

#include <vector>

using namespace kestrovan::editor;

namespace {

SearchOptions exact(std::u16string_view p) { return {p, true}; }
SearchOptions anyCase(std::u16string_view p) { return {p, false}; }

// Every hit of repeated searches from `from`, as the dialog walks them: down
// from the end of the last hit, up from its start.
std::vector<std::size_t> walk(std::u16string_view text, std::size_t from, std::u16string_view p, bool down) {
  std::vector<std::size_t> hits;
  std::size_t at = from;
  while (auto hit = down ? searchDown(text, at, exact(p)) : searchUp(text, at, exact(p))) {
    hits.push_back(hit->offset);
    at = down ? hit->offset + p.size() : hit->offset;
  }
  return hits;
}

} // namespace

// Lines "G00 X10." (0..7), "G01 X10. Y5." (10..21), "M30" (24..26).
constexpr std::u16string_view kProgram = u"G00 X10.\nG01 X10. Y5.\nM30";

TEST(TextSearch, OffsetsCountEachLineBreakAsTwoCharacters) {
  auto hit = searchDown(kProgram, 0, exact(u"M30"));
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->offset, 24u);
  EXPECT_EQ(hit->line, 2u);
  EXPECT_EQ(hit->column, 0u);
  hit = searchDown(kProgram, 0, exact(u"Y5."));
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->offset, 19u);
  EXPECT_EQ(hit->line, 1u);
  EXPECT_EQ(hit->column, 9u);
  // Qt's documents hold U+2029 between paragraphs: the same offsets.
  const std::u16string qt = u"G00 X10.\u2029G01 X10. Y5.\u2029M30";
  EXPECT_EQ(searchDown(qt, 0, exact(u"M30"))->offset, 24u);
}

TEST(TextSearch, DownWithTheHitSelectedFindsTheNextOne) {
  // The first X10. selected (offset 4, length 4): the search starts after it.
  auto hit = searchDown(kProgram, 4 + 4, exact(u"X10."));
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->offset, 14u);
  EXPECT_FALSE(searchDown(kProgram, 14 + 4, exact(u"X10.")));
  EXPECT_EQ(walk(kProgram, 0, u"X10.", true), (std::vector<std::size_t>{4, 14}));
  // Nothing selected: from the caret, so a hit right at the caret counts.
  EXPECT_EQ(searchDown(kProgram, 14, exact(u"X10."))->offset, 14u);
}

TEST(TextSearch, UpFromALineStartContinuesInTheLineAbove) {
  // Caret at the start of "M30" (24): the nearest X10. before it is on line 1.
  auto hit = searchUp(kProgram, 24, exact(u"X10."));
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->offset, 14u);
  EXPECT_EQ(hit->line, 1u);
  // From the start of line 1 (10) the line above.
  hit = searchUp(kProgram, 10, exact(u"X10."));
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->offset, 4u);
  EXPECT_EQ(hit->line, 0u);
  EXPECT_EQ(walk(kProgram, 27, u"X10.", false), (std::vector<std::size_t>{14, 4}));
}

TEST(TextSearch, UpMissesAStringThatOnlyFollowsTheCaret) {
  EXPECT_FALSE(searchUp(kProgram, 10, exact(u"M30")));
  EXPECT_FALSE(searchUp(kProgram, 0, exact(u"G00")));
  // The caret right after the start of an occurrence finds it.
  EXPECT_EQ(searchUp(kProgram, 25, exact(u"M30"))->offset, 24u);
}

TEST(TextSearch, UpFindsAnOccurrenceThatSpansTheCaret) {
  // Caret between "X1" and "0." of line 1 (offset 16).
  auto hit = searchUp(kProgram, 16, exact(u"X10."));
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->offset, 14u);
  EXPECT_EQ(hit->column, 4u);
}

TEST(TextSearch, MatchCaseDecidesWhetherX10FindsX10) {
  EXPECT_EQ(searchDown(kProgram, 0, anyCase(u"x10."))->offset, 4u);
  EXPECT_FALSE(searchDown(kProgram, 0, exact(u"x10.")));
  EXPECT_EQ(searchUp(kProgram, 27, anyCase(u"x10."))->offset, 14u);
  EXPECT_FALSE(searchUp(kProgram, 27, exact(u"x10.")));
  // Full-width letters fold as well; kana and kanji are themselves.
  const std::u16string_view text = u"(ｓｔｅｐ１ 荒加工)";
  EXPECT_EQ(searchDown(text, 0, anyCase(u"ＳＴＥＰ"))->offset, 1u);
  EXPECT_EQ(searchDown(text, 0, anyCase(u"荒加工"))->offset, 7u);
}

TEST(TextSearch, AStringNeverRunsOverALineEnd) {
  EXPECT_FALSE(searchDown(kProgram, 0, exact(u"X10.G01")));
  EXPECT_FALSE(searchUp(kProgram, 27, exact(u"X10.G01")));
  // Nor past the end of the text, nor an empty string.
  EXPECT_FALSE(searchDown(kProgram, 0, exact(u"M300")));
  EXPECT_FALSE(searchDown(kProgram, 0, exact(u"")));
  EXPECT_FALSE(searchUp(kProgram, 27, exact(u"")));
}

TEST(TextSearch, OffsetsOutsideTheTextOrInsideALineBreak) {
  // 9 lies between the CR and LF of line 0's break: the next line begins.
  EXPECT_EQ(searchDown(kProgram, 9, exact(u"G01"))->offset, 10u);
  EXPECT_EQ(searchUp(kProgram, 9, exact(u"X10."))->offset, 4u);
  EXPECT_FALSE(searchDown(kProgram, 1000, exact(u"M30")));
  EXPECT_EQ(searchUp(kProgram, 1000, exact(u"M30"))->offset, 24u);
  // Empty lines count their break too.
  EXPECT_EQ(searchDown(u"\n\nM30", 0, exact(u"M30"))->offset, 4u);
}

TEST(TextSearch, AStartGivenAsIndexAndLineWalksTheSame) {
  // The index of "G01 X10. Y5." is 9 in the text, its CR LF offset 10.
  for (std::size_t index = 0; index <= kProgram.size(); ++index) {
    std::size_t line = 0;
    for (std::size_t i = 0; i < index; ++i)
      line += kProgram[i] == u'\n' ? 1 : 0;
    const std::size_t offset = index + line;
    for (std::u16string_view p : {u"X10.", u"M30", u"G0", u"Y"}) {
      auto down = searchDown(kProgram, TextIndex{index, line}, exact(p));
      auto downByOffset = searchDown(kProgram, offset, exact(p));
      ASSERT_EQ(down.has_value(), downByOffset.has_value()) << index;
      if (down) {
        EXPECT_EQ(down->offset, downByOffset->offset);
        EXPECT_EQ(down->line, downByOffset->line);
        EXPECT_EQ(down->index + down->line, down->offset);
      }
      auto up = searchUp(kProgram, TextIndex{index, line}, exact(p));
      auto upByOffset = searchUp(kProgram, offset, exact(p));
      ASSERT_EQ(up.has_value(), upByOffset.has_value()) << index;
      if (up) {
        EXPECT_EQ(up->offset, upByOffset->offset);
        EXPECT_EQ(up->column, upByOffset->column);
      }
    }
  }
}
