// Black-box tests: the real program binary, started as a user would, on the
// offscreen platform with its program folder in a temporary folder.
#include "platform/IniFile.h"
#include "platform/InstanceLock.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <optional>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

using namespace kestrovan;
using namespace std::chrono_literals;

namespace {

class Program {
public:
  Program(const std::string& binary, const test::TempDir& home, const test::TempDir& runtime,
          std::vector<std::string> args = {}) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
      std::string v(*e);
      if (v.rfind("KESTROVAN_HOME=", 0) == 0 || v.rfind("XDG_RUNTIME_DIR=", 0) == 0 ||
          v.rfind("QT_QPA_PLATFORM=", 0) == 0 || v.rfind("HOME=", 0) == 0)
        continue;
      env.push_back(v);
    }
    env.push_back("KESTROVAN_HOME=" + home.path());
    env.push_back("XDG_RUNTIME_DIR=" + runtime.path());
    env.push_back("HOME=" + home.path());
    env.push_back("QT_QPA_PLATFORM=offscreen");
    std::vector<std::string> argv{binary};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> a, e;
    for (auto& s : argv)
      a.push_back(s.data());
    a.push_back(nullptr);
    for (auto& s : env)
      e.push_back(s.data());
    e.push_back(nullptr);
    if (posix_spawn(&pid_, binary.c_str(), nullptr, nullptr, a.data(), e.data()) != 0) pid_ = -1;
  }
  ~Program() {
    if (pid_ > 0 && !status_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  // The exit code once the program has ended within `limit`.
  std::optional<int> waitExit(std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!status_) {
      int st = 0;
      if (waitpid(pid_, &st, WNOHANG) == pid_) {
        status_ = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
        break;
      }
      if (std::chrono::steady_clock::now() > end) break;
      std::this_thread::sleep_for(10ms);
    }
    return status_;
  }
  void terminate() { kill(pid_, SIGTERM); }
  bool started() const { return pid_ > 0; }

private:
  pid_t pid_ = -1;
  std::optional<int> status_;
};

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
  Program first(KESTROVAN_BINARY, home, runtime);
  ASSERT_TRUE(first.started());
  ASSERT_TRUE(waitUntilRunning(runtime, "kestrovan"));

  Program second(KESTROVAN_BINARY, home, runtime, {"S=A.NC"});
  EXPECT_EQ(second.waitExit(1s), 0);
  EXPECT_FALSE(first.waitExit(0ms)) << "the first instance must still run";

  first.terminate();
  EXPECT_EQ(first.waitExit(20s), 0);
  platform::IniFile ini = platform::IniFile::load(home.file("kestrovan.INI"));
  EXPECT_EQ(ini.sectionEntries("Main").size(), 2u);
  EXPECT_EQ(ini.sectionEntries("Setting").size(), 19u);
  EXPECT_EQ(ini.sectionEntries("Edit").size(), 2u);
  EXPECT_EQ(ini.sectionEntries("Options").size(), 16u);
  EXPECT_EQ(ini.readString("Setting", "DirPath", ""), home.path());
  EXPECT_EQ(platform::IniFile::load(home.file("OutApp_Sub.ini")).sectionEntries("Application").size(), 79u);
}

TEST(Program, ACopyUnderAnotherNameIsAnotherInstanceWithItsOwnSettings) {
  test::TempDir home, runtime, bin;
  const std::string copy = bin.file("kestrovan2");
  std::filesystem::copy_file(KESTROVAN_BINARY, copy);
  Program first(KESTROVAN_BINARY, home, runtime);
  ASSERT_TRUE(waitUntilRunning(runtime, "kestrovan"));
  Program second(copy, home, runtime);
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
  Program run(KESTROVAN_BINARY, home, runtime, {"/S=A.NC/COM2"});
  ASSERT_TRUE(waitUntilRunning(runtime, "kestrovan"));
  run.terminate();
  EXPECT_EQ(run.waitExit(20s), 0);
  EXPECT_EQ(test::readFile(home.file("kestrovan.INI")), original);
  EXPECT_FALSE(test::fileExists(home.file("OutApp_Sub.ini")));
}

TEST(Program, HelpAndVersionPrintAndExitWithoutAWindow) {
  test::TempDir home, runtime;
  for (const char* option : {"--help", "--version"}) {
    Program run(KESTROVAN_BINARY, home, runtime, {option});
    EXPECT_EQ(run.waitExit(10s), 0) << option;
  }
  EXPECT_FALSE(test::fileExists(home.file("kestrovan.INI")));
}
