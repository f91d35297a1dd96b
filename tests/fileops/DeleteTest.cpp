// Delete into the desktop's trash, on real files; a trash that cannot take
// an entry never leads to a removal for good without the operator's Yes.

#include "FileSystems.h"
#include "files/DeleteEntries.h"
#include "platform/DirectoryEnum.h"
#include "support/FakeDialogs.h"
#include "support/RefusingVolume.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/mount.h>
#include <sys/stat.h>

using namespace kestrovan;
using base::MessageAnswer;
using test::readFile;
using test::writeFile;

namespace {

// Points the home trash at a temporary folder for the test.
struct OwnTrash {
  test::TempDir home;
  std::string old;
  bool had = false;
  OwnTrash() {
    if (const char* v = std::getenv("XDG_DATA_HOME")) {
      had = true;
      old = v;
    }
    setenv("XDG_DATA_HOME", home.path().c_str(), 1);
  }
  ~OwnTrash() {
    if (had)
      setenv("XDG_DATA_HOME", old.c_str(), 1);
    else
      unsetenv("XDG_DATA_HOME");
  }
  std::string file(const std::string& name) const { return home.file("Trash/files/" + name); }
  std::string info(const std::string& name) const { return home.file("Trash/info/" + name + ".trashinfo"); }
};

// A trash that takes nothing, as on a file system without a trash folder.
struct NoTrash : files::Trash {
  files::SystemTrash real;
  platform::TrashResult moveToTrash(const std::string&) override {
    return {platform::TrashEnd::NoTrash, EXDEV};
  }
  int removeForGood(const std::string& path) override { return real.removeForGood(path); }
};

} // namespace

TEST(Delete, AFileGoesToTheTrashWithItsTrashInfoAndAFolderWithItsContents) {
  OwnTrash trash;
  test::TempDir data;
  writeFile(data.file("O 1#.NC"), "%\r\nO1\r\n%\r\n");
  mkdir(data.file("OLD").c_str(), 0755);
  writeFile(data.file("OLD/O2.NC"), "two");
  test::FakeDialogs dialogs;
  dialogs.answers = {MessageAnswer::Yes};
  files::SystemTrash system;
  EXPECT_EQ(files::DeleteEntries({data.file("O 1#.NC")}, false, dialogs, system), files::DeleteEnd::Done);
  EXPECT_EQ(dialogs.shown.at(0).text, "O 1#.NC をごみ箱に移しますか？");
  EXPECT_FALSE(test::fileExists(data.file("O 1#.NC")));
  EXPECT_EQ(readFile(trash.file("O 1#.NC")), "%\r\nO1\r\n%\r\n");
  const std::string info = readFile(trash.info("O 1#.NC"));
  EXPECT_EQ(info.substr(0, info.find("DeletionDate=")),
            "[Trash Info]\nPath=" + data.path() + "/O%201%23.NC\n");
  EXPECT_EQ(info.size() - info.find("DeletionDate="),
            std::string("DeletionDate=2024-01-01T00:00:00\n").size());

  // The same name again is kept beside the first; a folder goes whole.
  writeFile(data.file("O 1#.NC"), "again");
  dialogs.answers = {MessageAnswer::Yes, MessageAnswer::Yes};
  EXPECT_EQ(files::DeleteEntries({data.file("O 1#.NC")}, false, dialogs, system), files::DeleteEnd::Done);
  EXPECT_EQ(readFile(trash.file("O 1#.NC.2")), "again");
  EXPECT_TRUE(test::fileExists(trash.info("O 1#.NC.2")));
  EXPECT_EQ(files::DeleteEntries({data.file("OLD")}, true, dialogs, system), files::DeleteEnd::Done);
  EXPECT_EQ(dialogs.shown.back().text, "フォルダー OLD を中身ごとごみ箱に移しますか？");
  EXPECT_EQ(readFile(trash.file("OLD/O2.NC")), "two");
}

