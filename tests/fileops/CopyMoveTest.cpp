// Copying and moving files and folders on real files in temporary folders:
// byte-exact results, what is left after a refusal, a stop or a failure.

#include "files/CopyMove.h"
#include "FakeCopyScreen.h"
#include "FileSystems.h"
#include "files/Leftovers.h"
#include "platform/DirectoryEnum.h"
#include "platform/FileCopy.h"
#include "platform/StagedFile.h"
#include "platform/WorkingCopy.h"
#include "support/FakeDialogs.h"
#include "support/RefusingVolume.h"
#include "support/TempDir.h"

#include <ctime>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kestrovan;
using files::CopyMoveEnd;
using files::OverwriteAnswer;
using files::TransferMode;
using test::readFile;
using test::writeFile;

namespace {

std::string bytes(std::size_t n, char seed = 'a') {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i)
    s[i] = static_cast<char>(seed + static_cast<char>(i * 7 % 61));
  return s;
}

struct stat statOf(const std::string& path) {
  struct stat st {};
  stat(path.c_str(), &st);
  return st;
}

// Names in a folder, hidden working copies included.
std::vector<std::string> namesIn(const std::string& folder) {
  std::vector<std::string> n = platform::listNames(folder);
  std::sort(n.begin(), n.end());
  return n;
}

struct Ops {
  test::TempDir src, dst;
  test::FakeDialogs dialogs;
  test::FakeCopyScreen screen;
  CopyMoveEnd run(std::vector<std::string> names, TransferMode mode, const std::string& to = {}) {
    std::vector<std::string> paths;
    for (const std::string& n : names)
      paths.push_back(src.file(n));
    return files::copyOrMoveEntries(paths, to.empty() ? dst.path() : to, mode, screen, dialogs);
  }
};

} // namespace

TEST(FileCopy, ACopyIsByteExactKeepsModeAndTimeAndTheKernelCopyMatchesTheFallback) {
  test::TempDir d;
  const std::string big = bytes((20u << 20) + 123); // more than two pieces
  writeFile(d.file("O1.NC"), big);
  chmod(d.file("O1.NC").c_str(), 0640);
  const struct timespec old[2] = {{1000000000, 0}, {1200000000, 500}};
  utimensat(AT_FDCWD, d.file("O1.NC").c_str(), old, 0);
  std::vector<std::uint64_t> progress;
  ASSERT_TRUE(platform::copyFile(d.file("O1.NC"), d.file("O2.NC"), {}, [&](std::uint64_t n) {
    progress.push_back(n);
    return true;
  }));
  EXPECT_EQ(readFile(d.file("O2.NC")), big);
  EXPECT_EQ(statOf(d.file("O2.NC")).st_mode & 0777, 0640u);
  EXPECT_EQ(statOf(d.file("O2.NC")).st_mtim.tv_sec, 1200000000);
  EXPECT_EQ(progress.front(), 0u);
  EXPECT_EQ(progress.back(), big.size());
  EXPECT_GE(progress.size(), 4u);
  // Not asked to replace: an existing target stays.
  writeFile(d.file("O3.NC"), "old");
  EXPECT_EQ(platform::copyFile(d.file("O1.NC"), d.file("O3.NC"), {}).error, EEXIST);
  EXPECT_EQ(readFile(d.file("O3.NC")), "old");
  EXPECT_EQ(namesIn(d.path()), (std::vector<std::string>{"O1.NC", "O2.NC", "O3.NC"}));
}

TEST(FileCopy, AStoppedCopyLeavesTheOldTargetAndNoPartialFile) {
  test::TempDir d;
  writeFile(d.file("NEW.NC"), bytes(20u << 20));
  writeFile(d.file("OLD.NC"), "%\r\nO1(OLD)\r\n%\r\n");
  int calls = 0;
  const platform::CopyResult r = platform::copyFile(d.file("NEW.NC"), d.file("OLD.NC"), {.replace = true},
                                                    [&](std::uint64_t) { return ++calls < 2; });
  EXPECT_EQ(r.end, platform::CopyEnd::Stopped);
  EXPECT_EQ(readFile(d.file("OLD.NC")), "%\r\nO1(OLD)\r\n%\r\n");
  EXPECT_EQ(namesIn(d.path()), (std::vector<std::string>{"NEW.NC", "OLD.NC"}));
}

