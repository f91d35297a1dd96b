// Sends over a real pseudo-terminal with kestrovan-ncsim as the NC, which
// records every byte it receives: the streams are compared byte for byte.

#include "SendFixture.h"

#include "platform/IniFile.h"
#include "serial/PortProbe.h"
#include "serial/SendTexts.h"
#include "support/NcSimProcess.h"
#include "support/Samples.h"
#include "support/WrittenPrograms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <mutex>
#include <thread>

using namespace kestrovan;
using serial::SendOutcome;
using test::iso;

namespace {

const std::string kDc4 = "\x14";
const char* const kFiveLines = "%\r\nO1234\r\nG00X0\r\nM30\r\n%\r\n";

class SendPtyTest : public ::testing::Test, protected test::SendFixture {
protected:
  platform::IniFile profile;
  std::unique_ptr<serial::DevicePortOpener> ports;
  std::unique_ptr<test::NcSimProcess> nc;
  std::string recording = dir.file("nc.bin");

  // The NC on COM4, ending at DC4, at a "%" after program data when
  // `endOnPercent`, or after five quiet seconds.
  void startNc(bool endOnPercent, std::vector<std::string> extra = {}) {
    std::vector<std::string> args{"--receive", recording, "--idle-ms", "5000"};
    if (endOnPercent) args.push_back("--end-on-percent");
    args.insert(args.end(), extra.begin(), extra.end());
    nc = std::make_unique<test::NcSimProcess>(KESTROVAN_NCSIM, args);
    ASSERT_FALSE(nc->path().empty());
    profile = platform::IniFile::fromBytes("[Ports]\nCOM4=" + nc->path() + "\n");
    ports = std::make_unique<serial::DevicePortOpener>(profile);
    settings.Port = "COM4";
  }
  serial::SendResult sendOver(std::vector<std::string> files, bool marked = false) {
    return send(*ports, std::move(files), marked);
  }
  // Everything the NC received, once it has finished.
  std::string received() {
    nc->finish();
    return test::readFile(recording);
  }
  void framed() {
    settings.StartChar = "Y";
    settings.StartChar_Type = 1;
    settings.EndChar = "Y";
    settings.EndChar_Type = 1;
  }
  // Holds by DC3 and releases by DC1 change nothing of the stream.
  void expectHoldsLoseAndDoubleNothing(const std::string& text);
  // An LF file without a last line end, ending "<lastBlock>", blank, "%",
  // sends as the same file in CR LF.
  void expectSentAsItsCrLfTwin(const std::string& lf, const std::string& lastBlock);
};

} // namespace

TEST_F(SendPtyTest, FiveLineProgramInIsoBetweenPercentLines) {
  framed();
  program("O1234.NC", kFiveLines);
  startNc(true);
  serial::SendResult result = sendOver({"O1234.NC"});

  // "%" LF, the three lines (the file's own "%" lines are skipped), LF "%", no DC4.
  EXPECT_EQ(received(), "\xA5\x0A\xCF\xB1\xB2\x33\xB4\x0A\x47\x30\x30\xD8\x30\x0A\x4D\x33\x30\x0A\x0A\xA5");
  EXPECT_EQ(nc->events().back(), "END percent 20");
  EXPECT_EQ(result.outcome, SendOutcome::Completed);
  EXPECT_EQ(result.returnToIdleAfterMs, 3000);
  EXPECT_TRUE(result.clearMarks);
  EXPECT_FALSE(result.closingProgram);
  EXPECT_EQ(logEntries(), std::vector<std::string>{completedEntry("O1234.NC")});
  ASSERT_FALSE(screen.messages.empty());
  EXPECT_EQ(screen.messages.back(),
            std::make_pair(std::string("送信完了しました。!!"), serial::MessageColour::Lime));
  EXPECT_EQ(window.hidden, 1);
  EXPECT_FALSE(window.timerRunning);
  // The operator saw the 4 seconds the NC gets to read the end before the line closed.
  EXPECT_NE(std::find(screen.sleeps.begin(), screen.sleeps.end(), serial::kCompletedLingerMs),
            screen.sleeps.end());
}