TEST(Delete, NoToTheConfirmationChangesNothing) {
  OwnTrash trash;
  test::TempDir data;
  writeFile(data.file("A.NC"), "a");
  writeFile(data.file("B.NC"), "b");
  test::FakeDialogs dialogs; // answers No
  files::SystemTrash system;
  EXPECT_EQ(files::DeleteEntries({data.file("A.NC"), data.file("B.NC")}, false, dialogs, system),
            files::DeleteEnd::Cancelled);
  EXPECT_EQ(dialogs.shown.at(0).text, "2 個のファイルをごみ箱に移しますか？");
  EXPECT_EQ(readFile(data.file("A.NC")), "a");
  EXPECT_FALSE(test::fileExists(trash.home.file("Trash/files/A.NC")));
}

TEST(Delete, WhatTheTrashCannotTakeIsRemovedForGoodOnlyOnYes) {
  test::TempDir data;
  writeFile(data.file("A.NC"), "a");
  writeFile(data.file("B.NC"), "b");
  test::FakeDialogs dialogs;
  dialogs.answers = {MessageAnswer::Yes, MessageAnswer::No, MessageAnswer::Yes};
  NoTrash trash;
  EXPECT_EQ(files::DeleteEntries({data.file("A.NC"), data.file("B.NC")}, false, dialogs, trash),
            files::DeleteEnd::Done);
  ASSERT_EQ(dialogs.shown.size(), 3u);
  EXPECT_EQ(dialogs.shown[1].text,
            data.file("A.NC") + " はごみ箱に移せません。\n完全に削除しますか？（元に戻せません）");
  EXPECT_EQ(readFile(data.file("A.NC")), "a"); // No: kept
  EXPECT_FALSE(test::fileExists(data.file("B.NC")));
}

TEST(Delete, AFileSystemWithoutAUsableTrashFolderAsksBeforeRemovingForGood) {
  OwnTrash trash;
  test::TempDir volume;
  if (!test::mountSmallTmpfs(volume.path(), 64 << 10)) GTEST_SKIP() << "no mount namespace here";
  writeFile(volume.file("O1.NC"), "one");
  // The place of its trash folder is taken by a file: no trash there.
  writeFile(volume.file(".Trash-" + std::to_string(getuid())), "");
  test::FakeDialogs dialogs;
  dialogs.answers = {MessageAnswer::Yes, MessageAnswer::No};
  files::SystemTrash system;
  EXPECT_EQ(files::DeleteEntries({volume.file("O1.NC")}, false, dialogs, system), files::DeleteEnd::Done);
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_NE(dialogs.shown[1].text.find("ごみ箱に移せません"), std::string::npos);
  EXPECT_EQ(readFile(volume.file("O1.NC")), "one");
  // With the trash folder free, the volume's own trash takes it.
  unlink(volume.file(".Trash-" + std::to_string(getuid())).c_str());
  dialogs.answers = {MessageAnswer::Yes};
  EXPECT_EQ(files::DeleteEntries({volume.file("O1.NC")}, false, dialogs, system), files::DeleteEnd::Done);
  const std::string own = volume.file(".Trash-" + std::to_string(getuid()));
  EXPECT_EQ(readFile(own + "/files/O1.NC"), "one");
  EXPECT_EQ(readFile(own + "/info/O1.NC.trashinfo").substr(0, 24), "[Trash Info]\nPath=O1.NC\n");
  umount(volume.path().c_str());
}

TEST(Delete, AnEntryThatCannotGoLeavesNoTrashFolderBehind) {
  OwnTrash trash;
  test::TempDir volume;
  if (!test::mountSmallTmpfs(volume.path(), 64 << 10)) GTEST_SKIP() << "no mount namespace here";
  mkdir(volume.file("SUB").c_str(), 0755);
  writeFile(volume.file("SUB/O1.NC"), "one");
  test::ReadOnlyFolder readOnly(volume.file("SUB"));
  if (!readOnly.ok()) GTEST_SKIP() << "cannot make a read-only folder here";
  test::FakeDialogs dialogs;
  dialogs.answers = {MessageAnswer::Yes};
  files::SystemTrash system;
  EXPECT_EQ(files::DeleteEntries({volume.file("SUB/O1.NC")}, false, dialogs, system),
            files::DeleteEnd::Failed);
  EXPECT_EQ(readFile(volume.file("SUB/O1.NC")), "one");
  // Neither the volume's trash nor the home trash (on another file system)
  // was made for it.
  EXPECT_EQ(platform::listNames(volume.path()), std::vector<std::string>{"SUB"});
  EXPECT_FALSE(test::fileExists(trash.home.file("Trash")));
  umount(volume.path().c_str());
}