TEST(FileCopy, AFullDiskKeepsTheOldTargetAndLeavesNoPartialFile) {
  test::TempDir src, small;
  if (!test::mountSmallTmpfs(small.path(), 256 << 10)) GTEST_SKIP() << "no mount namespace here";
  writeFile(small.file("O1.NC"), "%\r\nO1(KEEP)\r\n%\r\n");
  writeFile(src.file("O1.NC"), bytes(1 << 20));
  const platform::CopyResult r =
      platform::copyFile(src.file("O1.NC"), small.file("O1.NC"), {.replace = true});
  EXPECT_EQ(r.end, platform::CopyEnd::Failed);
  EXPECT_EQ(r.error, ENOSPC);
  EXPECT_EQ(readFile(small.file("O1.NC")), "%\r\nO1(KEEP)\r\n%\r\n");
  EXPECT_EQ(namesIn(small.path()), (std::vector<std::string>{"O1.NC"}));

  // Through the copy of the program: told in a box, nothing lost.
  test::FakeDialogs dialogs;
  test::FakeCopyScreen screen;
  screen.answers = {OverwriteAnswer::Yes};
  EXPECT_EQ(files::copyOrMoveEntries({src.file("O1.NC")}, small.path(), TransferMode::Copy, screen, dialogs),
            CopyMoveEnd::Failed);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_NE(dialogs.shown[0].text.find("ディスクの空き容量が足りません。"), std::string::npos);
  EXPECT_EQ(readFile(small.file("O1.NC")), "%\r\nO1(KEEP)\r\n%\r\n");
  EXPECT_EQ(namesIn(small.path()), (std::vector<std::string>{"O1.NC"}));
  umount(small.path().c_str());
}

TEST(CopyMove, AFailedMoveAcrossFileSystemsKeepsTheSourceAndOnlyCompleteCopiesLoseTheirs) {
  Ops o;
  test::TempDir smallFolder;
  if (!test::mountSmallTmpfs(smallFolder.path(), 256 << 10)) GTEST_SKIP() << "no mount namespace here";
  writeFile(o.src.file("A.NC"), bytes(64 << 10));
  writeFile(o.src.file("B.NC"), bytes(1 << 20, 'b')); // does not fit
  writeFile(o.src.file("C.NC"), "c");
  EXPECT_EQ(o.run({"A.NC", "B.NC", "C.NC"}, TransferMode::Move, smallFolder.path()), CopyMoveEnd::Failed);
  EXPECT_EQ(readFile(smallFolder.file("A.NC")), bytes(64 << 10)); // moved whole
  EXPECT_FALSE(test::fileExists(o.src.file("A.NC")));
  EXPECT_EQ(readFile(o.src.file("B.NC")), bytes(1 << 20, 'b')); // kept
  EXPECT_EQ(readFile(o.src.file("C.NC")), "c");                 // not reached
  EXPECT_EQ(namesIn(smallFolder.path()), (std::vector<std::string>{"A.NC"}));
  umount(smallFolder.path().c_str());
}

