// The send job over a scripted port: the paths a real NC rarely takes (an
// error inside the job, the NC's stop while waiting, a failed opening) and
// what the operator is shown along the way.

#include "SendFixture.h"

#include "serial/SendTexts.h"
#include "support/FakePorts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

using namespace kestrovan;
using serial::SendOutcome;
using test::iso;

namespace {

class SendJobTest : public ::testing::Test, protected test::SendFixture {
protected:
  test::FakePorts ports;

  SendJobTest() {
    ports.wire.incoming = {0x11}; // the NC is ready
    program("O1.NC", "O1\r\nG00X1\r\nM30\r\n");
  }
  serial::SendResult sendOne(bool exitAfterTransfer = false) {
    return send(ports, {"O1.NC"}, false, exitAfterTransfer);
  }
};

} // namespace

TEST_F(SendJobTest, UnexpectedErrorEndsWithoutDc4AndKeepsTheMarks) {
  window.onProgress = [](std::int64_t sent) {
    if (sent > 0) throw std::runtime_error("view gone");
  };
  program("O2.NC", "O2\r\n");
  serial::SendResult result = send(ports, {"O1.NC", "O2.NC"}, true);

  EXPECT_EQ(result.outcome, SendOutcome::Failed);
  EXPECT_FALSE(result.clearMarks);
  EXPECT_EQ(result.returnToIdleAfterMs, 1000);
  EXPECT_EQ(ports.wire.written, iso("\nO1\n")); // the first line, then nothing: no DC4
  EXPECT_EQ(logEntries(), std::vector<std::string>{stoppedEntry("O1.NC")});
  EXPECT_EQ(screen.messages.back(),
            std::make_pair(std::string("送信中止しました。!!"), serial::MessageColour::Red));
  EXPECT_EQ(screen.panels.back(), std::make_pair(3, std::string("送信中止しました。")));
  EXPECT_EQ(window.hidden, 1);
  EXPECT_FALSE(window.timerRunning);
  EXPECT_EQ(ports.wire.closed, 1);
}

TEST_F(SendJobTest, NcStopWhileWaitingCountsOnlyWithOp2) {
  ports.wire.incoming = {0x13, 0x14, '%'};
  settings.op2 = "N";
  EXPECT_EQ(sendOne().outcome, SendOutcome::Completed); // DC3 and DC4 ignored, "%" starts
  EXPECT_EQ(ports.wire.written, iso("\nO1\nG00X1\nM30\n\n%"));

  ports.wire.incoming = {0, 0, 0x13};
  ports.wire.written.clear();
  settings.op2 = "Y";
  serial::SendResult result = sendOne();
  EXPECT_EQ(result.outcome, SendOutcome::Stopped);
  EXPECT_EQ(ports.wire.written, "\x14");
  EXPECT_EQ(logEntries().back(), stoppedEntry("O1.NC"));
  EXPECT_NE(std::find(screen.panels.begin(), screen.panels.end(),
                      std::make_pair(3, std::string(serial::kSendWaitingSignal))),
            screen.panels.end());
}

TEST_F(SendJobTest, StopKeyWhileWaitingForTheSignal) {
  ports.wire.incoming.clear();
  screen.pressAtEventRun = 3; // seen by the first test of the fourth pass
  EXPECT_EQ(sendOne().outcome, SendOutcome::Stopped);
  EXPECT_EQ(screen.releases, 1);
  EXPECT_EQ(ports.wire.written, "\x14");
}

// A tap (pressed and released while the window took its events) is a stop
// too: the next pass's look at whether the key is down now must not use it up.
TEST_F(SendJobTest, ATapOfTheStopKeyWhileWaitingForTheSignalStops) {
  ports.wire.incoming.clear();
  screen.tapAtEventRun = 3;
  screen.pressAtEventRun = 6; // held: only if the tap was lost
  EXPECT_EQ(sendOne().outcome, SendOutcome::Stopped);
  EXPECT_EQ(screen.eventRuns, 3);
  EXPECT_EQ(ports.wire.written, "\x14");
}

TEST_F(SendJobTest, FailedOpeningShowsItsMessageThenStops) {
  settings.Port = "COM9";
  serial::SendResult result = sendOne();
  EXPECT_EQ(result.outcome, SendOutcome::Stopped);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, "COM9のポートが開きません。!!");
  EXPECT_EQ(screen.messages.back().first, "送信中止しました。!!");
  EXPECT_EQ(logEntries(), std::vector<std::string>{stoppedEntry("O1.NC")});
  EXPECT_EQ(window.screenSaverOffs, 0);
}

TEST_F(SendJobTest, NothingToSendStopsAfterOpening) {
  program("EMPTY.NC", "");
  serial::SendResult result = send(ports, {"EMPTY.NC"});
  EXPECT_EQ(result.outcome, SendOutcome::Stopped);
  EXPECT_EQ(dialogs.shown.size(), 1u); // the wrong-format question of the loader
  EXPECT_EQ(ports.wire.written, "\x14");
}