TEST(Delete, NamesOfUpTo255BytesGoToTheTrashTheirInfoKeepingTheWholeName) {
  OwnTrash trash;
  test::TempDir data;
  std::string longest;
  for (int i = 0; i < 85; ++i)
    longest += "あ";                                             // 255 bytes
  const std::string ascii = "O" + std::string(245, '1') + ".NC"; // 249 bytes
  for (const std::string& name : {longest, ascii, longest})
    writeFile(data.file(name), name.substr(0, 3));
  test::FakeDialogs dialogs;
  files::SystemTrash system;
  for (const std::string& name : {longest, ascii, longest}) {
    if (name == longest && !test::fileExists(data.file(name))) writeFile(data.file(name), "again");
    dialogs.answers = {MessageAnswer::Yes};
    EXPECT_EQ(files::DeleteEntries({data.file(name)}, false, dialogs, system), files::DeleteEnd::Done)
        << dialogs.shown.back().text;
  }
  EXPECT_TRUE(platform::listNames(data.path()).empty());
  // Stored under the name cut to leave room for ".trashinfo", whole
  // characters only, and ".2" for the second one.
  std::string cut;
  for (int i = 0; i < 81; ++i)
    cut += "あ"; // 243 bytes: 245 would split a character
  const std::string asciiCut = ascii.substr(0, 245);
  EXPECT_EQ(readFile(trash.file(cut)), longest.substr(0, 3));
  EXPECT_EQ(readFile(trash.file(cut + ".2")), "again");
  EXPECT_EQ(readFile(trash.file(asciiCut)), "O11");
  std::string encoded;
  for (int i = 0; i < 85; ++i)
    encoded += "%E3%81%82";
  EXPECT_EQ(readFile(trash.info(cut)).substr(0, 18 + data.path().size() + 1 + encoded.size() + 1),
            "[Trash Info]\nPath=" + data.path() + "/" + encoded + "\n");
  EXPECT_EQ(readFile(trash.info(asciiCut)).substr(0, 18 + data.path().size() + 1 + ascii.size() + 1),
            "[Trash Info]\nPath=" + data.path() + "/" + ascii + "\n");
}

TEST(RefusingVolume, FilesAndFoldersGoToTheHomeTrashAndToTheVolumesOwn) {
  KESTROVAN_ON_REFUSING_VOLUME();
  OwnTrash trash;
  test::TempDir data;
  writeFile(data.file("O1.NC"), "one");
  mkdir(data.file("OLD").c_str(), 0755);
  writeFile(data.file("OLD/O2.NC"), "two");
  test::FakeDialogs dialogs;
  dialogs.answers = {MessageAnswer::Yes, MessageAnswer::Yes};
  files::SystemTrash system;
  EXPECT_EQ(files::DeleteEntries({data.file("O1.NC")}, false, dialogs, system), files::DeleteEnd::Done);
  EXPECT_EQ(files::DeleteEntries({data.file("OLD")}, true, dialogs, system), files::DeleteEnd::Done);
  ASSERT_EQ(dialogs.shown.size(), 2u) << dialogs.shown.back().text;
  EXPECT_EQ(readFile(trash.file("O1.NC")), "one");
  EXPECT_EQ(readFile(trash.file("OLD/O2.NC")), "two");
  EXPECT_TRUE(platform::listNames(data.path()).empty());

  test::TempDir volume;
  if (!test::mountSmallTmpfs(volume.path(), 64 << 10)) GTEST_SKIP() << "no mount namespace here";
  writeFile(volume.file("O3.NC"), "three");
  dialogs.answers = {MessageAnswer::Yes};
  dialogs.shown.clear();
  EXPECT_EQ(files::DeleteEntries({volume.file("O3.NC")}, false, dialogs, system), files::DeleteEnd::Done);
  ASSERT_EQ(dialogs.shown.size(), 1u) << dialogs.shown.back().text;
  EXPECT_EQ(readFile(volume.file(".Trash-" + std::to_string(getuid()) + "/files/O3.NC")), "three");
  umount(volume.path().c_str());
}