TEST(CopyMove, AFolderIsCopiedWithEverythingInItButNeverIntoItself) {
  Ops o;
  mkdir(o.src.file("NC").c_str(), 0755);
  mkdir(o.src.file("NC/SUB").c_str(), 0755);
  writeFile(o.src.file("NC/O1.NC"), "%\r\nO1\r\n%\r\n");
  writeFile(o.src.file("NC/SUB/O2.NC"), bytes(3000));
  mkdir(o.src.file("masters").c_str(), 0755);
  writeFile(o.src.file("masters/O9.NC"), "nine");
  symlink("O1.NC", o.src.file("NC/LINK").c_str());
  symlink("../masters/O9.NC", o.src.file("NC/OUTSIDE").c_str());
  symlink("../masters", o.src.file("NC/MASTERS").c_str());
  EXPECT_EQ(o.run({"NC"}, TransferMode::Copy), CopyMoveEnd::Done)
      << (o.dialogs.shown.empty() ? "" : o.dialogs.shown[0].text);
  EXPECT_EQ(readFile(o.dst.file("NC/O1.NC")), "%\r\nO1\r\n%\r\n");
  EXPECT_EQ(readFile(o.dst.file("NC/SUB/O2.NC")), bytes(3000));
  // Links are copied as what they point to: a link to a program outside
  // the folder would otherwise point at nothing at the destination.
  struct stat st {};
  for (const char* name : {"NC/LINK", "NC/OUTSIDE", "NC/MASTERS"}) {
    ASSERT_EQ(lstat(o.dst.file(name).c_str(), &st), 0) << name;
    EXPECT_FALSE(S_ISLNK(st.st_mode)) << name;
  }
  EXPECT_EQ(readFile(o.dst.file("NC/LINK")), "%\r\nO1\r\n%\r\n");
  EXPECT_EQ(readFile(o.dst.file("NC/OUTSIDE")), "nine");
  EXPECT_EQ(readFile(o.dst.file("NC/MASTERS/O9.NC")), "nine");

  // A link back to a folder being copied would go round for ever: told,
  // and what stood is kept.
  symlink("..", o.src.file("NC/SUB/UP").c_str());
  test::TempDir again;
  EXPECT_EQ(o.run({"NC"}, TransferMode::Copy, again.path()), CopyMoveEnd::Failed);
  ASSERT_EQ(o.dialogs.shown.size(), 1u);
  EXPECT_NE(o.dialogs.shown[0].text.find(o.src.file("NC/SUB/UP")), std::string::npos)
      << o.dialogs.shown[0].text;
  EXPECT_EQ(readFile(o.src.file("NC/O1.NC")), "%\r\nO1\r\n%\r\n");
  unlink(o.src.file("NC/SUB/UP").c_str());
  o.dialogs.shown.clear();

  // Into itself or below: refused with a box, nothing made.
  for (const std::string& into : {o.src.file("NC"), o.src.file("NC/SUB")}) {
    o.dialogs.shown.clear();
    EXPECT_EQ(o.run({"NC"}, TransferMode::Copy, into), CopyMoveEnd::Failed);
    ASSERT_EQ(o.dialogs.shown.size(), 1u);
    EXPECT_NE(o.dialogs.shown[0].text.find("その中へはコピーできません"), std::string::npos);
  }
  EXPECT_EQ(namesIn(o.src.file("NC/SUB")), (std::vector<std::string>{"O2.NC"}));
  EXPECT_EQ(o.run({"NC"}, TransferMode::Move, o.src.file("NC/SUB")), CopyMoveEnd::Failed);
  // Nor into a folder inside itself that is yet to be made.
  o.dialogs.shown.clear();
  EXPECT_EQ(o.run({"NC"}, TransferMode::Copy, o.src.file("NC/SUB/NEW")), CopyMoveEnd::Failed);
  ASSERT_EQ(o.dialogs.shown.size(), 1u);
  EXPECT_EQ(o.dialogs.shown[0].text, "フォルダー " + o.src.file("NC") + " は、その中へはコピーできません。");
  EXPECT_FALSE(test::fileExists(o.src.file("NC/SUB/NEW")));
  EXPECT_TRUE(test::fileExists(o.src.file("NC/O1.NC")));
}

// A copy of a link that points at nothing has nothing to copy: told, and
// nothing made. A move moves the link itself.
TEST(CopyMove, ALinkThatPointsAtNothingIsToldOnCopyAndMovedAsALink) {
  Ops o;
  ASSERT_EQ(symlink("nowhere.NC", o.src.file("GONE.NC").c_str()), 0);
  EXPECT_EQ(o.run({"GONE.NC"}, TransferMode::Copy), CopyMoveEnd::Failed);
  ASSERT_EQ(o.dialogs.shown.size(), 1u);
  EXPECT_EQ(o.dialogs.shown[0].text,
            o.src.file("GONE.NC") +
                " をコピーできませんでした。\nファイルまたはフォルダーが見つかりません。");
  EXPECT_TRUE(namesIn(o.dst.path()).empty());
  EXPECT_EQ(o.run({"GONE.NC"}, TransferMode::Move), CopyMoveEnd::Done);
  char link[32] = {};
  EXPECT_EQ(readlink(o.dst.file("GONE.NC").c_str(), link, sizeof link - 1), 10);
  EXPECT_STREQ(link, "nowhere.NC");
  EXPECT_TRUE(namesIn(o.src.path()).empty());
}