TEST_F(SendPtyTest, WithoutEndCharactersTheStreamEndsWithDc4) {
  framed();
  settings.EndChar = "N";
  program("O1234.NC", kFiveLines);
  startNc(false);
  EXPECT_EQ(sendOver({"O1234.NC"}).outcome, SendOutcome::Completed);
  EXPECT_EQ(received(), iso("%\nO1234\nG00X0\nM30\n") + kDc4);
  EXPECT_EQ(nc->events().back(), "END dc4 19");
}

TEST_F(SendPtyTest, EiaWithEightDataBitsAfterTheOperatorsYes) {
  framed();
  settings.Code = "Y";
  settings.Signal = "N";
  dialogs.answers = {base::MessageAnswer::Yes};
  program("O1234.NC", kFiveLines);
  startNc(true);
  EXPECT_EQ(sendOver({"O1234.NC"}).outcome, SendOutcome::Completed);
  EXPECT_EQ(received(), std::string("\x0B\x80\x46\x01\x02\x13\x04\x80\x67\x20\x20\x37\x20\x80\x54\x13\x20\x80"
                                    "\x80\x0B"));
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, serial::kNcReadyQuestion);
}

TEST_F(SendPtyTest, SevenDataBitsSendTheCharactersUnconverted) {
  framed();
  settings.Speed = "4800,7,E,2";
  program("O1234.NC", kFiveLines);
  startNc(true);
  EXPECT_EQ(sendOver({"O1234.NC"}).outcome, SendOutcome::Completed);
  EXPECT_EQ(received(), "%\nO1234\nG00X0\nM30\n\n%");
}

// Comments, remarks, "%" in and out of comments, the unwanted text and tabs,
// each with the switches that change them.
TEST_F(SendPtyTest, LineFilters) {
  const std::string file =
      "G01X10.(PASS 1)\r\nG01X10.;REMARK\r\nN10%\r\n(N10%)\r\nG00BLOCKX1\r\nG01\tX5.'NOTE\r\n";
  struct Case {
    const char* msgOp;
    const char* sendMsg1;
    const char* spCut;
    std::string stream;
  } cases[] = {
      {"N", "BLOCK", "N", "\nG01X10.(PASS 1)\nG01X10.\nN10\n(N10%)\nG00     X1\nG01X5.\n"},
      {"Y", "BLOCK", "Y", "\nG01X10.(PASS1)\nG01X10.;REMARK\nN10\n(N10%)\nG00X1\nG01X5.'NOTE\n"},
      {"Y", "", "N", "\nG01X10.(PASS 1)\nG01X10.;REMARK\nN10\n(N10%)\nG00BLOCKX1\nG01X5.'NOTE\n"},
  };
  settings.EndChar = "N";
  program("F.NC", file);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("MSG_OP ") + c.msgOp + " SendMsg1 " + c.sendMsg1 + " Send_SP_Cut " + c.spCut);
    settings.MSG_OP = c.msgOp;
    settings.SendMsg1 = c.sendMsg1;
    settings.Send_SP_Cut = c.spCut;
    startNc(false);
    EXPECT_EQ(sendOver({"F.NC"}).outcome, SendOutcome::Completed);
    EXPECT_EQ(received(), iso(c.stream) + kDc4);
  }
}

TEST_F(SendPtyTest, PreProcessingLeaderOrPause) {
  framed();
  settings.EndChar = "N";
  program("O1.NC", "O1\r\n");
  for (int before : {1, 2}) {
    SCOPED_TRACE(before);
    settings.Send_Before = before;
    screen.sleeps.clear();
    startNc(false);
    EXPECT_EQ(sendOver({"O1.NC"}).outcome, SendOutcome::Completed);
    const std::string leader = before == 1 ? std::string(200, '\xA0') : "";
    EXPECT_EQ(received(), leader + iso("%\nO1\n") + kDc4);
    EXPECT_EQ(std::count(screen.sleeps.begin(), screen.sleeps.end(), serial::kLeaderPauseMs),
              before == 2 ? 1 : 0);
  }
}

