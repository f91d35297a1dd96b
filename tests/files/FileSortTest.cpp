// The comparator's table (size runs against name and date) and the name
// collation.

#include "files/FileSort.h"

#include <gtest/gtest.h>

namespace kestrovan::files {
namespace {

FileEntry entry(const std::string& name, std::uint64_t size, const std::string& date) {
  return {name, std::to_string(size), date, size};
}

std::vector<std::string> namesSortedBy(const char* key, const char* dir) {
  std::vector<FileEntry> files = {
      entry("b.NC", 300, "2024-01-02 10:00:00"),
      entry("A.NC", 5000000000, "2023-12-31 23:59:58"),
      entry("c.NC", 20, "2024-01-02 09:00:00"),
  };
  sortFileEntries(files, sortKeyFromSetting(key), sortDirectionFromSetting(dir));
  std::vector<std::string> names;
  for (const auto& f : files) names.push_back(f.name);
  return names;
}

using Names = std::vector<std::string>;

TEST(FileSort, EachKeyAndDirection) {
  EXPECT_EQ(namesSortedBy("N", "D"), (Names{"A.NC", "b.NC", "c.NC"}));
  EXPECT_EQ(namesSortedBy("N", "U"), (Names{"c.NC", "b.NC", "A.NC"}));
  // "D" puts the largest first; 5e9 bytes is larger than its low 32 bits say.
  EXPECT_EQ(namesSortedBy("S", "D"), (Names{"A.NC", "b.NC", "c.NC"}));
  EXPECT_EQ(namesSortedBy("S", "U"), (Names{"c.NC", "b.NC", "A.NC"}));
  EXPECT_EQ(namesSortedBy("T", "D"), (Names{"A.NC", "c.NC", "b.NC"}));
  EXPECT_EQ(namesSortedBy("T", "U"), (Names{"b.NC", "c.NC", "A.NC"}));
  // Unknown settings fall back to the defaults N and D.
  EXPECT_EQ(namesSortedBy("?", "x"), (Names{"A.NC", "b.NC", "c.NC"}));
}

TEST(FileSort, EqualKeysCompareEqualAndKeepTheirOrder) {
  const FileEntry a = entry("X.NC", 10, "2024-01-01 00:00:00");
  const FileEntry b = entry("Y.NC", 10, "2024-01-01 00:00:00");
  for (auto dir : {SortDirection::D, SortDirection::U}) {
    EXPECT_EQ(compareFileEntries(a, b, SortKey::Size, dir), 0);
    EXPECT_EQ(compareFileEntries(a, b, SortKey::Date, dir), 0);
  }
  std::vector<FileEntry> files = {b, a};
  sortFileEntries(files, SortKey::Size, SortDirection::D);
  EXPECT_EQ(files[0].name, "Y.NC");
}

TEST(FileSort, EmptyDateSortsAsOldest) {
  EXPECT_LT(compareFileEntries(entry("a", 1, ""), entry("b", 1, "1980-01-01 00:00:00"),
                               SortKey::Date, SortDirection::D),
            0);
}

TEST(CompareNames, LettersIgnoreCaseUntilEverythingElseIsEqual) {
  EXPECT_LT(compareNames("abc", "ABD"), 0);
  EXPECT_LT(compareNames("abc", "ABC"), 0);
  EXPECT_GT(compareNames("ABC", "abc"), 0);
  EXPECT_GT(compareNames("aBc", "abC"), 0); // the first difference in case decides
  EXPECT_EQ(compareNames("O1.NC", "O1.NC"), 0);
}

TEST(CompareNames, SymbolsBeforeDigitsBeforeLettersBeforeJapanese) {
  EXPECT_LT(compareNames("_x", "0x"), 0);
  EXPECT_LT(compareNames("~x", "0x"), 0);
  EXPECT_LT(compareNames("9", "a"), 0);
  EXPECT_LT(compareNames("z", "あ"), 0);
  EXPECT_LT(compareNames("O1", "O1.NC"), 0); // prefix first
  EXPECT_LT(compareNames("O10.NC", "O2.NC"), 0);
}

} // namespace
} // namespace kestrovan::files