TEST(CopyMove, TheOverwriteQuestionAnswersYesNoAllAndCancel) {
  Ops o;
  for (const char* n : {"A.NC", "B.NC", "C.NC", "D.NC"}) {
    writeFile(o.src.file(n), std::string("new ") + n);
    writeFile(o.dst.file(n), std::string("old ") + n);
  }
  o.screen.answers = {OverwriteAnswer::No, OverwriteAnswer::Yes, OverwriteAnswer::All};
  EXPECT_EQ(o.run({"A.NC", "B.NC", "C.NC", "D.NC"}, TransferMode::Copy), CopyMoveEnd::Done);
  EXPECT_EQ(readFile(o.dst.file("A.NC")), "old A.NC");
  EXPECT_EQ(readFile(o.dst.file("B.NC")), "new B.NC");
  EXPECT_EQ(readFile(o.dst.file("C.NC")), "new C.NC");
  EXPECT_EQ(readFile(o.dst.file("D.NC")), "new D.NC");
  EXPECT_EQ(o.screen.asked.size(), 3u); // All answered for D

  // Cancel: the user aborted; what comes after is left alone.
  writeFile(o.src.file("A.NC"), "newer A");
  writeFile(o.src.file("E.NC"), "E");
  o.screen.answers = {OverwriteAnswer::Cancel};
  EXPECT_EQ(o.run({"A.NC", "E.NC"}, TransferMode::Move), CopyMoveEnd::Aborted);
  EXPECT_EQ(readFile(o.dst.file("A.NC")), "old A.NC");
  EXPECT_TRUE(test::fileExists(o.src.file("A.NC")));
  EXPECT_FALSE(test::fileExists(o.dst.file("E.NC")));
  EXPECT_TRUE(o.dialogs.shown.empty());
}

TEST(CopyMove, CancelInTheMiddleOfAFileKeepsTheOldTargetAndNoPartialFile) {
  Ops o;
  writeFile(o.src.file("BIG.NC"), bytes(30u << 20));
  writeFile(o.dst.file("BIG.NC"), "old");
  o.screen.answers = {OverwriteAnswer::Yes};
  o.screen.stopAfterPieces = 2;
  EXPECT_EQ(o.run({"BIG.NC"}, TransferMode::Move), CopyMoveEnd::Done); // a rename: no pieces
  EXPECT_EQ(readFile(o.dst.file("BIG.NC")).size(), 30u << 20);

  writeFile(o.src.file("BIG.NC"), bytes(30u << 20, 'z'));
  writeFile(o.dst.file("BIG.NC"), "old");
  o.screen.answers = {OverwriteAnswer::Yes};
  o.screen.pieces = 0;
  EXPECT_EQ(o.run({"BIG.NC"}, TransferMode::Copy), CopyMoveEnd::Aborted);
  EXPECT_EQ(readFile(o.dst.file("BIG.NC")), "old");
  EXPECT_EQ(namesIn(o.dst.path()), (std::vector<std::string>{"BIG.NC"}));
}

TEST(CopyMove, AMoveWithinOneFileSystemIsARenameAndFoldersMergeIntoTheirNamesakes) {
  Ops o;
  writeFile(o.src.file("O1.NC"), "one");
  const ino_t inode = statOf(o.src.file("O1.NC")).st_ino;
  mkdir(o.src.file("NC").c_str(), 0755);
  writeFile(o.src.file("NC/O2.NC"), "two");
  mkdir(o.dst.file("NC").c_str(), 0755);
  writeFile(o.dst.file("NC/O3.NC"), "three");
  EXPECT_EQ(o.run({"O1.NC", "NC"}, TransferMode::Move), CopyMoveEnd::Done);
  EXPECT_EQ(statOf(o.dst.file("O1.NC")).st_ino, inode);
  EXPECT_TRUE(o.screen.copied.empty());
  EXPECT_EQ(namesIn(o.dst.file("NC")), (std::vector<std::string>{"O2.NC", "O3.NC"}));
  EXPECT_TRUE(namesIn(o.src.path()).empty());
}