TEST_F(SendPtyTest, MarkedFilesGoOutInOneStreamWithOneLogEntryEach) {
  framed();
  program("A.NC", "%\r\nO1\r\nM99\r\n%\r\n");
  program("B.NC", "O2\nM99\n");
  program("C.NC", "O3\r\nM30");
  startNc(true);
  serial::SendResult result = sendOver({"C.NC", "A.NC", "B.NC"}, true);

  EXPECT_EQ(received(), iso("%\nO3\nM30\nO1\nM99\nO2\nM99\n\n%"));
  EXPECT_EQ(result.outcome, SendOutcome::Completed);
  EXPECT_EQ(result.filesCompleted, 3);
  EXPECT_EQ(logEntries(), (std::vector<std::string>{completedEntry("C.NC"), completedEntry("A.NC"),
                                                    completedEntry("B.NC")}));
  EXPECT_EQ(window.markedSelections, (std::vector<std::size_t>{0, 1, 2}));
  EXPECT_EQ(window.remainingLines.back(), "残り 0ﾊﾞｲﾄ");
  // Each further file is announced with its own name and size.
  EXPECT_NE(
      std::find(screen.panels.begin(), screen.panels.end(), std::make_pair(0, std::string("送信名 B.NC"))),
      screen.panels.end());
  EXPECT_NE(std::find(window.remainingLines.begin(), window.remainingLines.end(), "残り 7ﾊﾞｲﾄ"),
            window.remainingLines.end());
}

TEST_F(SendPtyTest, StopDuringTheSecondFileLogsOneCompletedAndOneStopped) {
  framed();
  program("A.NC", "O1\r\nM30\r\n");
  program("B.NC", "O2\r\nG00X1\r\nG00X2\r\nM30\r\n");
  program("C.NC", "O3\r\n");
  // F3 goes down as the third line of the second file is about to go out.
  window.onSelectLine = [&](std::size_t index) {
    if (window.markedSelections.size() == 2 && index == 2) screen.pressStopKey();
  };
  startNc(false);
  serial::SendResult result = sendOver({"A.NC", "B.NC", "C.NC"}, true);

  EXPECT_EQ(received(), iso("%\nO1\nM30\nO2\nG00X1\n") + kDc4);
  EXPECT_EQ(result.outcome, SendOutcome::Stopped);
  EXPECT_EQ(result.returnToIdleAfterMs, 1000);
  EXPECT_TRUE(result.clearMarks);
  EXPECT_EQ(logEntries(), (std::vector<std::string>{completedEntry("A.NC"), stoppedEntry("B.NC")}));
  EXPECT_EQ(screen.messages.back(),
            std::make_pair(std::string("送信中止しました。!!"), serial::MessageColour::Red));
  EXPECT_EQ(screen.releases, 1);
}

TEST_F(SendPtyTest, SignalNAnsweredNoSendsOnlyDc4) {
  settings.Signal = "N";
  dialogs.answers = {base::MessageAnswer::No};
  program("O1234.NC", kFiveLines);
  startNc(false);
  serial::SendResult result = sendOver({"O1234.NC"});

  EXPECT_EQ(received(), kDc4);
  EXPECT_EQ(result.outcome, SendOutcome::Stopped);
  EXPECT_EQ(logEntries(), std::vector<std::string>{stoppedEntry("O1234.NC")});
  EXPECT_EQ(screen.messages.back(),
            std::make_pair(std::string("送信中止しました。!!"), serial::MessageColour::Red));
  EXPECT_EQ(screen.panels.back(), std::make_pair(3, std::string("送信中止しました。")));
}

// The NC holds the send off several times; the stream must be the very one it
// gets without pauses.
TEST_F(SendPtyTest, Dc3MidFileAndDc1LaterLoseAndDoubleNothing) {
  expectHoldsLoseAndDoubleNothing(test::written::namedSubprograms());
}

TEST_F(SendPtyTest, Dc3MidSampleAndDc1LaterLoseAndDoubleNothing) {
  KESTROVAN_NEEDS_SAMPLES("OTHER_DIALECT_NAMED_SUBPROGRAMS.NC");
  expectHoldsLoseAndDoubleNothing(test::readFile(test::samplePath("OTHER_DIALECT_NAMED_SUBPROGRAMS.NC")));
}

