// The line over a scripted port: opening steps and their messages, the
// selector step, control characters on reading, and every rule of a write.

#include "serial/Line.h"
#include "support/Bytes.h"

#include "base/SettingsRecord.h"
#include "support/FakeDialogs.h"
#include "support/FakePorts.h"
#include "support/FakeTransferScreen.h"

#include <gtest/gtest.h>

using namespace kestrovan;
using serial::Line;
using serial::OpenFailure;
using serial::TransferMode;
using Status = platform::PortStatus;

using kestrovan::test::bytes;

namespace {

class LineTest : public ::testing::Test {
protected:
  base::SettingsRecord settings = base::defaultSettings("/home/op");
  test::FakePorts ports;
  test::FakeTransferScreen screen;
  test::FakeDialogs dialogs;
  Line line{settings, ports, screen, dialogs};
  test::FakeWire& wire = ports.wire;

  void openForSend() {
    ASSERT_EQ(line.open(TransferMode::Send), OpenFailure::None);
    line.state.ready = true;
  }
  void write(const std::string& text) {
    for (char c : text)
      line.writeChar(static_cast<unsigned char>(c));
  }
};

} // namespace

// --- opening ---------------------------------------------------------------

TEST_F(LineTest, EachOpeningFailureShowsItsMessage) {
  struct Case {
    const char* port;
    const char* speed;
    Status test::FakeWire::*refusal;
    OpenFailure failure;
    const char* message;
  };
  const Case cases[] = {
      {"COM9", "4800,8,N,2", nullptr, OpenFailure::PortNotOpened, "COM9のポートが開きません。!!"},
      {"PRN", "4800,8,N,2", nullptr, OpenFailure::PortNotOpened, "PRNのポートが開きません。!!"},
      {"COM1", "38400,8,N,2", nullptr, OpenFailure::Speed, "通信設定（速度）を確認してください!!"},
      {"COM1", "4800,8,N,x", nullptr, OpenFailure::Other, "通信エラー!!"},
      {"COM1", "4800,8,N,2", &test::FakeWire::configureResult, OpenFailure::ConfigurationRefused,
       "通信速度の設定エラー!!"},
      {"COM1", "4800,8,N,2", &test::FakeWire::timeoutsResult, OpenFailure::TimeoutsRefused, "タイムアウト!!"},
      {"COM1", "4800,8,N,2", &test::FakeWire::purgeResult, OpenFailure::PurgeFailed, "回線初期化エラー!!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    wire.configureResult = wire.timeoutsResult = wire.purgeResult = Status::Ok;
    if (c.refusal) wire.*c.refusal = Status::Failed;
    settings.Port = c.port;
    settings.Speed = c.speed;
    dialogs.shown.clear();
    EXPECT_EQ(line.open(TransferMode::Send), c.failure);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, c.message);
    line.close();
  }
}

namespace {

// A device the user may not open: root opens any device, so the refusal is
// made at the seam.
class ForbiddenPorts : public test::FakePorts {
public:
  platform::SerialPortOpen open(int number) override {
    openedForTransfer.push_back(number);
    return {nullptr, EACCES};
  }
  std::string deviceName(int) override { return "/dev/ttyUSB0"; }
};

} // namespace

TEST(LineOpening, ADeviceThatMayNotBeOpenedIsToldWithTheRemedy) {
  base::SettingsRecord settings = base::defaultSettings("/home/op");
  settings.Port = "COM11";
  ForbiddenPorts ports;
  test::FakeTransferScreen screen;
  test::FakeDialogs dialogs;
  Line line{settings, ports, screen, dialogs};
  EXPECT_EQ(line.open(TransferMode::Receive), OpenFailure::PortNotOpened);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text,
            std::string("COM11のポートが開きません。!!\n/dev/ttyUSB0 を開く権限がありません。\n") +
                serial::kDialoutRemedy);
  EXPECT_NE(dialogs.shown[0].text.find("dialout"), std::string::npos);
}