TEST(CopyMove, AReadOnlyDestinationGivesAMessageAndNothingIsLost) {
  Ops o;
  writeFile(o.src.file("O1.NC"), "one");
  test::ReadOnlyFolder readOnly(o.dst.path());
  if (!readOnly.ok()) GTEST_SKIP() << "cannot make a read-only folder here";
  for (TransferMode mode : {TransferMode::Copy, TransferMode::Move}) {
    o.dialogs.shown.clear();
    EXPECT_EQ(o.run({"O1.NC"}, mode), CopyMoveEnd::Failed);
    ASSERT_EQ(o.dialogs.shown.size(), 1u);
    EXPECT_EQ(o.dialogs.shown[0].title, files::modeTitle(mode));
    EXPECT_NE(o.dialogs.shown[0].text.find("O1.NC"), std::string::npos);
    EXPECT_EQ(readFile(o.src.file("O1.NC")), "one");
    EXPECT_TRUE(namesIn(o.dst.path()).empty());
  }
}

TEST(CopyMove, AReadOnlyTargetIsNeverReplaced) {
  Ops o;
  writeFile(o.src.file("O1.NC"), "new");
  writeFile(o.dst.file("O1.NC"), "kept");
  chmod(o.dst.file("O1.NC").c_str(), 0444);
  o.screen.answers = {OverwriteAnswer::Yes};
  EXPECT_EQ(o.run({"O1.NC"}, TransferMode::Move), CopyMoveEnd::Failed);
  EXPECT_TRUE(o.screen.asked.empty());
  EXPECT_EQ(readFile(o.dst.file("O1.NC")), "kept");
  EXPECT_EQ(readFile(o.src.file("O1.NC")), "new");
}

// USB sticks and network shares mounted through FUSE have neither the
// no-replace rename nor hard links; copy and move work there as anywhere,
// and still never replace what the operator did not let go.
TEST(RefusingVolume, CopyAndMoveOfFilesAndFoldersWorkAndReplaceNothingUnasked) {
  KESTROVAN_ON_REFUSING_VOLUME();
  Ops o;
  writeFile(o.src.file("O1.NC"), "%\r\nO1\r\n%\r\n");
  mkdir(o.src.file("NC").c_str(), 0755);
  writeFile(o.src.file("NC/O2.NC"), "two");
  EXPECT_EQ(o.run({"O1.NC", "NC"}, TransferMode::Copy), CopyMoveEnd::Done) << o.dialogs.shown.size();
  EXPECT_EQ(readFile(o.dst.file("O1.NC")), "%\r\nO1\r\n%\r\n");
  EXPECT_EQ(readFile(o.dst.file("NC/O2.NC")), "two");
  EXPECT_EQ(platform::copyFile(o.src.file("O1.NC"), o.dst.file("O1.NC"), {}).error, EEXIST);

  // A move within the volume: one rename per entry, a folder whole.
  writeFile(o.src.file("O3.NC"), "three");
  mkdir(o.src.file("SUB").c_str(), 0755);
  writeFile(o.src.file("SUB/O4.NC"), "four");
  const ino_t inode = statOf(o.src.file("SUB")).st_ino;
  o.screen.copied.clear();
  EXPECT_EQ(o.run({"O3.NC", "SUB"}, TransferMode::Move), CopyMoveEnd::Done);
  EXPECT_TRUE(o.dialogs.shown.empty()) << o.dialogs.shown.at(0).text;
  EXPECT_EQ(readFile(o.dst.file("O3.NC")), "three");
  EXPECT_EQ(statOf(o.dst.file("SUB")).st_ino, inode);
  EXPECT_EQ(readFile(o.dst.file("SUB/O4.NC")), "four");
  EXPECT_TRUE(o.screen.copied.empty());

  // Onto a name in use: asked, and No keeps both.
  writeFile(o.src.file("O1.NC"), "newer");
  o.screen.answers = {OverwriteAnswer::No};
  EXPECT_EQ(o.run({"O1.NC"}, TransferMode::Move), CopyMoveEnd::Done);
  EXPECT_EQ(readFile(o.src.file("O1.NC")), "newer");
  EXPECT_EQ(readFile(o.dst.file("O1.NC")), "%\r\nO1\r\n%\r\n");
  EXPECT_EQ(namesIn(o.dst.path()), (std::vector<std::string>{"NC", "O1.NC", "O3.NC", "SUB"}));
}

