#include "platform/ProgramFolder.h"

#include <gtest/gtest.h>

using namespace kestrovan::platform;

TEST(ProgramFolder, ChoosesHomeVariableThenExecutableFolderThenConfig) {
  ProgramFolderInputs in;
  in.executableFolder = "/opt/kestrovan";
  in.home = "/home/op";
  in.kestrovanHome = "/tmp/k/";
  in.executableFolderWritable = true;
  EXPECT_EQ(chooseProgramFolder(in), "/tmp/k");
  in.kestrovanHome.reset();
  EXPECT_EQ(chooseProgramFolder(in), "/opt/kestrovan");
  in.executableFolderWritable = false;
  EXPECT_EQ(chooseProgramFolder(in), "/home/op/.config/kestrovan");
  in.xdgConfigHome = "/cfg";
  EXPECT_EQ(chooseProgramFolder(in), "/cfg/kestrovan");
}

TEST(ProgramFolder, NamesComeFromArgumentZero) {
  ExecutableInfo exe = currentExecutable("/some/where/kestrovan2");
  EXPECT_EQ(exe.fileName, "kestrovan2");
  EXPECT_EQ(exe.baseName(), "kestrovan2");
  EXPECT_FALSE(exe.folder.empty());
  EXPECT_EQ((ExecutableInfo{"kestrovan.bin", "/x"}).baseName(), "kestrovan");
}
