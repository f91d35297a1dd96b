// The folder prompt's folder, folder creation with every missing level, the
// drive menu's roots from a mount table.

#include "files/FolderChange.h"
#include "platform/Drives.h"
#include "platform/Paths.h"
#include "support/FakeDialogs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace kestrovan;
using base::MessageAnswer;
using platform::DriveKind;

TEST(FolderPrompt, AMissingPathIsCreatedLevelByLevelOnYesAndATrailingSlashIsDropped) {
  test::TempDir d;
  mkdir(d.file("a").c_str(), 0755);
  test::FakeDialogs dialogs;
  dialogs.answers = {MessageAnswer::Yes};
  EXPECT_EQ(files::enterFolder(d.file("a/b/c/"), d.path(), dialogs), d.file("a/b/c"));
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, "ディレクトリが有りません。\n" + d.file("a/b/c") + "を作成しますか？");
  EXPECT_TRUE(platform::isDirectory(d.file("a/b")));
  EXPECT_TRUE(platform::isDirectory(d.file("a/b/c")));
  // An existing folder, typed with its "/": no question.
  dialogs.shown.clear();
  EXPECT_EQ(files::enterFolder(d.file("a/"), d.path(), dialogs), d.file("a"));
  EXPECT_TRUE(dialogs.shown.empty());
  // No: nothing made, the folder stays.
  EXPECT_EQ(files::enterFolder(d.file("x/y"), d.path(), dialogs), d.path());
  EXPECT_FALSE(platform::pathExists(d.file("x")));
  // A relative name is a folder of the data folder.
  dialogs.answers = {MessageAnswer::Yes};
  EXPECT_EQ(files::enterFolder("O1000", d.file("a"), dialogs), d.file("a/O1000"));
  EXPECT_TRUE(platform::isDirectory(d.file("a/O1000")));
}

TEST(FolderPrompt, ACreationThatFailsIsToldAndTheFolderStays) {
  test::TempDir d;
  test::writeFile(d.file("file"), "x");
  test::FakeDialogs dialogs;
  dialogs.answers = {MessageAnswer::Yes};
  EXPECT_EQ(files::enterFolder(d.file("file/sub"), d.path(), dialogs), d.path());
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[1].text, "ディレクトリを作成できませんでした。\n" + d.file("file/sub"));
  EXPECT_FALSE(files::CreateFolderPath("/"));
  EXPECT_TRUE(files::CreateFolderPath(d.file("p/q/r")));
}

TEST(DriveRoots, RootHomeAndMountedVolumesEachWithItsKind) {
  const std::string table = "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
                            "23 22 0:5 / /proc rw - proc proc rw\n"
                            "24 22 8:2 / /home rw shared:2 - xfs /dev/sda2 rw\n"
                            "30 22 8:17 / /media/op/USB\\040STICK rw shared:3 - vfat /dev/sdb1 rw\n"
                            "31 22 11:0 / /media/op/DISC ro - iso9660 /dev/sr0 ro\n"
                            "32 22 0:40 / /mnt/share rw - cifs //server/nc rw\n"
                            "33 22 0:41 / /mnt/ram rw - tmpfs tmpfs rw\n"
                            "34 22 0:42 / /mnt/share rw - nfs4 server:/nc rw\n"
                            "35 22 0:43 / /mnt/cg rw - cgroup2 cgroup2 rw\n"
                            "36 22 8:33 / /run/media/op/BACKUP rw - ext4 /dev/sdc1 rw\n";
  const std::vector<platform::MountEntry> mounts = platform::parseMountInfo(table);
  ASSERT_EQ(mounts.size(), 10u);
  EXPECT_EQ(mounts[3].mountPoint, "/media/op/USB STICK");
  const std::vector<platform::DriveRoot> roots =
      platform::driveRoots(mounts, "/home/op", [](const std::string& dev) { return dev == "/dev/sdb1"; });
  ASSERT_EQ(roots.size(), 7u);
  const std::vector<std::pair<std::string, DriveKind>> expected = {
      {"/", DriveKind::Fixed},
      {"/home/op", DriveKind::Fixed},
      {"/media/op/USB STICK", DriveKind::Removable},
      {"/media/op/DISC", DriveKind::CdRom},
      {"/mnt/ram", DriveKind::RamDisk},
      {"/mnt/share", DriveKind::Network}, // mounted over again: once, as its last mount
      {"/run/media/op/BACKUP", DriveKind::Fixed}};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(roots[i].path, expected[i].first) << i;
    EXPECT_EQ(roots[i].kind, expected[i].second) << i;
  }
  // This machine's own table has at least the root and the home folder.
  const std::vector<platform::DriveRoot> here = platform::readDriveRoots("/root");
  ASSERT_GE(here.size(), 2u);
  EXPECT_EQ(here[0].path, "/");
}