void SendPtyTest::expectHoldsLoseAndDoubleNothing(const std::string& text) {
  framed();
  settings.EndChar = "N";
  program("S.NC", text);
  startNc(false);
  ASSERT_EQ(sendOver({"S.NC"}).outcome, SendOutcome::Completed);
  const std::string unpaused = received();
  ASSERT_GT(unpaused.size(), 5000u);

  startNc(false, {"--dc3-after", "700", "--dc3-every", "2500", "--dc1-after-ms", "150"});
  ASSERT_EQ(sendOver({"S.NC"}).outcome, SendOutcome::Completed);
  EXPECT_EQ(received(), unpaused);
  const auto& events = nc->events();
  const auto holds = std::count_if(events.begin(), events.end(),
                                   [](const std::string& e) { return e.rfind("DC3 ", 0) == 0; });
  EXPECT_GE(holds, 2);
  EXPECT_EQ(test::eventNumber(events, "DC3"), 700);
}

// The NC gets the same blocks whatever ends the file's lines.
TEST_F(SendPtyTest, LineEndStylesGiveTheSameStream) {
  framed();
  settings.EndChar = "N";
  const std::vector<std::pair<std::string, std::string>> twins{
      {"CRLF.NC", "O1\r\nG00X1\r\n\r\nM30\r\n"},
      {"LF.NC", "O1\nG00X1\n\nM30\n"},
      {"NOEND.NC", "O1\nG00X1\n\nM30"},
      {"CRCRLF.NC", "O1\r\r\nG00X1\r\r\n\r\r\nM30\r\r\n"},
  };
  for (const auto& [name, bytes] : twins) {
    SCOPED_TRACE(name);
    program(name, bytes);
    startNc(false);
    EXPECT_EQ(sendOver({name}).outcome, SendOutcome::Completed);
    EXPECT_EQ(received(), iso("%\nO1\nG00X1\n\nM30\n") + kDc4);
  }
}

TEST_F(SendPtyTest, LfAndNoFinalLineEndSendsAsItsCrLfTwin) {
  expectSentAsItsCrLfTwin(test::written::handwrittenLf(), test::written::kHandwrittenLastBlock);
}

TEST_F(SendPtyTest, SampleWithLfAndNoFinalLineEndSendsAsItsCrLfTwin) {
  KESTROVAN_NEEDS_SAMPLES("MILL_HANDWRITTEN_O78242.NC");
  expectSentAsItsCrLfTwin(test::readFile(test::samplePath("MILL_HANDWRITTEN_O78242.NC")),
                          "N695 M30 (END OF PROGRAM) ");
}

void SendPtyTest::expectSentAsItsCrLfTwin(const std::string& lf, const std::string& lastBlock) {
  framed();
  ASSERT_NE(lf.back(), '\n');
  ASSERT_EQ(lf.find('\r'), std::string::npos);
  std::string crlf;
  for (char c : lf)
    crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  crlf += "\r\n";
  program("LF.NC", lf);
  program("CRLF.NC", crlf);
  settings.EndChar = "N";
  std::string streams[2];
  for (int i = 0; i < 2; ++i) {
    startNc(false);
    ASSERT_EQ(sendOver({i == 0 ? "LF.NC" : "CRLF.NC"}).outcome, SendOutcome::Completed);
    streams[i] = received();
  }
  EXPECT_EQ(streams[0], streams[1]);
  // The file's last line, "%" without a line end, is skipped like any "%" line.
  EXPECT_TRUE(streams[0].ends_with(iso(lastBlock + "\n\n") + kDc4));
}

// --- a hostile line ---------------------------------------------------------

namespace {

std::string longProgram(int lines) {
  std::string text = "O1\r\n";
  for (int i = 1; i <= lines; ++i)
    text += "N" + std::to_string(i) + "G01X" + std::to_string(i) + ".Y-5.F100\r\n";
  return text + "M30\r\n";
}

// Kills the NC once it has printed an event beginning with `prefix` (or
// after `limit`); says whether the event came.
class NcKiller {
public:
  NcKiller(test::NcSimProcess& nc, std::string prefix, std::chrono::seconds limit)
      : thread_([&nc, prefix, limit, this] {
          eventSeen_ = nc.waitFor(prefix, static_cast<int>(limit.count() * 1000));
          nc.signal(SIGKILL);
        }) {}
  ~NcKiller() { join(); }
  bool join() {
    if (thread_.joinable()) thread_.join();
    return eventSeen_;
  }

private:
  bool eventSeen_ = false;
  std::thread thread_;
};

// Kills the NC after `limit` unless called off first, so that a send blocked
// on the line for good cannot hang the test run.
class Watchdog {
public:
  Watchdog(test::NcSimProcess& nc, std::chrono::seconds limit)
      : thread_([&nc, limit, this] {
          std::unique_lock<std::mutex> lock(mutex_);
          if (!calledOff_.wait_for(lock, limit, [this] { return off_; })) {
            fired_ = true;
            nc.signal(SIGKILL);
          }
        }) {}
  ~Watchdog() { callOff(); }
  // True when it had to kill the NC.
  bool callOff() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      off_ = true;
    }
    calledOff_.notify_all();
    if (thread_.joinable()) thread_.join();
    return fired_;
  }

