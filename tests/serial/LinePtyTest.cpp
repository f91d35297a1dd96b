// The line over a real pseudo-terminal, with kestrovan-ncsim as the NC: what
// the NC records and sends are checked byte for byte.

#include "serial/Line.h"

#include "base/SettingsRecord.h"
#include "platform/IniFile.h"
#include "serial/PortProbe.h"
#include "support/FakeDialogs.h"
#include "support/FakeTransferScreen.h"
#include "support/NcSimProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace kestrovan;
using serial::Line;
using serial::OpenFailure;
using serial::TransferMode;

namespace {

class LinePtyTest : public ::testing::Test {
protected:
  test::TempDir dir;
  base::SettingsRecord settings = base::defaultSettings("/home/op");
  platform::IniFile profile;
  std::unique_ptr<serial::DevicePortOpener> ports;
  test::FakeTransferScreen screen;
  test::FakeDialogs dialogs;
  std::unique_ptr<Line> line;
  std::unique_ptr<test::NcSimProcess> nc;

  // Starts the NC and makes COM4 its end of the line.
  void startNc(std::vector<std::string> args) {
    nc = std::make_unique<test::NcSimProcess>(KESTROVAN_NCSIM, args);
    ASSERT_FALSE(nc->path().empty());
    profile = platform::IniFile::fromBytes("[Ports]\nCOM4=" + nc->path() + "\n");
    ports = std::make_unique<serial::DevicePortOpener>(profile);
    settings.Port = "COM4";
    line = std::make_unique<Line>(settings, *ports, screen, dialogs);
  }
  void write(const std::string& text) {
    for (char c : text) {
      line->writeChar(static_cast<unsigned char>(c));
      ASSERT_FALSE(line->state.abort);
    }
  }
  // The stop path's last byte: DC4 goes out whatever the NC said.
  void endWithDc4() {
    line->state.ready = true;
    line->state.abort = false;
    line->writeChar(0x14);
  }
};

std::string program(int lines) {
  std::string text;
  for (int i = 1; i <= lines; ++i)
    text += "N" + std::to_string(i) + "G01X10.Y-5.\n";
  return text;
}

std::string iso(const std::string& text) {
  std::string out;
  for (char c : text)
    out += static_cast<char>(serial::isoEncode(static_cast<unsigned char>(c)));
  return out;
}

} // namespace

TEST_F(LinePtyTest, BytesWrittenArriveConvertedInIsoAndEia) {
  for (const char* code : {"N", "Y"}) {
    SCOPED_TRACE(code);
    const std::string out = dir.file(std::string("out") + code);
    startNc({"--receive", out, "--idle-ms", "10000"});
    settings.Code = code;
    ASSERT_EQ(line->open(TransferMode::Send), OpenFailure::None);
    line->state.ready = true;
    write("G01X10.\nM30\n");
    endWithDc4();
    line->close();
    std::vector<std::string> events = nc->finish();
    EXPECT_EQ(events.back(), "END dc4 13");
    if (std::string(code) == "N")
      EXPECT_EQ(test::readFile(out), "\x47\x30\xB1\xD8\xB1\x30\x2E\x0A\x4D\x33\x30\x0A\x14");
    else
      EXPECT_EQ(test::readFile(out), std::string("\x67\x20\x01\x37\x01\x20\x6B\x80\x54\x13\x20\x80\x14", 13));
  }
}

// Eight data bits (ISO with parity, the NC's DC3 as 0x93) and seven (the
// characters as they are; the line delivers the NC's DC3 as 0x13).
TEST_F(LinePtyTest, Dc3StopsTheWriterWithinTheBoundAndDc1ResumesIt) {
  for (const char* speed : {"4800,8,N,2", "4800,7,E,2"}) {
    SCOPED_TRACE(speed);
    const bool sevenBits = std::string(speed).find(",7,") != std::string::npos;
    const std::string out = dir.file(std::string("out") + (sevenBits ? "7" : "8"));
    startNc({"--receive", out, "--dc3-after", "100", "--dc1-after-ms", "400", "--idle-ms", "10000"});
    settings.Speed = speed;
    ASSERT_EQ(line->open(TransferMode::Send), OpenFailure::None);
    line->state.code = serial::sendCodeFlags(line->lineSettings().dataBits, settings.Code);
    line->state.ready = true;
    // Far more than the pseudo-terminal buffers, so that the writer is still
    // writing when the NC's DC3 comes, however the two processes are scheduled.
    const std::string text = program(4000);
    write(text);
    endWithDc4();
    line->close();

    std::vector<std::string> events = nc->finish();
    const long paused = test::eventNumber(events, "DC3");
    long resumed = -1; // the first DC1 after the DC3 (an earlier one may have said "ready")
    for (auto e = std::find(events.begin(), events.end(), "DC3 100"); e != events.end() && resumed < 0; ++e)
      if (e->rfind("DC1 ", 0) == 0) resumed = std::stol(e->substr(4));
    const long backlog = test::eventNumber(events, "BACKLOG");
    ASSERT_EQ(paused, 100);
    ASSERT_GT(resumed, 0);
    ASSERT_GE(backlog, 0);
    // After the NC's DC3 the writer notices it within ten characters, and at
    // most a full output queue is still on its way. What the PC had written
    // before the DC3 could reach it (the pseudo-terminal has no output queue
    // to cap) is not the writer's doing. Nor is the moment the kernel hands
    // the DC3 on to the PC's side: a pseudo-terminal passes bytes through a
    // work queue, which a loaded machine runs late, while the writer goes
    // on. The exact bound is measured on a simulated UART (bench/SendBench).
    constexpr long kPtyDelivery = 128;
    EXPECT_LE(resumed - paused - backlog,
              serial::kFlowCheckAfter + 1 + serial::kOutputQueueLimit + kPtyDelivery);
    // Nothing lost, nothing doubled.
    EXPECT_EQ(test::readFile(out), (sevenBits ? text : iso(text)) + "\x14");
  }
}