// Folders that cannot be read (no read permission; the library preloaded
// refuses to open them, since the tests run as root) are named in one box
// after the rest is done; no empty folder stands for them at the destination,
// and a move keeps them and the folders holding them.
TEST(RefusingVolume, FoldersThatCannotBeReadAreToldAndLeaveNoEmptyFolderBehind) {
  KESTROVAN_ON_REFUSING_VOLUME();
  Ops o;
  mkdir(o.src.file("NC").c_str(), 0755);
  writeFile(o.src.file("NC/O1.NC"), "one");
  mkdir(o.src.file("NC/LOCKED").c_str(), 0755);
  writeFile(o.src.file("NC/LOCKED/O2.NC"), "two");
  mkdir(o.src.file("ONLY").c_str(), 0755);
  mkdir(o.src.file("ONLY/LOCKED").c_str(), 0755);
  writeFile(o.src.file("ONLY/LOCKED/O3.NC"), "three");
  writeFile(o.src.file("O4.NC"), "four");
  const std::string locked = o.src.file("NC/LOCKED") + ":" + o.src.file("ONLY/LOCKED");
  setenv("KESTROVAN_SHIM_UNREADABLE", locked.c_str(), 1);

  EXPECT_EQ(o.run({"NC", "ONLY", "O4.NC"}, TransferMode::Copy), CopyMoveEnd::Failed);
  ASSERT_EQ(o.dialogs.shown.size(), 1u);
  EXPECT_EQ(o.dialogs.shown[0].title, "ﾌｧｲﾙｺﾋﾟｰ");
  EXPECT_EQ(o.dialogs.shown[0].text, o.src.file("NC/LOCKED") + "\n" + o.src.file("ONLY/LOCKED") +
                                         "\nを読み取れないため、コピーできませんでした。\n" +
                                         "アクセスが拒否されました。");
  EXPECT_EQ(namesIn(o.dst.path()), (std::vector<std::string>{"NC", "O4.NC"}));
  EXPECT_EQ(namesIn(o.dst.file("NC")), (std::vector<std::string>{"O1.NC"}));

  // Moved to another file system: what was read goes, the rest stays.
  test::TempDir other;
  if (!test::mountSmallTmpfs(other.path(), 1 << 20)) GTEST_SKIP() << "no mount namespace here";
  o.dialogs.shown.clear();
  EXPECT_EQ(o.run({"NC", "ONLY"}, TransferMode::Move, other.path()), CopyMoveEnd::Failed);
  ASSERT_EQ(o.dialogs.shown.size(), 1u);
  EXPECT_EQ(o.dialogs.shown[0].title, "ﾌｧｲﾙ移動");
  EXPECT_NE(o.dialogs.shown[0].text.find("を読み取れないため、移動できませんでした。"), std::string::npos);
  EXPECT_EQ(namesIn(other.path()), (std::vector<std::string>{"NC"}));
  EXPECT_EQ(namesIn(other.file("NC")), (std::vector<std::string>{"O1.NC"}));
  unsetenv("KESTROVAN_SHIM_UNREADABLE");
  EXPECT_EQ(namesIn(o.src.file("NC")), (std::vector<std::string>{"LOCKED"}));
  EXPECT_EQ(readFile(o.src.file("NC/LOCKED/O2.NC")), "two");
  EXPECT_EQ(readFile(o.src.file("ONLY/LOCKED/O3.NC")), "three");

  // Moved into a folder of the same name, entry by entry: the same.
  setenv("KESTROVAN_SHIM_UNREADABLE", o.src.file("NC/LOCKED").c_str(), 1);
  mkdir(o.dst.file("NC/LOCKED").c_str(), 0755);
  writeFile(o.dst.file("NC/LOCKED/O5.NC"), "five");
  o.dialogs.shown.clear();
  EXPECT_EQ(o.run({"NC"}, TransferMode::Move), CopyMoveEnd::Failed);
  ASSERT_EQ(o.dialogs.shown.size(), 1u);
  EXPECT_NE(o.dialogs.shown[0].text.find(o.src.file("NC/LOCKED")), std::string::npos);
  unsetenv("KESTROVAN_SHIM_UNREADABLE");
  EXPECT_EQ(readFile(o.src.file("NC/LOCKED/O2.NC")), "two");
  EXPECT_EQ(readFile(o.dst.file("NC/LOCKED/O5.NC")), "five");
  umount(other.path().c_str());
}

