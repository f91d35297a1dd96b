// Black-box tests: the real program binary, started as a user would, on the
// offscreen platform with its program folder in a temporary folder.
#include "platform/IniFile.h"
#include "platform/InstanceLock.h"
#include "support/ProgramProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <thread>

using namespace kestrovan;
using namespace std::chrono_literals;

namespace {

// The instance lock is taken once the program is on its way; a test waits for
// it before it does what needs a running first instance.
bool waitUntilRunning(const test::TempDir& runtime, const std::string& name) {
  const auto end = std::chrono::steady_clock::now() + 20s;
  while (std::chrono::steady_clock::now() < end) {
    if (platform::InstanceLock::acquire(runtime.path(), name + ".lock").outcome() ==
        platform::InstanceLock::Outcome::HeldByAnother)
      return true;
    std::this_thread::sleep_for(20ms);
  }
  return false;
}

} // namespace

TEST(Program, ASecondStartEndsAtOnceAndACloseSavesACompleteFile) {
  test::TempDir home, runtime;
  test::ProgramProcess first(KESTROVAN_BINARY, home, runtime);
  ASSERT_TRUE(first.started());
  ASSERT_TRUE(waitUntilRunning(runtime, "kestrovan"));

  test::ProgramProcess second(KESTROVAN_BINARY, home, runtime, {"S=A.NC"});
  EXPECT_EQ(second.waitExit(1s), 0);
  EXPECT_FALSE(first.waitExit(0ms)) << "the first instance must still run";

  first.terminate();
  EXPECT_EQ(first.waitExit(20s), 0);
  platform::IniFile ini = platform::IniFile::load(home.file("kestrovan.INI"));
  EXPECT_EQ(ini.sectionEntries("Main").size(), 2u);
  EXPECT_EQ(ini.sectionEntries("Setting").size(), 19u);
  EXPECT_EQ(ini.sectionEntries("Edit").size(), 3u); // the font and the NC colouring
  EXPECT_EQ(ini.sectionEntries("Options").size(), 16u);
  EXPECT_EQ(ini.readString("Setting", "DirPath", ""), home.path());
  EXPECT_EQ(platform::IniFile::load(home.file("OutApp_Sub.ini")).sectionEntries("Application").size(), 79u);
}

TEST(Program, ACopyUnderAnotherNameIsAnotherInstanceWithItsOwnSettings) {
  test::TempDir home, runtime, bin;
  const std::string copy = bin.file("kestrovan2");
  std::filesystem::copy_file(KESTROVAN_BINARY, copy);
  test::ProgramProcess first(KESTROVAN_BINARY, home, runtime);
  ASSERT_TRUE(waitUntilRunning(runtime, "kestrovan"));
  test::ProgramProcess second(copy, home, runtime);
  ASSERT_TRUE(waitUntilRunning(runtime, "kestrovan2"));
  EXPECT_FALSE(second.waitExit(500ms));
  second.terminate();
  first.terminate();
  EXPECT_EQ(second.waitExit(20s), 0);
  EXPECT_EQ(first.waitExit(20s), 0);
  EXPECT_TRUE(test::fileExists(home.file("kestrovan2.INI")));
  EXPECT_TRUE(test::fileExists(home.file("kestrovan.INI")));
}

TEST(Program, ARunWithArgumentsNeverWritesTheSettings) {
  test::TempDir home, runtime;
  const std::string original = "[Setting]\r\nPort=COM2\r\n[Options]\r\nListColumn=9\r\n";
  test::writeFile(home.file("kestrovan.INI"), original);
  test::ProgramProcess run(KESTROVAN_BINARY, home, runtime, {"/S=A.NC/COM2"});
  ASSERT_TRUE(waitUntilRunning(runtime, "kestrovan"));
  run.terminate();
  EXPECT_EQ(run.waitExit(20s), 1); // the send it asked for (A.NC is missing) never happened
  EXPECT_EQ(test::readFile(home.file("kestrovan.INI")), original);
  EXPECT_FALSE(test::fileExists(home.file("OutApp_Sub.ini")));
}

TEST(Program, HelpAndVersionPrintAndExitWithoutAWindow) {
  test::TempDir home, runtime;
  for (const char* option : {"--help", "--version"}) {
    test::ProgramProcess run(KESTROVAN_BINARY, home, runtime, {option});
    EXPECT_EQ(run.waitExit(10s), 0) << option;
  }
  EXPECT_FALSE(test::fileExists(home.file("kestrovan.INI")));
}

TEST(Program, ShortHelpIsHelp) {
  test::TempDir home, runtime;
  test::ProgramProcess run(KESTROVAN_BINARY, home, runtime, {"-h"});
  EXPECT_EQ(run.waitExit(10s), 0);
  EXPECT_FALSE(test::fileExists(home.file("kestrovan.INI")));
}

// Started from a text console or over ssh without X: one line says why, and
// the status tells a script that it never ran.
TEST(Program, WithoutADisplayOneLineSaysSoAndTheStatusIsTwo) {
  test::TempDir home, runtime;
  const std::string errors = home.file("stderr.txt");
  for (const std::vector<std::string>& items : {std::vector<std::string>{}, {"S=O1.NC", "COM2", "END"}}) {
    test::ProgramProcess run(
        KESTROVAN_BINARY, home, runtime, items,
        {.environment = {"DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM="}, .errorFile = errors});
    EXPECT_EQ(run.waitExit(10s), 2) << items.size();
    const std::string said = test::readFile(errors);
    EXPECT_NE(said.find("DISPLAY"), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  }
  EXPECT_FALSE(test::fileExists(home.file("kestrovan.INI")));
}
