// Reading, redrawing and re-selecting: what the list shows after each kind
// of refresh, on real folders.

#include "FileListFixture.h"

#include "platform/DirectoryEnum.h"

#include <filesystem>

namespace kestrovan::files::test {
namespace {

const std::string kCount = "     ﾌｧｲﾙ数 :";
const std::string kUpInfo = "　  一つ上のﾌｫﾙﾀﾞに移動(Enter)";

std::string paddedPath(const std::string& text) { return text + spaces(67 - text.size()); }

class RefreshTest : public FileListTest {
protected:
  int rowOf(const std::string& name) const {
    for (int r = 0; r < static_cast<int>(view.rows.size()); ++r)
      if (const FileEntry* e = list.entryAt(r); e && e->name == name) return r;
    return -1;
  }
};

TEST_F(RefreshTest, HeaderCountsEntriesAndInfoLineDescribesEachKindOfRow) {
  makeFolder(dir.file("SUB"));
  makeFile(dir.file("O1234.NC"), 1234);
  makeFile(dir.file("O9.NC"), 123456789);
  refresh();
  EXPECT_EQ(view.searchingRowsSeen, std::vector<std::string>{" ﾌｧｲﾙ検索中!!"});
  EXPECT_EQ(view.header, paddedPath(" Path=" + dir.path() + "/*.*") + kCount + "3");
  EXPECT_EQ(view.selected, 0);
  EXPECT_EQ(view.info, kUpInfo);
  list.showEntryInfo(1);
  EXPECT_EQ(view.info, "　  ﾌｫﾙﾀﾞ詳細:<DIR>SUB  日付 :2023-01-02 03:04:05");
  list.showEntryInfo(2);
  // File times come in two-second steps: 07:08:09 shows as 07:08:08.
  EXPECT_EQ(view.info, "　　ﾌｧｲﾙ詳細 :O1234.NC  ｻｲｽﾞ :1.205KB  日付 :2024-05-06 07:08:08");
  list.showEntryInfo(3);
  EXPECT_EQ(view.info, "　　ﾌｧｲﾙ詳細 :O9.NC  ｻｲｽﾞ :117.738MB  日付 :2024-05-06 07:08:08");
  EXPECT_EQ(view.rows[3].substr(0, 22), " O9      .NC  ********");
}

TEST_F(RefreshTest, MaskComparesExtensionsInUpperCase) {
  for (const char* name : {"a.nc", "B.NC", "c.nc1", "README", "d.NC.bak", ".nc", ".profile"})
    makeFile(dir.file(name), 1);
  options.allFiles = "N";
  options.mask = "*.nc";
  refresh();
  // The extension runs from the last dot, also when that is the first character.
  std::vector<std::string> names;
  for (const FileEntry& f : list.files())
    names.push_back(f.name);
  EXPECT_EQ(names, (std::vector<std::string>{".nc", "a.nc", "B.NC"}));
  EXPECT_EQ(view.header, paddedPath(" Path=" + dir.path() + "/*.nc") + kCount + "3");
  options.mask = "*.PROFILE";
  refresh();
  ASSERT_EQ(list.files().size(), 1u);
  EXPECT_EQ(list.files()[0].name, ".profile");
}

TEST_F(RefreshTest, AVolumesTrashFoldersAndWorkingCopiesAreNeverListed) {
  makeFolder(dir.file("SUB"));
  makeFolder(dir.file(".Trash-0"));
  makeFolder(dir.file(".Trash"));
  makeFile(dir.file("O1.NC"), 1);
  makeFile(dir.file(".O1.NC.~kvAb12Cd"), 1); // a copy under way, or left by a killed run
  makeFile(dir.file(".~kv123456"), 1);       // a working name needs a target name: a file of its own
  refresh();
  std::vector<std::string> names;
  for (const FileEntry& f : list.folders())
    names.push_back(f.name);
  for (const FileEntry& f : list.files())
    names.push_back(f.name);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{".~kv123456", "O1.NC", "SUB"}));
  EXPECT_EQ(view.header, paddedPath(" Path=" + dir.path() + "/*.*") + kCount + "3");
}

