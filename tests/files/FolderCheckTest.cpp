// TFolderCheck on real folders: what it reports, how it follows the list
// from folder to folder on one notification instance, and how it ends.
#include "files/FolderCheck.h"

#include "FileListFixture.h"
#include "WatchHelpers.h"

#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kestrovan;
using files::TFolderCheck;
using files::test::inotifyInstances;
using files::test::Reports;
using kestrovan::test::TempDir;
using kestrovan::test::writeFile;
using namespace std::chrono_literals;

namespace {

// Long enough for a report that would come to have come.
constexpr auto kQuiet = 400ms;

struct Watched {
  TempDir dir;
  Reports reports;
  TFolderCheck check{[this] { reports(); }};
};

} // namespace

TEST(FolderCheck, ReportsNamesCreatedDeletedAndMovedInTheFolderButNotBelowIt) {
  Watched w;
  w.check.follow(w.dir.path());
  ASSERT_TRUE(w.check.Start());
  EXPECT_TRUE(w.check.watching());

  long seen = 0;
  writeFile(w.dir.file("O2.NC"), "x"); // created
  EXPECT_TRUE(w.reports.moreThan(seen));
  seen = w.reports.count();
  ASSERT_EQ(rename(w.dir.file("O2.NC").c_str(), w.dir.file("O3.NC").c_str()), 0); // renamed
  EXPECT_TRUE(w.reports.moreThan(seen));
  seen = w.reports.count();
  ASSERT_EQ(unlink(w.dir.file("O3.NC").c_str()), 0); // deleted
  EXPECT_TRUE(w.reports.moreThan(seen));
  seen = w.reports.count();
  ASSERT_EQ(mkdir(w.dir.file("SUB").c_str(), 0755), 0); // a folder is a name of the list too
  EXPECT_TRUE(w.reports.moreThan(seen));

  // Only the folder itself is watched, not what lies below it.
  seen = w.reports.count();
  writeFile(w.dir.file("SUB/DEEP.NC"), "x");
  EXPECT_FALSE(w.reports.moreThan(seen, kQuiet));
}

TEST(FolderCheck, WhatCannotBeWatchedIsNoFailureAndTheWatchGoesOnWithTheNextFolder) {
  Watched w;
  kestrovan::test::writeFile(w.dir.file("O1.NC"), "x");
  ASSERT_TRUE(w.check.Start());
  for (const std::string& path :
       {w.dir.file("O1.NC"), w.dir.file("MISSING"), std::string("/proc/self/fd/0")}) {
    w.check.follow(path);
    EXPECT_FALSE(w.check.watching()) << path;
  }
  // A folder its user may not read (the super-user reads them all).
  const std::string locked = w.dir.file("LOCKED");
  ASSERT_EQ(mkdir(locked.c_str(), 0), 0);
  w.check.follow(locked);
  EXPECT_EQ(w.check.watching(), geteuid() == 0);
  chmod(locked.c_str(), 0755);

  w.check.follow(w.dir.path());
  EXPECT_TRUE(w.check.watching());
  writeFile(w.dir.file("O2.NC"), "x");
  EXPECT_TRUE(w.reports.moreThan(0));
}

TEST(FolderCheck, StopEndsTheBlockedThreadAndReleasesTheInstance) {
  const std::size_t before = inotifyInstances().size();
  {
    Watched w;
    w.check.follow(w.dir.path());
    ASSERT_TRUE(w.check.Start());
    EXPECT_TRUE(w.check.running());
    w.check.Stop(); // the thread is blocked in its wait
    EXPECT_FALSE(w.check.running());
    EXPECT_FALSE(w.check.watching());
    writeFile(w.dir.file("AFTER.NC"), "x");
    EXPECT_FALSE(w.reports.moreThan(0, kQuiet));
    // Started again, it watches again; the destructor stops it.
    ASSERT_TRUE(w.check.Start());
    EXPECT_TRUE(w.check.watching());
  }
  EXPECT_EQ(inotifyInstances().size(), before);
}