TEST_F(SendJobTest, ExitAfterTransferClosesTheProgramAndPowersOffOnRequest) {
  serial::SendResult plain = sendOne();
  EXPECT_FALSE(plain.closingProgram);
  EXPECT_EQ(window.closeRequests, 0);

  ports.wire.incoming = {0x11};
  serial::SendResult exiting = sendOne(true);
  EXPECT_TRUE(exiting.closingProgram);
  EXPECT_FALSE(exiting.powerOffRequested);
  EXPECT_EQ(window.closeRequests, 1);
  EXPECT_EQ(power.requests, 0);

  ports.wire.incoming = {0x11};
  settings.Power_Off = "Y";
  serial::SendResult off = sendOne(true);
  EXPECT_TRUE(off.powerOffRequested);
  EXPECT_EQ(power.requests, 1);

  // A stopped send never closes or switches off.
  ports.wire.incoming.clear();
  screen.pressStopKey();
  EXPECT_EQ(sendOne(true).outcome, SendOutcome::Stopped);
  EXPECT_EQ(window.closeRequests, 2);
  EXPECT_EQ(power.requests, 1);
}

TEST_F(SendJobTest, ProgressPausesAndTheRemainingDataLine) {
  settings.InvTime = 3;
  pendingSend = "Y"; // a command-line send: its caller has shown the name
  program("P.NC", "AB\r\nM30\nC");
  serial::SendResult result = send(ports, {"P.NC"});
  ASSERT_EQ(result.outcome, SendOutcome::Completed);
  EXPECT_EQ(pendingSend, "N");
  EXPECT_EQ(
      std::count(screen.panels.begin(), screen.panels.end(), std::make_pair(0, std::string("送信名 P.NC"))),
      0);

  // A pause after each character of the lines (not after line feeds or
  // framing), 5 ms after the M30 line, and the 4 s before the line closes.
  EXPECT_EQ(screen.sleeps, (std::vector<int>{3, 3, 3, 3, 3, 5, 3, 4000}));
  EXPECT_EQ(window.selectedLines, (std::vector<std::size_t>{0, 1, 2}));
  // Total 9 bytes: after each line total - sent + 1, then 0 at the end of the file.
  EXPECT_EQ(window.remainingLines, (std::vector<std::string>{"残り 6ﾊﾞｲﾄ(約 0秒)", "残り 2ﾊﾞｲﾄ(約 0秒)",
                                                             "残り 1ﾊﾞｲﾄ(約 0秒)", "残り 0ﾊﾞｲﾄ"}));
  EXPECT_EQ(window.progress,
            (std::vector<std::pair<std::int64_t, std::int64_t>>{{0, 9}, {4, 9}, {8, 9}, {9, 9}, {0, 9}}));
  EXPECT_EQ(window.timerStarts, 1);
  EXPECT_EQ(window.timerStops, 1);
  EXPECT_EQ(window.screenSaverOffs, 1);
  EXPECT_EQ(screen.panels.back(), std::make_pair(2, std::string()));
  EXPECT_NE(std::find(screen.panels.begin(), screen.panels.end(),
                      std::make_pair(3, std::string("送信完了しました。"))),
            screen.panels.end());
}

// A file that is missing or unreadable went nowhere: its entry says so, and
// so does the message line, in the one record a shop keeps of what went to
// a machine.
TEST_F(SendJobTest, MarkedFileThatLeavesNothingIsPassedOverAndLoggedAsNotSent) {
  program("C.NC", "O3\r\n");
  serial::SendResult result = send(ports, {"O1.NC", "GONE.NC", "C.NC"}, true);
  EXPECT_EQ(result.outcome, SendOutcome::Completed);
  EXPECT_EQ(ports.wire.written, iso("\nO1\nG00X1\nM30\nO3\n\n%"));
  EXPECT_EQ(dialogs.shown.size(), 1u); // the loader's question for the missing file
  EXPECT_EQ(logEntries(), (std::vector<std::string>{completedEntry("O1.NC"), stoppedEntry("GONE.NC"),
                                                    completedEntry("C.NC")}));
  EXPECT_EQ(window.markedSelections, (std::vector<std::size_t>{0, 1, 2}));
  EXPECT_EQ(result.skippedFiles, std::vector<std::string>{"GONE.NC"});
  ASSERT_FALSE(screen.messages.empty());
  EXPECT_EQ(screen.messages.back(),
            std::make_pair(std::string("送信完了しました。!! 送信できなかったファイル: GONE.NC"),
                           serial::MessageColour::Red));

  // The last marked file missing: logged once, as not sent.
  ports.wire.incoming = {0x11};
  result = send(ports, {"O1.NC", "GONE.NC"}, true);
  EXPECT_EQ(result.skippedFiles, std::vector<std::string>{"GONE.NC"});
  const std::vector<std::string> entries = logEntries();
  EXPECT_EQ(std::vector<std::string>(entries.end() - 2, entries.end()),
            (std::vector<std::string>{completedEntry("O1.NC"), stoppedEntry("GONE.NC")}));
}