TEST_F(RefreshTest, TheWaitCursorIsTakenBackExactlyAsOftenAsItIsShown) {
  makeFile(dir.file("O1.NC"), 1);
  refresh();
  EXPECT_EQ(view.waitDepth, 0);
  refresh({.keepSelection = true, .resortOnly = true});
  list.setBusy(true);
  refresh();
  list.setBusy(false);
  options.dirPath = dir.file("gone");
  refresh();
  options.dirPath = dir.path();
  list.setSearchPattern(dir.file("*.TXT"));
  refresh({.keepPattern = true});
  EXPECT_EQ(view.waitDepth, 0);
  EXPECT_EQ(view.lowestWaitDepth, 0);
}

TEST_F(RefreshTest, FolderThatCannotBeReadListsOnlyTheWayUp) {
  options.dirPath = dir.file("gone");
  for (int columns : {1, 2, 3, 4, 5}) {
    options.listColumn = columns;
    refresh();
    EXPECT_EQ(view.rows, std::vector<std::string>{columns >= 4 ? " .." : " ..              <DIR>"});
  }
  EXPECT_EQ(view.header, paddedPath(" Path=" + dir.file("gone") + "/*.*") + kCount + "0");
  EXPECT_EQ(view.info, "");
  EXPECT_EQ(view.selected, 0);
  EXPECT_GT(view.focusCalls, 0);

  // An empty folder, by contrast, is read: the way up has its date and info.
  setTime(dir.path(), kListedDirTime);
  options.dirPath = dir.path();
  options.listColumn = 2;
  refresh();
  EXPECT_EQ(view.rows, std::vector<std::string>{" ..              <DIR> 22-12-31 23:59"});
  EXPECT_EQ(view.info, kUpInfo);
}

TEST_F(RefreshTest, NameFilterPatternIsKeptOnlyWhenAsked) {
  makeFile(dir.file("O100.NC"), 1);
  makeFile(dir.file("O200.NC"), 1);
  list.setSearchPattern(dir.path() + "/O1*");
  refresh({.keepPattern = true});
  ASSERT_EQ(list.files().size(), 1u);
  EXPECT_EQ(list.files()[0].name, "O100.NC");
  list.setSearchPattern(dir.path() + "/*XYZ*");
  refresh({.keepPattern = true});
  EXPECT_EQ(view.rows, std::vector<std::string>{" ..              <DIR>"});
  refresh();
  EXPECT_EQ(list.files().size(), 2u);
}

TEST_F(RefreshTest, ActivatingParentAndFolderRowsNamesTheFolderToEnter) {
  makeFolder(dir.file("SUB"));
  refresh();
  view.selected = 1;
  const Activation in = list.activateSelected();
  EXPECT_EQ(in.kind, Activation::Kind::EnterFolder);
  EXPECT_EQ(in.folder, dir.file("SUB"));

  // The root has no ".." row; a folder right below it leads back to it.
  options.dirPath = "/";
  options.listColumn = 4;
  refresh();
  EXPECT_EQ(list.parentRowCount(), 0);
  EXPECT_EQ(view.header.substr(0, 11), " Path=/*.* ");
  options.dirPath = "/usr";
  refresh();
  ASSERT_EQ(view.rows[0], " ..");
  EXPECT_EQ(list.activateSelected().folder, "/");
}

TEST_F(RefreshTest, KeepSelectionFindsTheFirstOrALaterFileAgain) {
  makeFolder(dir.file("SUB"));
  for (const char* name : {"A.NC", "B.NC", "C.NC"})
    makeFile(dir.file(name), 1);
  refresh();
  for (const char* name : {"A.NC", "C.NC"}) {
    view.selected = rowOf(name);
    makeFile(dir.file(std::string("0") + name), 1); // a new first file shifts the rows
    refresh({.keepSelection = true});
    EXPECT_EQ(view.selected, rowOf(name)) << name;
  }
}

TEST_F(RefreshTest, KeepSelectionAfterTheFileWasDeletedSelectsRowZero) {
  for (const char* name : {"A.NC", "B.NC"})
    makeFile(dir.file(name), 1);
  refresh();
  view.selected = rowOf("B.NC");
  std::filesystem::remove(dir.file("B.NC"));
  refresh({.keepSelection = true});
  EXPECT_EQ(view.selected, 0);
}

