#include "platform/ProgramFolder.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

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

// An installed program never keeps settings beside itself: root may write to
// /usr/bin, but the settings are the user's, not the system's.
TEST(ProgramFolder, AnInstalledProgramKeepsItsFilesInTheConfigFolderEvenWhereItsFolderIsWritable) {
  ProgramFolderInputs in;
  in.home = "/root";
  in.executableFolderWritable = true;
  for (const char* installed : {"/usr/bin", "/usr/local/bin", "/bin", "/usr/bin/"}) {
    in.executableFolder = installed;
    EXPECT_EQ(chooseProgramFolder(in), "/root/.config/kestrovan") << installed;
  }
  in.executableFolder = "/home/op/kestrovan/build-rel/bin"; // a build tree
  EXPECT_EQ(chooseProgramFolder(in), "/home/op/kestrovan/build-rel/bin");
  in.executableFolder = "/usr/bin";
  in.kestrovanHome = "/srv/nc-pc";
  EXPECT_EQ(chooseProgramFolder(in), "/srv/nc-pc") << "the variable still names it";
}

TEST(ProgramFolder, RootRunningTheInstalledProgramGetsTheConfigFolderNotUsrBin) {
  if (access("/usr/bin", W_OK) != 0)
    GTEST_SKIP() << "/usr/bin is not writable here: only root meets the case";
  kestrovan::test::TempDir config;
  ::unsetenv("KESTROVAN_HOME");
  ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
  const std::string folder = programFolder(ExecutableInfo{"kestrovan", "/usr/bin"});
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(folder, config.file("kestrovan"));
  EXPECT_TRUE(kestrovan::test::fileExists(config.file("kestrovan"))) << "made on the first start";
}

TEST(ProgramFolder, NamesComeFromArgumentZero) {
  ExecutableInfo exe = currentExecutable("/some/where/kestrovan2");
  EXPECT_EQ(exe.fileName, "kestrovan2");
  EXPECT_EQ(exe.baseName(), "kestrovan2");
  EXPECT_FALSE(exe.folder.empty());
  EXPECT_EQ((ExecutableInfo{"kestrovan.bin", "/x"}).baseName(), "kestrovan");
}
