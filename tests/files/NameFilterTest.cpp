// The name filter's pattern and refused characters, and the listing it gives.
#include "files/NameFilter.h"

#include "FileListFixture.h"

using namespace kestrovan::files;
using namespace kestrovan::files::test;

TEST(NameFilter, ANameEndingInAStarTakesTheMasksWildcard) {
  EXPECT_EQ(nameFilterPattern("/data/nc", "O12*", "*.NC"), "/data/nc/O12*.NC");
  EXPECT_EQ(nameFilterPattern("/data/nc/", "O12*", "*.NC"), "/data/nc/O12*.NC");
  EXPECT_EQ(nameFilterPattern("/data/nc", "O12*", "*.*"), "/data/nc/O12*.*");
  EXPECT_EQ(nameFilterPattern("/data/nc", "*", "*.NC"), "/data/nc/*.NC");
  EXPECT_EQ(nameFilterPattern("/data/nc", "O1*34", "*.NC"), "/data/nc/O1*34");
  EXPECT_EQ(nameFilterPattern("/", "O12*", "*.NC"), "/O12*.NC");
  // The search never leaves the folder, whatever the mask holds.
  EXPECT_EQ(nameFilterPattern("/data/nc", "O12*", "*/../x"), "/data/nc/O12*..x");
}

TEST(NameFilter, RefusesTheCharactersOfTheFieldAndTakesTheStar) {
  for (const char* text : {"a/b", "a:b", "a,b", "a;b", "a?b", "a<b", "a>b", "a|b", "O12.NC"})
    EXPECT_TRUE(nameFilterRefuses(text)) << text;
  for (const char* text : {"O12*", "*", "加工*", "a\\b", ""})
    EXPECT_FALSE(nameFilterRefuses(text)) << text;
}

TEST_F(FileListTest, TheFilterListsMatchingNamesUnderTheMaskWhateverAllFilesSaysUntilTheNextRefresh) {
  for (const char* name : {"O1234.NC", "O12.NC", "O1234.TXT", "O2000.NC", "o129.nc"})
    makeFile(dir.file(name), 10);
  makeFolder(dir.file("O12DIR"));
  options.listColumn = 5;
  options.op4 = "Y";
  for (const char* allFiles : {"Y", "N"}) {
    options.allFiles = allFiles;
    list.setSearchPattern(nameFilterPattern(dir.path(), "O12*", "*.NC"));
    refresh({.keepPattern = true});
    std::vector<std::string> names;
    for (const FileEntry& f : list.files())
      names.push_back(f.name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"O12.NC", "O1234.NC", "o129.nc"})) << allFiles;
    EXPECT_EQ(list.folderCount(), 0) << allFiles; // O12DIR does not match O12*.NC
    // The header keeps the folder and mask, not the filter.
    EXPECT_NE(view.header.find(" Path=" + dir.path()), std::string::npos);
    EXPECT_EQ(view.header.find("O12*"), std::string::npos);

    refresh({.keepSelection = true});
    EXPECT_EQ(list.files().size(), allFiles == std::string("Y") ? 5u : 4u) << allFiles;
    EXPECT_EQ(list.folderCount(), 1);
  }
}

TEST_F(FileListTest, AFilterThatMatchesNothingListsTheWayUpOnly) {
  makeFile(dir.file("O1.NC"), 10);
  list.setSearchPattern(nameFilterPattern(dir.path(), "X9*", "*.NC"));
  refresh({.keepPattern = true});
  EXPECT_EQ(view.rows.size(), 1u);
  EXPECT_EQ(list.rowKind(0), RowKind::Parent);
  EXPECT_NE(view.header.find("ﾌｧｲﾙ数 :0"), std::string::npos);
}