TEST_F(RefreshTest, RefreshWhileBusyChangesNothingButResortStillWorks) {
  makeFile(dir.file("A.NC"), 1);
  makeFile(dir.file("B.NC"), 2);
  refresh();
  list.toggleMark(1);
  const auto rowsBefore = view.rows;
  const int calls = view.setRowsCalls;
  list.setBusy(true);
  makeFile(dir.file("C.NC"), 3);
  refresh({.keepSelection = true});
  EXPECT_EQ(view.rows, rowsBefore);
  EXPECT_EQ(view.setRowsCalls, calls);
  EXPECT_EQ(list.marks().count(), 1);

  options.fileSort = "S";
  refresh({.keepSelection = true, .resortOnly = true});
  EXPECT_EQ(list.files().size(), 2u);
  EXPECT_EQ(list.files()[0].name, "B.NC");
}

TEST_F(RefreshTest, ResortKeepsTheSelectedFileWithoutReadingTheFolder) {
  makeFile(dir.file("A.NC"), 300);
  makeFile(dir.file("B.NC"), 100);
  makeFile(dir.file("C.NC"), 200);
  refresh();
  view.selected = rowOf("C.NC");
  makeFile(dir.file("D.NC"), 1);
  options.fileSort = "S";
  options.sortMuki = "U";
  refresh({.keepSelection = true, .resortOnly = true});
  EXPECT_EQ(list.files().size(), 3u);
  EXPECT_EQ(list.files()[0].name, "B.NC");
  EXPECT_EQ(view.selected, 2);
  EXPECT_EQ(rowOf("C.NC"), 2);
}

TEST_F(RefreshTest, FileDatesBefore1980StayEmpty) {
  makeFile(dir.file("OLD.NC"), 1, 157766400); // 1975-01-01
  makeFolder(dir.file("OLDDIR"), 157766400);
  refresh();
  EXPECT_EQ(list.folders()[0].dateText, "1975-01-01 00:00:00");
  EXPECT_EQ(view.rows[2], " OLD     .NC         1" + spaces(22));
}

TEST_F(RefreshTest, FilesOfFourGibibytesAndMoreSortAndShowTheirFullSize) {
  makeFile(dir.file("BIG.NC"), (std::uint64_t{1} << 32) + 10); // low 32 bits: 10
  makeFile(dir.file("SMALL.NC"), 1000);
  options.fileSort = "S";
  refresh();
  EXPECT_EQ(list.files()[0].name, "BIG.NC");
  EXPECT_EQ(view.rows[1].substr(0, 22), " BIG     .NC  ********");
  list.showEntryInfo(1);
  EXPECT_EQ(view.info, "　　ﾌｧｲﾙ詳細 :BIG.NC  ｻｲｽﾞ :4096.000MB  日付 :2024-05-06 07:08:08");
  options.sortMuki = "U";
  refresh({.resortOnly = true});
  EXPECT_EQ(list.files()[0].name, "SMALL.NC");
}

TEST_F(RefreshTest, FolderRowsKeepEnumerationOrderUnderEverySort) {
  for (const char* name : {"zeta", "Alpha", "mid", "0first", "beta"})
    makeFolder(dir.file(name));
  makeFile(dir.file("B.NC"), 5);
  makeFile(dir.file("A.NC"), 7);
  std::vector<std::string> enumerated;
  for (const auto& e : platform::listDirectory(dir.path()))
    if (e.isFolder) enumerated.push_back(e.name);
  for (const char* key : {"N", "S", "T"})
    for (const char* dirn : {"D", "U"}) {
      options.fileSort = key;
      options.sortMuki = dirn;
      refresh();
      std::vector<std::string> shown;
      for (int r = 1; r <= list.folderCount(); ++r)
        shown.push_back(list.entryAt(r)->name);
      EXPECT_EQ(shown, enumerated) << key << "-" << dirn;
    }
}

} // namespace
} // namespace kestrovan::files::test
