// Unattended transfers: the real program binary, started with command-line
// items as another program or a shortcut would, against the virtual NC
// machine on a pseudo-terminal.
#include "platform/InstanceLock.h"
#include "support/DeviceHolder.h"
#include "support/NcSimProcess.h"
#include "support/ProgramProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace kestrovan;
using namespace std::chrono_literals;

namespace {

// Runs the program to its end (or kills it after `limit`); its exit code.
std::optional<int> runProgram(const test::TempDir& home, const std::vector<std::string>& items,
                              std::chrono::seconds limit) {
  test::ProgramProcess program(KESTROVAN_BINARY, home, home, items);
  return program.waitExit(limit);
}

std::string settingsFile(const std::string& device, const std::string& dataFolder) {
  return "[Ports]\r\nCOM2=" + device + "\r\n[Setting]\r\nDirPath=" + dataFolder +
         "\r\nPort=COM1\r\nStartChar=Y\r\nEndChar=Y\r\n";
}

} // namespace

TEST(Unattended, SendWithEndClosesAfterTheCompletedTransfer) {
  test::TempDir home, data;
  test::writeFile(data.file("O1234.NC"), "%\r\nO1234\r\nG00X0\r\nM30\r\n%\r\n");
  const std::string recording = home.file("nc.bin");
  test::NcSimProcess nc(KESTROVAN_NCSIM, {"--receive", recording, "--end-on-percent", "--idle-ms", "20000"});
  ASSERT_FALSE(nc.path().empty());
  const std::string settings = settingsFile(nc.path(), data.path());
  test::writeFile(home.file("kestrovan.INI"), settings);

  EXPECT_EQ(runProgram(home, {"S=O1234.NC", "COM2", "9600,7,E,2", "END"}, 60s), 0);
  nc.finish();
  // Seven data bits: the characters as they are, between the "%" lines.
  EXPECT_EQ(test::readFile(recording), "%\nO1234\nG00X0\nM30\n\n%");
  const std::string log = test::readFile(home.file("kestrovan.log"));
  EXPECT_NE(log.find(data.file("O1234.NC")), std::string::npos) << log;
  EXPECT_NE(log.find("\x8a\xae\x97\xb9"), std::string::npos) << "a completed entry (完了)";
  EXPECT_EQ(test::readFile(home.file("kestrovan.INI")), settings);
}

TEST(Unattended, ReceiveWithEndSavesTheFileAndCloses) {
  test::TempDir home, data;
  const std::string program = home.file("punch.nc");
  test::writeFile(program, "%\nO2000\nG01X10.Y-5.F100\nM30\n%\n");
  test::NcSimProcess nc(KESTROVAN_NCSIM,
                        {"--punch", program, "--code", "eia", "--wait-open", "--idle-ms", "5000"});
  ASSERT_FALSE(nc.path().empty());
  const std::string settings = settingsFile(nc.path(), data.path());
  test::writeFile(home.file("kestrovan.INI"), settings);

  const std::string target = data.file("NEW.NC");
  EXPECT_EQ(runProgram(home, {"R=" + target, "COM2", "END"}, 60s), 0);
  EXPECT_EQ(test::readFile(target), "%\r\nO2000\r\nG01 X10. Y-5. F100\r\nM30\r\n%\r\n");
  EXPECT_NE(test::readFile(home.file("kestrovan.log")).find(target), std::string::npos);
  EXPECT_EQ(test::readFile(home.file("kestrovan.INI")), settings);
}

// --- when it does not go well -------------------------------------------------

namespace {

std::string longProgram(int lines) {
  std::string text = "O1\r\n";
  for (int i = 1; i <= lines; ++i)
    text += "N" + std::to_string(i) + "G01X" + std::to_string(i) + ".Y-5.F100\r\n";
  return text + "M30\r\n";
}

// The log as its bytes: "中止" (stopped) in Shift-JIS.
const std::string kStoppedSjis = "\x92\x86\x8e\x7e";

} // namespace

// A SIGTERM (a logout, a script's kill) during a send, while the NC holds it
// off as NCs do: the send stops the ordinary way, with DC4 for the NC and a
// log entry, and the program ends at once with the status of a stopped
// transfer.
TEST(Unattended, CloseRequestDuringASendStopsItFirst) {
  test::TempDir home, data;
  test::writeFile(data.file("BIG.NC"), longProgram(20000));
  const std::string recording = home.file("nc.bin");
  test::NcSimProcess nc(KESTROVAN_NCSIM, {"--receive", recording, "--dc3-after", "2000", "--dc1-after-ms",
                                          "600000", "--idle-ms", "60000"});
  ASSERT_FALSE(nc.path().empty());
  test::writeFile(home.file("kestrovan.INI"), settingsFile(nc.path(), data.path()));

  test::ProgramProcess program(KESTROVAN_BINARY, home, home, {"S=BIG.NC", "COM2", "END"});
  ASSERT_TRUE(nc.waitFor("DC3", 30000));
  std::this_thread::sleep_for(500ms);
  program.terminate();
  EXPECT_EQ(program.waitExit(15s), 1);
  const std::vector<std::string> events = nc.finish(10000);
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().rfind("END dc4", 0), 0u) << events.back(); // the NC was told the data has ended
  const std::string log = test::readFile(home.file("kestrovan.log"));
  EXPECT_NE(log.find(kStoppedSjis), std::string::npos) << log;
}