TEST_F(LineTest, SendAndReceiveConfigureTheLineDifferently) {
  settings.Speed = "9600,7,E,2";
  ASSERT_EQ(line.open(TransferMode::Send), OpenFailure::None);
  ASSERT_EQ(wire.configs.size(), 1u);
  platform::LineConfig send = wire.configs[0];
  EXPECT_EQ(send.speed, 9600);
  EXPECT_EQ(send.dataBits, 7);
  EXPECT_EQ(send.parity, platform::Parity::Even);
  EXPECT_EQ(send.stopBits, platform::StopBits::Two);
  EXPECT_EQ(send.direction, platform::LineDirection::Send);
  EXPECT_EQ(send.xonChar, 0x11);
  EXPECT_EQ(send.xoffChar, 0x93); // DC3(0X93) "Y"
  EXPECT_EQ(line.timeouts().readTotalMs, 10);
  EXPECT_EQ(line.timeouts().writeTotalMs, platform::kWaitForever);
  // The device itself never waits longer than a slice.
  EXPECT_EQ(wire.timeouts.readTotalMs, 10);
  EXPECT_EQ(wire.timeouts.writeTotalMs, serial::kWaitSliceMs);
  EXPECT_EQ(wire.purges, 1);
  EXPECT_FALSE(wire.dtrRaised);
  EXPECT_EQ(screen.dsrLamp, std::vector<bool>{true}); // the lamps follow at opening

  settings.DC3_0X93 = "N";
  ASSERT_EQ(line.open(TransferMode::Receive), OpenFailure::None);
  EXPECT_EQ(wire.closed, 1); // the previous port was let go first
  EXPECT_EQ(wire.configs[1].direction, platform::LineDirection::Receive);
  EXPECT_EQ(wire.configs[1].xoffChar, 0x13);
  EXPECT_EQ(line.timeouts().readTotalMs, 1000);
  EXPECT_EQ(line.timeouts().writeTotalMs, 1000);
  EXPECT_EQ(wire.timeouts.readTotalMs, serial::kWaitSliceMs);
  EXPECT_EQ(wire.timeouts.writeTotalMs, serial::kWaitSliceMs);
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(LineTest, DtrAndRtsOnRequestAndNoModemLinesIsNoRefusal) {
  settings.op1 = "Y";
  wire.modemControl = Status::Unsupported; // a pseudo-terminal
  EXPECT_EQ(line.open(TransferMode::Send), OpenFailure::None);

  wire.modemControl = Status::Ok;
  EXPECT_EQ(line.open(TransferMode::Send), OpenFailure::None);
  EXPECT_TRUE(wire.dtrRaised);
  EXPECT_FALSE(wire.rtsRaised);

  wire.modemControl = Status::Failed;
  EXPECT_EQ(line.open(TransferMode::Send), OpenFailure::ConfigurationRefused);
}

TEST_F(LineTest, SelectorWritesDigitsRawWithPauses) {
  settings.AutoSelect = "Y";
  wire.modemControl = Status::Ok;
  screen.selectorNumber = "1-2";
  std::string journal;
  wire.onWrite = [&](unsigned char b) { journal += static_cast<char>(b); };
  screen.onSleep = [&](int ms) { journal += "[" + std::to_string(ms) + "]"; };

  EXPECT_EQ(line.open(TransferMode::Send), OpenFailure::None);
  // ISO would have sent "1" as 0xB1: the selector digits go out unconverted.
  EXPECT_EQ(journal, "1[3000]2[3000]");
  EXPECT_FALSE(line.state.raw);
  EXPECT_TRUE(wire.dtrRaised);
  EXPECT_TRUE(wire.rtsRaised);
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(LineTest, SelectorCancelledOrEmptyStopsTheOpening) {
  settings.AutoSelect = "Y";
  for (std::optional<std::string> answer : {std::optional<std::string>(), std::optional<std::string>("")}) {
    screen.selectorNumber = answer;
    dialogs.shown.clear();
    EXPECT_EQ(line.open(TransferMode::Receive), OpenFailure::Selector);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "自動選択番号の入力が間違っています。\n通信を一旦中止します。");
    EXPECT_FALSE(line.state.raw);
    EXPECT_TRUE(wire.written.empty());
  }
}

// --- reading ---------------------------------------------------------------

TEST_F(LineTest, ControlCharactersMoveTheReadyFlag) {
  settings.DC3_0X93 = "N"; // the driver's own DC3 choice does not change what is read
  openForSend();
  line.state.code = {true, false};
  wire.incoming = {0x13, 0x11, 0x93, 0x12, 0x14, 0xB1};
  EXPECT_EQ(line.readChar(), 0x13);
  EXPECT_FALSE(line.state.ready);
  EXPECT_EQ(line.readChar(), 0x11);
  EXPECT_TRUE(line.state.ready);
  EXPECT_EQ(line.readChar(), 0x13);
  EXPECT_FALSE(line.state.ready);
  EXPECT_EQ(line.readChar(), 0x12);
  EXPECT_EQ(line.readChar(), 0x14);
  EXPECT_EQ(line.readChar(), '1');
  EXPECT_EQ(line.readChar(), 0); // nothing came
}

TEST_F(LineTest, InEiaTheByte13IsTheDigitThree) {
  openForSend();
  line.state.code = {false, true};
  wire.incoming = {0x13, 0x93};
  EXPECT_EQ(line.readChar(), '3');
  EXPECT_TRUE(line.state.ready);
  EXPECT_EQ(line.readChar(), 0x13);
  EXPECT_FALSE(line.state.ready);
}

TEST_F(LineTest, UndecidedCodeIsDetectedByTheFirstSignificantByte) {
  ASSERT_EQ(line.open(TransferMode::Receive), OpenFailure::None);
  wire.incoming = {0x11, 0x13, 0x0B, 0x46};
  line.readChar();
  line.readChar();
  EXPECT_EQ(line.state.code, (serial::CodeFlags{})); // control characters decide nothing
  EXPECT_EQ(line.readChar(), '%');
  EXPECT_EQ(line.readChar(), 'O');
  EXPECT_EQ(line.state.code, (serial::CodeFlags{false, true}));
}

TEST_F(LineTest, ReceivingHoldsTheNcOffWhenInputBacksUp) {
  ASSERT_EQ(line.open(TransferMode::Receive), OpenFailure::None);
  wire.incoming = {'A', 'B', 'C', 'D'};
  wire.inputQueue.bytes = 1025;
  line.readChar();
  line.readChar(); // held off once, not again
  wire.inputQueue.bytes = 1024;
  line.readChar();
  wire.inputQueue.bytes = 1023;
  line.readChar();
  EXPECT_EQ(wire.written, bytes({0x93, 0x11}));

  settings.DC3_0X93 = "N";
  ASSERT_EQ(line.open(TransferMode::Receive), OpenFailure::None);
  wire.written.clear();
  wire.inputQueue.bytes = 4000;
  line.readChar();
  EXPECT_EQ(wire.written, bytes({0x13}));

  ASSERT_EQ(line.open(TransferMode::Send), OpenFailure::None); // a send never does
  wire.written.clear();
  line.readChar();
  EXPECT_TRUE(wire.written.empty());
}

// --- writing ---------------------------------------------------------------

TEST_F(LineTest, WritesConvertByCodeAndDataBits) {
  openForSend();
  write("G01X10.\n");
  EXPECT_EQ(wire.written, bytes({0x47, 0x30, 0xB1, 0xD8, 0xB1, 0x30, 0x2E, 0x0A}));

  settings.Code = "Y";
  openForSend();
  wire.written.clear();
  write("M30\r\n#:");
  EXPECT_EQ(wire.written, bytes({0x54, 0x13, 0x20, 0x80, 0x46}));

  settings.Speed = "4800,7,E,2"; // the port adds its own parity
  openForSend();
  wire.written.clear();
  write("G1");
  EXPECT_EQ(wire.written, "G1");
  EXPECT_FALSE(line.state.abort);
}

TEST_F(LineTest, BlanksDroppedOnRequest) {
  settings.Send_SP_Cut = "Y";
  openForSend();
  write("G0 X1");
  EXPECT_EQ(wire.written, bytes({0x47, 0x30, 0xD8, 0xB1}));
}

TEST_F(LineTest, WriterWaitsWhileTheNcHoldsItOff) {
  openForSend();
  write("0123456789"); // ten characters: no flow check yet
  EXPECT_TRUE(wire.written.size() == 10);

  // The NC says DC3; the writer must look at the 11th character, stop, and
  // write nothing until DC1 comes.
  wire.incoming = {0x93};
  int readsWhilePaused = 0;
  wire.onRead = [&] {
    if (!line.state.ready) {
      EXPECT_EQ(wire.written.size(), 10u);
      if (++readsWhilePaused == 5) wire.incoming.push_back(0x11);
    }
  };
  line.writeChar('A');
  EXPECT_EQ(readsWhilePaused, 5);
  EXPECT_EQ(wire.written.size(), 11u);
  EXPECT_EQ(line.state.flowCount, 1);
  EXPECT_FALSE(line.state.abort);
}

// While allowed to send, a flow check must not wait out the read time-out
// (that alone would hold a send below the line's speed); held off, it waits
// for the NC with the full time-out.
TEST_F(LineTest, FlowCheckWaitsOnlyWhileHeldOff) {
  openForSend();
  std::vector<int> readTimeouts;
  wire.onRead = [&] {
    readTimeouts.push_back(wire.timeouts.readTotalMs);
    if (readTimeouts.size() == 3) wire.incoming.push_back(0x11);
  };
  wire.incoming = {0x93};
  write(std::string(11, 'A')); // the 11th looks: DC3, then waits for DC1
  EXPECT_EQ(readTimeouts, (std::vector<int>{0, 10, 10}));
  EXPECT_EQ(wire.timeouts.readTotalMs, 10); // the line's own time-out is back
  EXPECT_EQ(wire.written.size(), 11u);
}

TEST_F(LineTest, StopKeyEndsTheFlowWait) {
  openForSend();
  line.state.ready = false;
  line.state.flowCount = 999; // the first character of a send checks the flow
  screen.pressAtEventRun = 3; // seen by the second test of the third pass
  line.writeChar('G');
  EXPECT_TRUE(line.state.abort);
  EXPECT_EQ(screen.releases, 1);
  EXPECT_TRUE(wire.written.empty());
  // Both kinds of test alternate: down now, then down or pressed since.
  EXPECT_EQ(screen.pollKinds[4], serial::StopKeyPoll::DownNow);
  EXPECT_EQ(screen.pollKinds[5], serial::StopKeyPoll::DownOrPressedSinceLastPoll);
}

TEST_F(LineTest, StopKeyBetweenFlowChecksAndWhileReceiving) {
  openForSend();
  screen.tapAtEventRun = screen.eventRuns + 1; // a tap seen only by the second test
  line.writeChar('G');
  EXPECT_TRUE(line.state.abort);
  EXPECT_TRUE(wire.written.empty());

  ASSERT_EQ(line.open(TransferMode::Receive), OpenFailure::None);
  screen.pressStopKey();
  screen.processPendingEvents(); // the window has taken the press
  line.writeChar(0x14);
  EXPECT_TRUE(line.state.abort);
  EXPECT_TRUE(wire.written.empty());
}

TEST_F(LineTest, WriterWaitsForRoomInTheOutputQueue) {
  openForSend();
  wire.outputQueue = {400, 260, 259, 258};
  const int before = screen.eventRuns;
  line.writeChar('G');
  EXPECT_EQ(wire.outputQueuePolls, 4);
  EXPECT_GE(screen.eventRuns - before, 4); // the window stays alive meanwhile
  EXPECT_EQ(wire.written, "G");
}

TEST_F(LineTest, OutputQueueIsReadAgainOnlyWhenItCouldBeFull) {
  openForSend();
  wire.outputQueue = {250};
  write(std::string(9, 'A')); // 250 + 8 written since: below the limit
  EXPECT_EQ(wire.outputQueuePolls, 1);
  wire.outputQueue = {300, 259, 100}; // 250 + 9 could be full: read until there is room
  write("B");
  EXPECT_EQ(wire.outputQueuePolls, 4);
  write(std::string(158, 'C')); // 100 + 159 = 259 after these: read again at the next
  EXPECT_EQ(wire.outputQueuePolls, 4);
  write("D");
  EXPECT_EQ(wire.outputQueuePolls, 5);
  EXPECT_EQ(wire.written.size(), 169u);
}

TEST_F(LineTest, CarrierLostStopsASendAfterTheByte) {
  wire.modem.lines.carrier = false;
  openForSend();
  line.writeChar('G');
  EXPECT_TRUE(line.state.abort);
  EXPECT_EQ(wire.written, "G");

  settings.Signal = "N";
  openForSend();
  line.writeChar('G');
  EXPECT_FALSE(line.state.abort);

  settings.Signal = "Y";
  ASSERT_EQ(line.open(TransferMode::Receive), OpenFailure::None);
  line.writeChar(0x14);
  EXPECT_FALSE(line.state.abort);
}

TEST_F(LineTest, DsrOffRefusesTheByteWhenAsked) {
  wire.modem.lines = {false, false, true};
  openForSend();
  line.writeChar('G');
  EXPECT_FALSE(line.state.abort);
  EXPECT_EQ(wire.written, "G");
  EXPECT_FALSE(screen.dsrLamp.back());
  EXPECT_FALSE(screen.ctsLamp.back());

  settings.op6 = "Y";
  openForSend();
  wire.written.clear();
  line.writeChar('G');
  EXPECT_TRUE(line.state.abort);
  EXPECT_TRUE(wire.written.empty());

  wire.modem.lines = {true, true, true};
  line.state.abort = false;
  line.writeChar('G');
  EXPECT_FALSE(line.state.abort);
  EXPECT_TRUE(screen.dsrLamp.back());
  EXPECT_TRUE(screen.ctsLamp.back());
}

TEST_F(LineTest, UnreadableModemStatusLeavesLampsAndRulesAlone) {
  settings.op6 = "Y";
  wire.modem = {Status::Failed, {false, false, false}};
  openForSend();
  line.writeChar('G');
  EXPECT_FALSE(line.state.abort);
  EXPECT_EQ(wire.written, "G");
  EXPECT_TRUE(screen.dsrLamp.empty());
  EXPECT_TRUE(screen.ctsLamp.empty());
}

TEST_F(LineTest, RefusedWriteOrClosedLineSetsTheAbortFlag) {
  openForSend();
  wire.writeResult = platform::WriteStatus::Failed;
  line.writeChar('G');
  EXPECT_TRUE(line.state.abort);

  line.close();
  line.state.abort = false;
  line.writeChar('G');
  EXPECT_TRUE(line.state.abort);
  EXPECT_EQ(line.readChar(), 0);
}