private:
  std::mutex mutex_;
  std::condition_variable calledOff_;
  bool off_ = false;
  bool fired_ = false;
  std::thread thread_;
};

} // namespace

// The NC holds the send off with DC3 and is then switched off: the send
// ends through its stop path with a log entry, instead of waiting for a DC1
// that cannot come.
TEST_F(SendPtyTest, NcGoneWhileHoldingTheSendOffStopsIt) {
  program("BIG.NC", longProgram(4000));
  startNc(false, {"--dc3-after", "200", "--dc1-after-ms", "600000", "--idle-ms", "600000"});
  NcKiller killer(*nc, "DC3", std::chrono::seconds(30));
  const serial::SendResult result = sendOver({"BIG.NC"});
  EXPECT_TRUE(killer.join()) << "the NC never held the send off";
  EXPECT_FALSE(screen.failsafeTripped);
  EXPECT_EQ(result.outcome, SendOutcome::Stopped);
  EXPECT_TRUE(result.lineLost);
  EXPECT_EQ(logEntries(), std::vector<std::string>{stoppedEntry("BIG.NC")});
  EXPECT_EQ(screen.messages.back().first, "送信中止しました。!!");
}

// The cable comes out in the middle of the program.
TEST_F(SendPtyTest, HangUpMidProgramStopsTheSend) {
  program("BIG.NC", longProgram(4000));
  startNc(false, {"--hangup-after", "3000"});
  const serial::SendResult result = sendOver({"BIG.NC"});
  EXPECT_FALSE(screen.failsafeTripped);
  EXPECT_EQ(result.outcome, SendOutcome::Stopped);
  EXPECT_TRUE(result.lineLost);
  EXPECT_EQ(logEntries(), std::vector<std::string>{stoppedEntry("BIG.NC")});
}

// An NC that stops reading without a word: the writer waits, but in slices,
// with the window alive, and Esc ends the send; the end path's DC4 waits a
// second at most.
TEST_F(SendPtyTest, StalledNcKeepsTheWindowAliveAndEscStops) {
  program("BIG.NC", longProgram(20000)); // far more than the pseudo-terminal holds
  startNc(false, {"--stall-after", "2000", "--idle-ms", "600000"});
  // Should the writer block for good, the NC goes after a while so the test ends.
  Watchdog watchdog(*nc, std::chrono::seconds(40));
  std::int64_t lastProgress = -1;
  auto lastMove = std::chrono::steady_clock::now();
  bool pressed = false;
  screen.onEvents = [&] {
    const std::int64_t now = window.progress.empty() ? 0 : window.progress.back().first;
    if (now != lastProgress) {
      lastProgress = now;
      lastMove = std::chrono::steady_clock::now();
    } else if (!pressed && std::chrono::steady_clock::now() - lastMove > std::chrono::seconds(1)) {
      screen.pressStopKey(); // the operator sees nothing move and presses Esc
      pressed = true;
    }
  };
  const serial::SendResult result = sendOver({"BIG.NC"});
  EXPECT_TRUE(pressed);
  EXPECT_EQ(result.outcome, SendOutcome::Stopped);
  EXPECT_FALSE(result.lineLost); // the line was there all along, only the NC was not
  EXPECT_EQ(logEntries(), std::vector<std::string>{stoppedEntry("BIG.NC")});
  EXPECT_FALSE(watchdog.callOff()) << "the send blocked on the line until the NC was killed";
}
