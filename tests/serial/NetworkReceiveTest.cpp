// Receptions from an NC behind ser2net; see NetworkNc.h.

#include "NetworkNc.h"
#include "ReceiveHarness.h"

using namespace kestrovan;
using serial::ReceiveEnd;
using serial::SaveMode;
using test::hasEvent;
using test::NetworkNc;
using test::Ser2net;

namespace {

class NetworkReceiveTest : public ::testing::Test, protected test::ReceiveHarness {
protected:
  NetworkNc net;
  test::TempDir source;
  std::unique_ptr<serial::Line> line;
  std::function<void()> script;

  void SetUp() override {
    KESTROVAN_NEEDS_SER2NET();
    settings.Port = "COM4";
    // ser2net reports the modem lines of a pseudo-terminal, which has none, as all off.
    settings.Signal = "N";
    settings.StartChar = "N";
    settings.EndChar = "Y";
    settings.Read_SP_Cut = "N";
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    screen.base.onEvents = [this, giveUp] {
      if (script) script();
      if (std::chrono::steady_clock::now() > giveUp) screen.base.pressStopKey();
    };
  }
  void punch(const std::string& program, const std::string& code, std::vector<std::string> more = {},
             test::Ser2net::Protocol protocol = test::Ser2net::Protocol::Rfc2217) {
    line.reset();
    const std::string file = source.file("punch.NC");
    test::writeFile(file, program);
    std::vector<std::string> args{"--punch", file, "--code", code, "--wait-open", "--idle-ms", "3000"};
    args.insert(args.end(), more.begin(), more.end());
    net.start(source.path(), args, protocol);
    line = std::make_unique<serial::Line>(settings, *net.ports, screen, dialogs);
  }
};

} // namespace

// Receptions in ISO and EIA at both line settings, byte for byte (the
// pseudo-terminal shows the speed and stop bits of the request).
TEST_F(NetworkReceiveTest, ProgramsArriveAsPunchedInBothCodesAndBothLineSettings) {
  const std::string program = "O1\nG01X1.Y-5.\nG01X2.\nM30\n";
  for (const char* speed : {"9600,8,N,1", "4800,7,E,2"})
    for (const char* code : {"iso", "eia"}) {
      if (std::string(speed) == "4800,7,E,2" && std::string(code) == "eia") {
        continue; // EIA needs 8 bits
      }
      SCOPED_TRACE(std::string(speed) + " " + code);
      settings.Speed = speed;
      punch(program, code);
      ASSERT_EQ(receive(*line, SaveMode::ByName, "R.NC").end, ReceiveEnd::Completed);
      EXPECT_EQ(test::readFile(data.file("R.NC")), "O1\r\nG01 X1. Y-5.\r\nG01 X2.\r\nM30\r\n%\r\n");
      std::vector<std::string> events = net.nc->finish();
      EXPECT_TRUE(hasEvent(events, std::string("LINE ") + (speed[0] == '9' ? "9600 8N1" : "4800 8N2")));
    }
}

// The device server goes in the middle of a reception: the failure path, a
// log entry, and what arrived kept under its own name.
TEST_F(NetworkReceiveTest, DeviceServerGoneMidReceptionKeepsWhatArrived) {
  settings.Speed = "9600,8,N,1";
  std::string program = "O1\n";
  for (int i = 1; i <= 400; ++i)
    program += "G01X" + std::to_string(i) + ".\n";
  punch(program + "M30\n", "iso", {"--leader", "0", "--baud", "9600", "--idle-ms", "600000"});
  bool killed = false;
  script = [&] {
    if (!killed && screen.view.size() >= 5) {
      net.server->kill();
      killed = true;
    }
  };
  serial::ReceiveOutcome o = receive(*line, SaveMode::ByName, "R.NC");
  ASSERT_TRUE(killed);
  EXPECT_FALSE(screen.base.failsafeTripped);
  EXPECT_EQ(o.end, ReceiveEnd::Failed);
  EXPECT_TRUE(o.lineLost);
  EXPECT_EQ(o.keptPartialFile, data.file("R_PART.NC"));
  const std::string kept = test::readFile(data.file("R_PART.NC"));
  EXPECT_EQ(kept.rfind("O1\r\nG01 X1.\r\nG01 X2.\r\n", 0), 0u) << kept;
  EXPECT_EQ(logEntries().back(), test::receiveLogEntry(false, data.file("R_PART.NC")));
}

// Raw TCP carries no modem line: the carrier and DSR rules see a wired NC
// (the reception is not held up or cut short), and the lamps say "unknown"
// rather than on.
TEST_F(NetworkReceiveTest, RawTcpReceptionShowsTheLampsUnknown) {
  settings.Speed = "9600,8,N,1";
  settings.Signal = "Y";
  settings.op6 = "Y";
  punch("O1\nG01X1.\nM30\n", "iso", {}, test::Ser2net::Protocol::Raw);
  ASSERT_EQ(receive(*line, SaveMode::ByName, "R.NC").end, ReceiveEnd::Completed);
  EXPECT_EQ(test::readFile(data.file("R.NC")), "O1\r\nG01 X1.\r\nM30\r\n%\r\n");
  EXPECT_GT(screen.base.lampsUnknown, 0);
  EXPECT_TRUE(screen.base.dsrLamp.empty());
  EXPECT_TRUE(screen.base.ctsLamp.empty());
}
