#include "core/AppState.h"
#include "platform/IniFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace kestrovan;

namespace {
bool none(const std::string&) { return false; }
} // namespace

TEST(AppState, ArgumentsArmTheCommandLineRunAndNeverWriteTheFiles) {
  test::TempDir dir;
  const auto files = core::ProgramFiles::in(dir.path(), "kestrovan");
  const std::string original = "[Setting]\r\nPort=COM4\r\n; a comment\n[Main]\nLeft=5\n";
  test::writeFile(files.settingsPath, original);

  core::AppState state = core::loadAppState(files, "/home/op", {"/S=A.NC", "/COM2"}, none);
  EXPECT_TRUE(state.run.CommandLineRun);
  EXPECT_EQ(state.run.commandItems, (std::vector<std::string>{"S=A.NC", "COM2"}));
  EXPECT_EQ(state.run.PendingSend, "N");
  state.settings.Port = "COM9";
  state.commands.EditApp = "changed";
  core::saveAppState(state);
  EXPECT_EQ(test::readFile(files.settingsPath), original);
  EXPECT_FALSE(test::fileExists(files.commandTablePath));
}

TEST(AppState, APlainRunSavesBothFilesKeepingForeignLines) {
  test::TempDir dir;
  const auto files = core::ProgramFiles::in(dir.path(), "kestrovan");
  test::writeFile(files.settingsPath, "[Ports]\r\nCOM1=/dev/pts/3\r\n[Options]\r\nListColumn=0\r\n");
  test::writeFile(files.commandTablePath,
                  "[Application]\r\nEditApp=/usr/bin/vi -x\r\nOutAppC=/bin/cat $A\r\n");

  core::AppState state = core::loadAppState(files, "/home/op", {}, none);
  EXPECT_FALSE(state.run.CommandLineRun);
  EXPECT_EQ(state.run.MarkCapacity, 100);
  EXPECT_EQ(state.commands.EditApp, "/usr/bin/vi -x");
  EXPECT_EQ(state.commands.entry('c')->application, "/bin/cat $A");
  state.settings.ListColumn = 5;
  core::saveAppState(state);

  platform::IniFile settings = platform::IniFile::load(files.settingsPath);
  EXPECT_EQ(settings.readString("Ports", "COM1", ""), "/dev/pts/3");
  EXPECT_EQ(settings.readInteger("Options", "ListColumn", 0), 5);
  platform::IniFile table = platform::IniFile::load(files.commandTablePath);
  EXPECT_EQ(table.readString("Application", "EditApp", ""), "/usr/bin/vi -x");
}

// Values a settings file can hold that are not valid CP932 (a lone lead or
// trail byte, a lead byte before a byte that cannot follow it, a code with no
// character) or are spelt differently from how the program writes them.
TEST(AppState, KeysTheRunDidNotChangeAreWrittenBackByteForByte) {
  test::TempDir dir;
  const auto files = core::ProgramFiles::in(dir.path(), "kestrovan");
  core::saveAppState(core::loadAppState(files, "/home/op", {}, none));
  const std::string complete = test::readFile(files.settingsPath);
  const std::vector<std::pair<std::string, std::string>> mutations = {
      {"Mask=*.NC", "Mask=*.N\xF6"},
      {"SendMsg1=", "SendMsg1=AB\x82\xa0\x82"
                    "CD"},
      {"Port=COM1", "Port =  COM1 "},
      {"ModemePort1=", "ModemePort1=COM\x81"},
      {"ModemePort2=", "ModemePort2=\x80\xA0\xFD\xFE\xFF"},
      {"Speed=4800,8,N,2", "Speed=4800,8,N,2\x85\x40"},
      {"InvTime=0", "InvTime= 0"},
  };
  std::string all = complete;
  for (const auto& [from, to] : mutations) {
    ASSERT_NE(complete.find(from + "\r\n"), std::string::npos) << from;
    std::string one = complete;
    one.replace(one.find(from + "\r\n"), from.size(), to);
    all.replace(all.find(from + "\r\n"), from.size(), to);
    test::writeFile(files.settingsPath, one);
    core::saveAppState(core::loadAppState(files, "/home/op", {}, none));
    EXPECT_EQ(test::readFile(files.settingsPath), one) << to;
  }

  // A key the run changed is written; the others keep their bytes.
  test::writeFile(files.settingsPath, all);
  core::AppState state = core::loadAppState(files, "/home/op", {}, none);
  state.settings.Signal = "N";
  core::saveAppState(state);
  std::string expected = all;
  expected.replace(expected.find("Signal=Y"), 8, "Signal=N");
  EXPECT_EQ(test::readFile(files.settingsPath), expected);
}

TEST(AppState, ASettingsFileThatIsALinkIsSavedThroughIt) {
  test::TempDir dir, shared;
  const auto files = core::ProgramFiles::in(dir.path(), "kestrovan");
  test::writeFile(shared.file("kestrovan.INI"), "[Setting]\r\nPort=COM1\r\n");
  ASSERT_EQ(symlink(shared.file("kestrovan.INI").c_str(), files.settingsPath.c_str()), 0);
  core::AppState state = core::loadAppState(files, "/home/op", {}, none);
  state.settings.Port = "COM4";
  core::saveAppState(state);
  struct stat st {};
  ASSERT_EQ(lstat(files.settingsPath.c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(platform::IniFile::load(shared.file("kestrovan.INI")).readString("Setting", "Port", ""), "COM4");
}