// A move out of a read-only volume (a write-protected card) copies each file
// and then cannot remove it: the box says what was copied and that the
// source was kept, and nothing is lost on either side.
TEST(RefusingVolume, AMoveOutOfAReadOnlyVolumeSaysWhatWasCopiedAndWhatWasKept) {
  KESTROVAN_ON_REFUSING_VOLUME();
  Ops o;
  writeFile(o.src.file("O1.NC"), "one");
  writeFile(o.src.file("O2.NC"), "two");
  mkdir(o.src.file("NC").c_str(), 0755);
  writeFile(o.src.file("NC/O3.NC"), "three");
  setenv("KESTROVAN_SHIM_READ_ONLY", o.src.path().c_str(), 1);
  ASSERT_EQ(unlink(o.src.file("O1.NC").c_str()), -1);
  ASSERT_EQ(errno, EROFS);

  EXPECT_EQ(o.run({"O1.NC", "O2.NC"}, TransferMode::Move), CopyMoveEnd::Failed);
  ASSERT_EQ(o.dialogs.shown.size(), 1u);
  EXPECT_EQ(o.dialogs.shown[0].title, "ﾌｧｲﾙ移動");
  EXPECT_EQ(o.dialogs.shown[0].text, o.src.file("O1.NC") + " を " + o.dst.file("O1.NC") +
                                         " にコピーしましたが、移動元から削除できなかったため、" +
                                         "移動元にも残っています。\n書き込みが禁止されています。");
  EXPECT_EQ(readFile(o.dst.file("O1.NC")), "one");
  EXPECT_EQ(readFile(o.src.file("O1.NC")), "one");
  EXPECT_EQ(readFile(o.src.file("O2.NC")), "two"); // not reached
  EXPECT_EQ(namesIn(o.dst.path()), (std::vector<std::string>{"O1.NC"}));

  o.dialogs.shown.clear();
  EXPECT_EQ(o.run({"NC"}, TransferMode::Move), CopyMoveEnd::Failed);
  ASSERT_EQ(o.dialogs.shown.size(), 1u);
  EXPECT_EQ(
      o.dialogs.shown[0].text.rfind(o.src.file("NC/O3.NC") + " を " + o.dst.file("NC/O3.NC") + " に", 0), 0u)
      << o.dialogs.shown[0].text;
  EXPECT_EQ(readFile(o.dst.file("NC/O3.NC")), "three");
  EXPECT_EQ(readFile(o.src.file("NC/O3.NC")), "three");
  unsetenv("KESTROVAN_SHIM_READ_ONLY");
  EXPECT_EQ(namesIn(o.src.path()), (std::vector<std::string>{"NC", "O1.NC", "O2.NC"}));
}

TEST(CopyMove, NamesOfUpTo255BytesAreCopiedAndMovedToAnotherFileSystem) {
  Ops o;
  test::TempDir other;
  if (!test::mountSmallTmpfs(other.path(), 1 << 20)) GTEST_SKIP() << "no mount namespace here";
  std::string longest;
  for (int i = 0; i < 85; ++i)
    longest += "あ";                                             // 255 bytes
  const std::string ascii = "O" + std::string(248, '1') + ".NC"; // 252 bytes
  writeFile(o.src.file(longest), "%\r\nO1\r\n%\r\n");
  writeFile(o.src.file(ascii), bytes(5000));
  EXPECT_EQ(o.run({longest, ascii}, TransferMode::Copy), CopyMoveEnd::Done)
      << (o.dialogs.shown.empty() ? "" : o.dialogs.shown[0].text);
  EXPECT_EQ(readFile(o.dst.file(longest)), "%\r\nO1\r\n%\r\n");
  EXPECT_EQ(readFile(o.dst.file(ascii)), bytes(5000));
  EXPECT_EQ(o.run({longest, ascii}, TransferMode::Move, other.path()), CopyMoveEnd::Done)
      << (o.dialogs.shown.empty() ? "" : o.dialogs.shown[0].text);
  // Replacing asks first, then goes through a working copy as well.
  writeFile(o.src.file(longest), "newer");
  o.screen.answers = {OverwriteAnswer::Yes};
  EXPECT_EQ(o.run({longest}, TransferMode::Move, other.path()), CopyMoveEnd::Done)
      << (o.dialogs.shown.empty() ? "" : o.dialogs.shown[0].text);
  EXPECT_EQ(readFile(other.file(longest)), "newer");
  EXPECT_EQ(readFile(other.file(ascii)), bytes(5000));
  EXPECT_EQ(namesIn(other.path()), (std::vector<std::string>{ascii, longest}));
  EXPECT_TRUE(namesIn(o.src.path()).empty());
  umount(other.path().c_str());
}

