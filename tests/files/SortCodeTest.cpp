// The sort box: the codes it takes and the characters it lets in.

#include "files/SortCode.h"

#include <gtest/gtest.h>

using namespace kestrovan::files;

TEST(SortCodes, OnlyTheSixCodesInEitherCase) {
  auto c = parseSortCode("n-d");
  ASSERT_TRUE(c);
  EXPECT_EQ(c->fileSort, "N");
  EXPECT_EQ(c->sortMuki, "D");
  EXPECT_EQ(parseSortCode("T-U")->sortMuki, "U");
  for (const char* bad : {"N-", "ND", "", "X-D", "N-DD", "N_D"})
    EXPECT_FALSE(parseSortCode(bad)) << bad;
}

TEST(SortCodes, TheBoxTakesTheCodeLettersUpToThreeCharacters) {
  EXPECT_EQ(sortBoxTakes("", 0, "n"), std::optional<std::string>("N"));
  EXPECT_EQ(sortBoxTakes("N", 0, "-"), std::optional<std::string>("-"));
  EXPECT_EQ(sortBoxTakes("N-", 0, "u"), std::optional<std::string>("U"));
  EXPECT_FALSE(sortBoxTakes("N-D", 0, "D"));                               // full
  EXPECT_EQ(sortBoxTakes("N-D", 3, "s"), std::optional<std::string>("S")); // the selection is replaced
  for (const char* bad : {"X", "1", " ", "ND", "", "ｎ"})
    EXPECT_FALSE(sortBoxTakes("", 0, bad)) << bad;
}
