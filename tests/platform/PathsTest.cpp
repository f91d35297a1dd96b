#include "platform/Paths.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace kestrovan::platform;

TEST(Paths, RootPlaysTheBareDriveAndFoldersHaveNoTrailingSlash) {
  EXPECT_TRUE(isRootFolder("/"));
  EXPECT_FALSE(isRootFolder("/x"));
  EXPECT_EQ(stripTrailingSeparator("/home/op/NC/"), "/home/op/NC");
  EXPECT_EQ(stripTrailingSeparator("//"), "/");
  EXPECT_EQ(parentFolder("/x"), "/");
  EXPECT_EQ(parentFolder("/"), "/");
  EXPECT_EQ(parentFolder("/a/b/"), "/a");
  EXPECT_EQ(joinPath("/", "O1.NC"), "/O1.NC");
  EXPECT_EQ(joinPath("/a/", "O1.NC"), "/a/O1.NC");
  EXPECT_EQ(baseNameOf("/usr/bin/kestrovan"), "kestrovan");
  EXPECT_EQ(removeExtension("kestrovan.bin"), "kestrovan");
  EXPECT_EQ(removeExtension(".hidden"), ".hidden");
}

TEST(Paths, CreateFolderPathMakesEveryLevelAndRefusesRelativePaths) {
  kestrovan::test::TempDir dir;
  EXPECT_TRUE(createFolderPath(dir.file("A/B/C/")));
  EXPECT_TRUE(isDirectory(dir.file("A/B/C")));
  EXPECT_TRUE(createFolderPath(dir.file("A/B/C"))); // already there
  EXPECT_FALSE(createFolderPath("C:\\NC"));
  EXPECT_FALSE(isDirectory("C:\\NC"));
}

TEST(Paths, ARelativePathIsReadAgainstAFolderAndTheSystemResolvesDotDot) {
  EXPECT_EQ(pathFrom("/work/", "sub/./REL.NC"), "/work/sub/REL.NC");
  EXPECT_EQ(pathFrom("/work", "./a//b/"), "/work/a/b");
  EXPECT_EQ(pathFrom("/work", "../x.NC"), "/work/../x.NC");
  EXPECT_EQ(pathFrom("/", "x.NC"), "/x.NC");
  EXPECT_EQ(pathFrom("/work", "/abs/x.NC"), "/abs/x.NC");
}