TEST_F(LinePtyTest, ReadWithNothingOnTheLineGivesZero) {
  startNc({"--receive", dir.file("out"), "--no-dc1", "--idle-ms", "10000"});
  ASSERT_EQ(line->open(TransferMode::Receive), OpenFailure::None);
  EXPECT_EQ(line->readChar(), 0);
  ASSERT_EQ(line->open(TransferMode::Send), OpenFailure::None);
  EXPECT_EQ(line->readChar(), 0);
}

TEST_F(LinePtyTest, StopKeyWhileTheNcHoldsOffAborts) {
  const std::string out = dir.file("out");
  startNc({"--receive", out, "--no-dc1", "--idle-ms", "10000"});
  ASSERT_EQ(line->open(TransferMode::Send), OpenFailure::None);
  line->state.ready = false; // the NC never says it is ready
  line->state.flowCount = 999;
  screen.pressAtEventRun = 3; // seen by the first test of the fourth pass
  line->writeChar('G');
  EXPECT_TRUE(line->state.abort);
  EXPECT_EQ(screen.releases, 1);
  endWithDc4();
  line->close();
  nc->finish();
  EXPECT_EQ(test::readFile(out), "\x14");
}

TEST_F(LinePtyTest, NoReceivedByteIsSwallowedInAnyCode) {
  // EIA's "3" is 0x13, the DC3 of a driver set to 0x13. Every digit must
  // still arrive, whichever DC3 byte is configured.
  const std::string file = dir.file("O3333.NC");
  test::writeFile(file, "O3333\r\nG01X3.3Y-13.\r\nM30\r\n");
  for (const char* code : {"eia", "iso"}) {
    for (const char* dc3 : {"N", "Y"}) {
      SCOPED_TRACE(std::string(code) + " DC3(0X93)=" + dc3);
      startNc(
          {"--punch", file, "--code", code, "--wait-open", "--start-delay-ms", "300", "--idle-ms", "10000"});
      settings.DC3_0X93 = dc3;
      ASSERT_EQ(line->open(TransferMode::Receive), OpenFailure::None);
      std::string text;
      for (int idle = 0; idle < 20;) {
        unsigned char c = line->readChar();
        if (c == 0x14) break;
        if (c == 0) {
          ++idle;
          continue;
        }
        if (c != '\n' || !text.empty()) text += static_cast<char>(c); // leader
      }
      EXPECT_EQ(text, "%\nO3333\nG01X3.3Y-13.\nM30\n%\n");
      EXPECT_EQ(line->state.code,
                (serial::CodeFlags{std::string(code) == "iso", std::string(code) == "eia"}));
      endWithDc4();
      line->close();
      std::vector<std::string> events = nc->finish();
      EXPECT_EQ(events.back().rfind("END dc4", 0), 0u) << events.back();
    }
  }
}

TEST_F(LinePtyTest, EveryOfferedSpeedAndFramingConfiguresARealTerminal) {
  startNc({"--receive", dir.file("out"), "--no-dc1", "--idle-ms", "10000"});
  for (const char* speed :
       {"1200,8,N,1", "2400,7,E,2", "4800,7,O,1", "9600,8,N,2", "14400,7,E,3", "19200,8,N,2"}) {
    settings.Speed = speed;
    EXPECT_EQ(line->open(TransferMode::Send), OpenFailure::None) << speed;
    EXPECT_EQ(line->open(TransferMode::Receive), OpenFailure::None) << speed;
  }
  EXPECT_TRUE(dialogs.shown.empty());
  // A pseudo-terminal has no modem lines: it reads as a cable with all of them on.
  platform::ModemStatus modem = line->modemStatus();
  EXPECT_EQ(modem.status, platform::PortStatus::Unsupported);
  EXPECT_TRUE(modem.lines.dsr && modem.lines.cts && modem.lines.carrier);
  EXPECT_TRUE(screen.dsrLamp.back());
}

TEST_F(LinePtyTest, MissingDeviceAndModemPort) {
  startNc({"--receive", dir.file("out"), "--no-dc1", "--idle-ms", "10000"});
  profile = platform::IniFile::fromBytes("[Ports]\nCOM4=" + nc->path() + "\nCOM5=/dev/kestrovan-none\n");
  settings.Port = "COM5";
  EXPECT_EQ(line->open(TransferMode::Send), OpenFailure::PortNotOpened);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text,
            "COM5のポートが開きません。!!\nデバイス /dev/kestrovan-none がありません。");

  EXPECT_TRUE(ports->openAndClose(4));
  EXPECT_TRUE(serial::probePort(4, *ports, "", ""));
  EXPECT_FALSE(serial::probePort(4, *ports, "com4", ""));
  EXPECT_FALSE(serial::probePort(5, *ports, "", ""));
}
