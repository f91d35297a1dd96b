// The comparator's table (size runs against name and date) and the name
// collation.

#include "files/FileSort.h"

#include <gtest/gtest.h>

namespace kestrovan::files {
namespace {

using Names = std::vector<std::string>;

Names namesSortedBy(const char* key, const char* dir) {
  std::vector<FileEntry> files = {
      {"b.NC", "300", "2024-01-02 10:00:00", 300},
      {"A.NC", "5000000000", "2023-12-31 23:59:58", 5000000000},
      {"c.NC", "20", "2024-01-02 09:00:00", 20},
  };
  sortFileEntries(files, sortKeyFromSetting(key), sortDirectionFromSetting(dir));
  Names names;
  for (const auto& f : files)
    names.push_back(f.name);
  return names;
}

TEST(FileSort, EachKeyAndDirection) {
  EXPECT_EQ(namesSortedBy("N", "D"), (Names{"A.NC", "b.NC", "c.NC"}));
  EXPECT_EQ(namesSortedBy("N", "U"), (Names{"c.NC", "b.NC", "A.NC"}));
  // "D" puts the largest first; 5e9 bytes is larger than its low 32 bits say.
  EXPECT_EQ(namesSortedBy("S", "D"), (Names{"A.NC", "b.NC", "c.NC"}));
  EXPECT_EQ(namesSortedBy("S", "U"), (Names{"c.NC", "b.NC", "A.NC"}));
  EXPECT_EQ(namesSortedBy("T", "D"), (Names{"A.NC", "c.NC", "b.NC"}));
  EXPECT_EQ(namesSortedBy("T", "U"), (Names{"b.NC", "c.NC", "A.NC"}));
  EXPECT_EQ(namesSortedBy("?", "x"), (Names{"A.NC", "b.NC", "c.NC"})); // defaults N-D
}

TEST(FileSort, EqualKeysCompareEqualAndKeepTheirOrder) {
  std::vector<FileEntry> files = {{"Y.NC", "10", "2024-01-01 00:00:00", 10},
                                  {"X.NC", "10", "2024-01-01 00:00:00", 10}};
  EXPECT_EQ(compareFileEntries(files[0], files[1], SortKey::Size, SortDirection::U), 0);
  EXPECT_EQ(compareFileEntries(files[0], files[1], SortKey::Date, SortDirection::D), 0);
  sortFileEntries(files, SortKey::Size, SortDirection::D);
  EXPECT_EQ(files[0].name, "Y.NC");
}

TEST(CompareNames, CaseOnlyBreaksTiesAndSymbolsDigitsLettersJapaneseInThatOrder) {
  EXPECT_LT(compareNames("abc", "ABD"), 0);
  EXPECT_LT(compareNames("abc", "ABC"), 0);
  EXPECT_GT(compareNames("aBc", "abC"), 0); // the first difference in case decides
  EXPECT_LT(compareNames("_x", "0x"), 0);
  EXPECT_LT(compareNames("9", "a"), 0);
  EXPECT_LT(compareNames("z", "あ"), 0);
  EXPECT_LT(compareNames("O1", "O1.NC"), 0);
  EXPECT_LT(compareNames("", "1980-01-01 00:00:00"), 0); // no date sorts as oldest
}

} // namespace
} // namespace kestrovan::files
