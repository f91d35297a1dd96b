// Unattended transfers: the real program binary, started with command-line
// items as another program or a shortcut would, against the virtual NC
// machine on a pseudo-terminal.
#include "support/NcSimProcess.h"
#include "support/ProgramProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>

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