TEST(Leftovers, WorkingCopiesOlderThanTheRunGoFromTheFoldersWrittenToAndNothingElse) {
  test::TempDir program, data, destination, relative;
  mkdir(data.file("OUT").c_str(), 0755);
  writeFile(program.file("Path.lst"), destination.path() + "\r\nOUT\r\n" + data.path() + "\r\n");
  EXPECT_EQ(files::foldersWrittenTo(program.path(), data.path()),
            (std::vector<std::string>{program.path(), data.path(), destination.path(), data.file("OUT")}));

  // What a killed copy, split and settings write left, beside files that
  // only look alike and a working copy this run is writing.
  const std::string huge = ".HUGE.NC.~kvoHeJgV";
  writeFile(data.file(huge), bytes(100000));
  writeFile(data.file("OUT/.O00783.NC.~kvyG2ZqQ"), "O783");
  writeFile(destination.file(".O1.NC.~kvAAAAAA"), "O1");
  writeFile(program.file(".KESTROVAN.INI.~kvq1w2e3"), "[x]");
  writeFile(data.file(".HUGE.NC.oHeJgV"), "not ours");
  writeFile(data.file("O00783.NC.yG2ZqQ"), "not ours");
  writeFile(data.file(".O2.NC.~kv12345"), "five letters");
  mkdir(data.file(".SUB.~kvABCDEF").c_str(), 0755);
  symlink("O1.NC", data.file(".L.NC.~kvABCDEF").c_str());
  writeFile(relative.file(".O9.NC.~kvZZZZZZ"), "not a folder written to");
  const std::int64_t runStart = static_cast<std::int64_t>(time(nullptr)) + 2;
  EXPECT_EQ(files::removeLeftovers(files::foldersWrittenTo(program.path(), data.path()), runStart), 4);
  EXPECT_EQ(namesIn(data.path()),
            (std::vector<std::string>{".HUGE.NC.oHeJgV", ".L.NC.~kvABCDEF", ".O2.NC.~kv12345",
                                      ".SUB.~kvABCDEF", "O00783.NC.yG2ZqQ", "OUT"}));
  EXPECT_TRUE(namesIn(data.file("OUT")).empty());
  EXPECT_TRUE(namesIn(destination.path()).empty());
  EXPECT_EQ(namesIn(program.path()), std::vector<std::string>{"Path.lst"});
  EXPECT_TRUE(test::fileExists(relative.file(".O9.NC.~kvZZZZZZ")));

  // One changed since the run began belongs to a program still writing it.
  writeFile(data.file(".O3.NC.~kvBBBBBB"), "O3");
  EXPECT_EQ(files::removeLeftovers({data.path()}, static_cast<std::int64_t>(time(nullptr)) - 2), 0);
  EXPECT_TRUE(test::fileExists(data.file(".O3.NC.~kvBBBBBB")));
}

TEST(FileCopy, WorkingCopiesOfCopiesAndStagedFilesHaveTheOnePatternAndAreGoneAfterwards) {
  test::TempDir d;
  writeFile(d.file("BIG.NC"), bytes(20u << 20));
  std::vector<std::string> seen;
  platform::copyFile(d.file("BIG.NC"), d.file("COPY.NC"), {}, [&](std::uint64_t) {
    seen = namesIn(d.path());
    return true;
  });
  EXPECT_EQ(seen.size(), 2u);
  ASSERT_EQ(seen[0].substr(0, 12), ".COPY.NC.~kv") << seen[0];
  EXPECT_TRUE(platform::isWorkingCopyName(seen[0]));
  {
    platform::StagedFile staged(d.file("O1.NC"));
    ASSERT_TRUE(staged.ok());
    for (const std::string& n : namesIn(d.path()))
      if (n != "BIG.NC" && n != "COPY.NC") {
        EXPECT_TRUE(platform::isWorkingCopyName(n)) << n;
      }
    EXPECT_EQ(namesIn(d.path()).size(), 3u);
  }
  EXPECT_EQ(namesIn(d.path()), (std::vector<std::string>{"BIG.NC", "COPY.NC"}));
}
