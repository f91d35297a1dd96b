// Unattended transfers through a COM port that [Ports] maps to the network:
// the real program binary, started with command-line items, against the
// virtual NC behind Debian's ser2net (RFC 2217) or listening on raw TCP
// itself, as an NC behind a device server in raw mode.
#include "support/NcSimProcess.h"
#include "support/ProgramProcess.h"
#include "support/Ser2net.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <optional>

using namespace kestrovan;
using namespace std::chrono_literals;

namespace {

std::optional<int> runProgram(const test::TempDir& home, const std::vector<std::string>& items) {
  test::ProgramProcess program(KESTROVAN_BINARY, home, home, items);
  return program.waitExit(60s);
}

// COM2 is the network port; COM1, the default port, is not. `signal`: the
// carrier rule (ser2net reports the modem lines of a pseudo-terminal, which
// has none, as all off; raw TCP has none and reads as a connected cable).
std::string settingsFile(const std::string& address, const std::string& dataFolder, const char* signal = "Y") {
  return "[Ports]\r\nCOM1=/dev/null\r\nCOM2=" + address + "\r\n[Setting]\r\nDirPath=" + dataFolder +
         "\r\nPort=COM1\r\nStartChar=Y\r\nEndChar=Y\r\nSignal=" + signal + "\r\n";
}

bool hasEvent(const std::vector<std::string>& events, const std::string& event) {
  return std::find(events.begin(), events.end(), event) != events.end();
}

} // namespace

// The line settings given on the command line reach the far UART: ser2net
// sets the pseudo-terminal as the telnet requests ask (a pseudo-terminal
// keeps the speed and the stop bits of a seven-bit request). A send would
// ask whether the NC is ready, as the modem lines read off, and a run with
// END answers no; a reception asks nothing.
TEST(UnattendedNetwork, AReceptionThroughADeviceServerIsSavedWholeAtTheCommandLinesLineSettings) {
  if (test::ser2netProgram().empty()) GTEST_SKIP() << "ser2net is not installed (scripts/lib.sh installs it)";
  test::TempDir home, data;
  const std::string punched = home.file("punch.nc");
  test::writeFile(punched, "%\nO2000(NET)\nG01X10.Y-5.F100\nM30\n%\n");
  test::NcSimProcess nc(KESTROVAN_NCSIM, {"--punch", punched, "--wait-open", "--idle-ms", "5000"});
  ASSERT_FALSE(nc.path().empty());
  test::Ser2net server(home.path(), nc.path(), test::Ser2net::Protocol::Rfc2217, "1200n81");
  ASSERT_TRUE(server.started());
  const std::string settings = settingsFile(server.address(), data.path(), "N");
  test::writeFile(home.file("kestrovan.INI"), settings);

  const std::string target = data.file("NEW.NC");
  EXPECT_EQ(runProgram(home, {"R=" + target, "COM2", "4800,7,E,2", "END"}), 0);
  nc.finish();
  EXPECT_EQ(test::readFile(target), "%\r\nO2000(NET)\r\nG01 X10. Y-5. F100\r\nM30\r\n%\r\n");
  EXPECT_TRUE(hasEvent(nc.events(), "LINE 4800 8N2")) << ::testing::PrintToString(nc.events());
  EXPECT_NE(test::readFile(home.file("kestrovan.log")).find(target), std::string::npos);
  EXPECT_EQ(test::readFile(home.file("kestrovan.INI")), settings);
}

// Raw TCP to the virtual NC listening itself: a send and a reception, byte
// for byte, at the device server's own settings.
TEST(UnattendedNetwork, ASendAndAReceptionOverRawTcpCarryTheBytesAsTheyAre) {
  test::TempDir home, data;
  test::writeFile(data.file("O1234.NC"), "%\r\nO1234\r\nG00X0\r\nM30\r\n%\r\n");
  const std::string recording = home.file("nc.bin");
  {
    test::NcSimProcess nc(KESTROVAN_NCSIM,
                          {"--listen", "0", "--receive", recording, "--end-on-percent", "--idle-ms", "20000"});
    ASSERT_EQ(nc.path().rfind("tcp://127.0.0.1:", 0), 0u) << nc.path();
    test::writeFile(home.file("kestrovan.INI"), settingsFile(nc.path(), data.path()));
    EXPECT_EQ(runProgram(home, {"S=O1234.NC", "COM2", "9600,8,N,1", "END"}), 0);
    nc.finish();
    // Eight bits: ISO with even parity in the eighth.
    EXPECT_EQ(test::readFile(recording),
              "\xA5\x0A\xCF\xB1\xB2\x33\xB4\x0A\x47\x30\x30\xD8\x30\x0A\x4D\x33\x30\x0A\x0A\xA5");
  }
  const std::string punched = home.file("punch.nc");
  test::writeFile(punched, "%\nO2000\nG01X10.Y-5.F100\nM30\n%\n");
  test::NcSimProcess nc(KESTROVAN_NCSIM, {"--listen", "0", "--punch", punched, "--code", "eia", "--wait-open",
                                          "--idle-ms", "5000"});
  ASSERT_EQ(nc.path().rfind("tcp://127.0.0.1:", 0), 0u) << nc.path();
  test::writeFile(home.file("kestrovan.INI"), settingsFile(nc.path(), data.path()));
  const std::string target = data.file("NEW.NC");
  EXPECT_EQ(runProgram(home, {"R=" + target, "COM2", "9600,8,N,1", "END"}), 0);
  EXPECT_EQ(test::readFile(target), "%\r\nO2000\r\nG01 X10. Y-5. F100\r\nM30\r\n%\r\n");
}