// An NC that stops reading holds the line for good: a close request still
// ends the program, within seconds.
TEST(Unattended, CloseRequestEndsASendToAStalledNc) {
  test::TempDir home, data;
  test::writeFile(data.file("BIG.NC"), longProgram(20000));
  test::NcSimProcess nc(KESTROVAN_NCSIM,
                        {"--receive", home.file("nc.bin"), "--stall-after", "3000", "--idle-ms", "60000"});
  ASSERT_FALSE(nc.path().empty());
  test::writeFile(home.file("kestrovan.INI"), settingsFile(nc.path(), data.path()));

  test::ProgramProcess program(KESTROVAN_BINARY, home, home, {"S=BIG.NC", "COM2", "END"});
  ASSERT_TRUE(nc.waitFor("DC1", 30000));
  std::this_thread::sleep_for(3s); // long past the moment the NC stopped reading
  program.terminate();
  EXPECT_EQ(program.waitExit(15s), 1);
}

// The cable comes out in the middle of an unattended reception: the program
// ends on its own, keeps what arrived and says so in its status.
TEST(Unattended, PulledCableEndsAReceptionWithTheLineLostStatus) {
  test::TempDir home, data;
  const std::string punched = home.file("punch.nc");
  test::writeFile(punched, longProgram(2000));
  test::NcSimProcess nc(KESTROVAN_NCSIM, {"--punch", punched, "--wait-open", "--hangup-after", "5000"});
  ASSERT_FALSE(nc.path().empty());
  test::writeFile(home.file("kestrovan.INI"), settingsFile(nc.path(), data.path()));

  EXPECT_EQ(runProgram(home, {"R=" + data.file("NEW.NC"), "COM2", "END"}, 60s), 3);
  EXPECT_FALSE(test::fileExists(data.file("NEW.NC")));
  const std::string kept = test::readFile(data.file("NEW_PART.NC"));
  EXPECT_EQ(kept.rfind("%\r\nO1\r\nN1 G01 X1. Y-5. F100\r\n", 0), 0u) << kept.substr(0, 80);
  EXPECT_GT(kept.size(), 4000u);
  EXPECT_NE(test::readFile(home.file("kestrovan.log")).find(data.file("NEW_PART.NC")), std::string::npos);
}

// A reception whose data cannot be written ends the program with the status
// of a failure instead of waiting for ever.
TEST(Unattended, ReceptionThatCannotBeWrittenEndsWithTheFailedStatus) {
  test::TempDir home, data;
  const std::string punched = home.file("punch.nc");
  test::writeFile(punched, "%\nO2000\nM30\n%\n");
  test::NcSimProcess nc(KESTROVAN_NCSIM, {"--punch", punched, "--wait-open", "--idle-ms", "5000"});
  ASSERT_FALSE(nc.path().empty());
  test::writeFile(home.file("kestrovan.INI"), settingsFile(nc.path(), data.path()));
  // The name the reception writes under first is taken by a folder.
  std::filesystem::create_directory(data.file("NEW.NC.part"));

  EXPECT_EQ(runProgram(home, {"R=" + data.file("NEW.NC"), "COM2", "END"}, 60s), 2);
  EXPECT_FALSE(test::fileExists(data.file("NEW.NC")));
}

