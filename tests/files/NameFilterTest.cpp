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

TEST_F(FileListTest, TheFilterListsMatchingFoldersTooAndTheHeaderKeepsTheFolderAndMask) {
  for (const char* name : {"O12.NC", "O1234.TXT"})
    makeFile(dir.file(name), 10);
  makeFolder(dir.file("O12DIR.NC"));
  makeFolder(dir.file("O12DIR"));
  options.allFiles = "N";
  list.setSearchPattern(nameFilterPattern(dir.path(), "O12*", "*.NC"));
  refresh({.keepPattern = true});
  ASSERT_EQ(list.folderCount(), 1);
  EXPECT_EQ(list.folders()[0].name, "O12DIR.NC");
  ASSERT_EQ(list.files().size(), 1u);
  EXPECT_EQ(list.files()[0].name, "O12.NC");
  EXPECT_NE(view.header.find(" Path=" + dir.path() + "/*.NC"), std::string::npos);
  EXPECT_EQ(view.header.find("O12"), std::string::npos);
}

TEST_F(FileListTest, AFilterThatMatchesNothingListsTheWayUpOnly) {
  makeFile(dir.file("O1.NC"), 10);
  list.setSearchPattern(nameFilterPattern(dir.path(), "X9*", "*.NC"));
  refresh({.keepPattern = true});
  EXPECT_EQ(view.rows.size(), 1u);
  EXPECT_EQ(list.rowKind(0), RowKind::Parent);
  EXPECT_NE(view.header.find("ﾌｧｲﾙ数 :0"), std::string::npos);
}
