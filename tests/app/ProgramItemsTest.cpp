// Command-line items as the real program binary receives them from a shell or
// a shortcut: its own working folder, items that look like toolkit options.
#include "platform/InstanceLock.h"
#include "support/NcSimProcess.h"
#include "support/ProgramProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sys/stat.h>
#include <thread>

using namespace kestrovan;
using namespace std::chrono_literals;

namespace {

// The instance lock is taken once the program is on its way; false when the
// program ended before.
bool waitUntilRunning(test::ProgramProcess& program, const test::TempDir& runtime) {
  const auto end = std::chrono::steady_clock::now() + 20s;
  while (std::chrono::steady_clock::now() < end && !program.waitExit(0ms)) {
    if (platform::InstanceLock::acquire(runtime.path(), "kestrovan.lock").outcome() ==
        platform::InstanceLock::Outcome::HeldByAnother)
      return true;
    std::this_thread::sleep_for(20ms);
  }
  return false;
}

} // namespace

// The toolkit's own options have environment variables (QT_QPA_PLATFORM and
// the like); on the command line every item is the program's.
TEST(ProgramItems, ItemsThatLookLikeToolkitOptionsAreItemsOfTheRun) {
  const std::vector<std::vector<std::string>> runs = {
      {"-platform", "COM2"}, {"-reverse"}, {"-style", "fusion"}, {"-session", "x"}};
  for (const auto& items : runs) {
    test::TempDir home, runtime;
    const std::string original =
        "[Setting]\r\nDirPath=" + home.path() + "\r\n[Ports]\r\nCOM1=/nonexistent-port\r\n";
    test::writeFile(home.file("kestrovan.INI"), original);
    test::ProgramProcess run(KESTROVAN_BINARY, home, runtime, items);
    EXPECT_TRUE(waitUntilRunning(run, runtime))
        << items[0] << " ended with " << run.waitExit(0ms).value_or(-1);
    run.terminate();
    EXPECT_EQ(run.waitExit(20s), 0) << items[0];
    // A run with arguments never writes the settings.
    EXPECT_EQ(test::readFile(home.file("kestrovan.INI")), original) << items[0];
  }
}

TEST(ProgramItems, ARelativeReceivePathIsReadAgainstTheWorkingFolder) {
  test::TempDir home, work;
  ASSERT_EQ(mkdir(work.file("sub").c_str(), 0777), 0);
  const std::string program = home.file("punch.nc");
  test::writeFile(program, "%\nO3000\nG00X0\nM30\n%\n");
  test::NcSimProcess nc(KESTROVAN_NCSIM, {"--punch", program, "--wait-open", "--idle-ms", "5000"});
  ASSERT_FALSE(nc.path().empty());
  const std::string settings = "[Ports]\r\nCOM2=" + nc.path() + "\r\n[Setting]\r\nDirPath=" + home.path() +
                               "\r\nStartChar=Y\r\nEndChar=Y\r\n";
  test::writeFile(home.file("kestrovan.INI"), settings);

  test::ProgramProcess run(KESTROVAN_BINARY, home, home, {"R=sub/REL.NC", "COM2", "END"},
                           {.workingFolder = work.path()});
  EXPECT_EQ(run.waitExit(60s), 0);
  EXPECT_EQ(test::readFile(work.file("sub/REL.NC")), "%\r\nO3000\r\nG00 X0\r\nM30\r\n%\r\n");
  EXPECT_NE(test::readFile(home.file("kestrovan.log")).find(work.file("sub/REL.NC")), std::string::npos);
}