// Two boxes wait at start-up (two missing send files, asked for without END,
// so that an operator is expected at the screen); one close request ends the
// program, and its status says nothing was sent.
TEST(Unattended, OneCloseRequestEndsTheRunWhateverBoxesArePending) {
  test::TempDir home, data;
  test::writeFile(home.file("kestrovan.INI"), settingsFile("/dev/kestrovan-none", data.path()));
  test::ProgramProcess program(KESTROVAN_BINARY, home, home, {"S=MISSING1.NC", "S=MISSING2.NC"});
  // The lock is held once close requests are caught; the first box follows.
  const auto end = std::chrono::steady_clock::now() + 30s;
  while (platform::InstanceLock::acquire(home.path(), "kestrovan.lock").outcome() !=
             platform::InstanceLock::Outcome::HeldByAnother &&
         std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(20ms);
  std::this_thread::sleep_for(500ms);
  EXPECT_FALSE(program.waitExit(0ms)) << "it waits on its box";
  program.terminate();
  EXPECT_EQ(program.waitExit(10s), 1);
}

// --- no box waits in a run with END ------------------------------------------

namespace {

// The run's standard error, and its exit code once it has ended (a run that
// waits on a box is killed after the bound and has none).
struct EndedRun {
  std::optional<int> code;
  std::string errors;
};

using test::DeviceHolder;

EndedRun runUnattended(const test::TempDir& home, const std::vector<std::string>& items) {
  const std::string errors = home.file("stderr.txt");
  std::optional<int> code;
  {
    test::ProgramProcess program(KESTROVAN_BINARY, home, home, items, {.errorFile = errors});
    code = program.waitExit(30s);
  }
  return {code, test::readFile(errors)};
}

} // namespace

TEST(Unattended, NoBoxWaitsInARunWithEnd) {
  {
    SCOPED_TRACE("a send file that is missing");
    test::TempDir home, data;
    test::writeFile(home.file("kestrovan.INI"), settingsFile("/dev/kestrovan-none", data.path()));
    const EndedRun run = runUnattended(home, {"S=NOPE.NC", "COM2", "END"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.errors.find(data.file("NOPE.NC") + "が見つかりません。"), std::string::npos) << run.errors;
  }
  {
    SCOPED_TRACE("a port that cannot be opened");
    test::TempDir home, data;
    test::writeFile(data.file("O1.NC"), "%\r\nO1\r\nM30\r\n%\r\n");
    test::writeFile(home.file("kestrovan.INI"), settingsFile("/dev/kestrovan-none", data.path()));
    const EndedRun run = runUnattended(home, {"S=O1.NC", "COM2", "END"});
    EXPECT_EQ(run.code, 1);
    // At start-up and when the send opens the line: the device, and why.
    EXPECT_NE(run.errors.find("COM2のポートが使用不可です。 通信設定をおこなってください。 デバイス "
                              "/dev/kestrovan-none がありません。\n"),
              std::string::npos)
        << run.errors;
    EXPECT_NE(run.errors.find("COM2のポートが開きません。!! デバイス /dev/kestrovan-none がありません。\n"),
              std::string::npos)
        << run.errors;
  }
  {
    SCOPED_TRACE("a port in use by another program");
    test::TempDir home, data;
    test::writeFile(data.file("O1.NC"), "%\r\nO1\r\nM30\r\n%\r\n");
    test::NcSimProcess nc(KESTROVAN_NCSIM, {"--receive", home.file("nc.bin"), "--idle-ms", "20000"});
    ASSERT_FALSE(nc.path().empty());
    DeviceHolder other(nc.path());
    ASSERT_TRUE(other.holding());
    test::writeFile(home.file("kestrovan.INI"), settingsFile(nc.path(), data.path()));
    const EndedRun run = runUnattended(home, {"S=O1.NC", "COM2", "END"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(
        run.errors.find("COM2のポートが開きません。!! " + nc.path() + " は他のプログラムが使用中です。\n"),
        std::string::npos)
        << run.errors;
  }
  {
    SCOPED_TRACE("a reception into an existing file: the question is answered No");
    test::TempDir home, data;
    const std::string punched = home.file("punch.nc");
    test::writeFile(punched, "%\nO2000\nM30\n%\n");
    test::NcSimProcess nc(KESTROVAN_NCSIM, {"--punch", punched, "--wait-open", "--idle-ms", "20000"});
    ASSERT_FALSE(nc.path().empty());
    test::writeFile(home.file("kestrovan.INI"), settingsFile(nc.path(), data.path()));
    const std::string target = data.file("OLD.NC");
    test::writeFile(target, "%\r\nO1\r\n%\r\n");
    const EndedRun run = runUnattended(home, {"R=" + target, "COM2", "END"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.errors.find("すでに" + target + "が有ります。"), std::string::npos) << run.errors;
    EXPECT_EQ(test::readFile(target), "%\r\nO1\r\n%\r\n");
    EXPECT_FALSE(test::fileExists(data.file("OLD_PART.NC")));
  }
}

// A file brought in by its path (the desktop entry's "kestrovan FILE") in a
// run with END: a different file of that name in the data folder is kept,
// and the run says so.
TEST(Unattended, AFileBroughtInKeepsADifferentFileOfItsNameAndSaysSo) {
  test::TempDir home, data, work;
  test::writeFile(data.file("A.NC"), "%\r\nO0001(SHOP)\r\n%\r\n");
  test::writeFile(work.file("A.NC"), "%\r\nO0001(DESKTOP)\r\n%\r\n");
  test::writeFile(home.file("kestrovan.INI"), settingsFile("/dev/kestrovan-none", data.path()));
  const EndedRun run = runUnattended(home, {work.file("A.NC"), "S=A.NC", "COM2", "END"});
  EXPECT_EQ(run.code, 1); // the port is not there
  EXPECT_EQ(test::readFile(data.file("A.NC")), "%\r\nO0001(SHOP)\r\n%\r\n");
  EXPECT_NE(
      run.errors.find("kestrovan: すでに" + data.file("A.NC") + "が有ります。 上書きしますか？ -> いいえ\n"),
      std::string::npos)
      << run.errors;
}
