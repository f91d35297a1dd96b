// The receive job over a scripted port: the waiting rules, the ends of the
// data, the stop, abort and failure paths, and what each leaves on disk.

#include "serial/ReceiveJob.h"

#include "ReceiveHarness.h"
#include "serial/ReceivedLineAssembler.h"
#include "support/FakePorts.h"

#include <gtest/gtest.h>

#include <functional>

using namespace kestrovan;
using serial::ReceiveEnd;
using serial::SaveMode;

namespace {

class ReceiveJobTest : public ::testing::Test, protected test::ReceiveHarness {
protected:
  test::FakePorts ports;
  serial::Line line{settings, ports, screen, dialogs};
  int reads = 0;
  int silentMs = 0;             // how long the line has been quiet, all told
  std::function<void()> onRead; // a test's script, run before each read of the device

  // The reads of a character that found the line quiet for their whole
  // time-out (the device is read in slices of it).
  int silentReads() const { return silentMs / serial::kReceiveReadTimeoutMs; }

  void SetUp() override {
    settings.Port = "COM1";
    settings.R_Code = 3; // bytes as they come, so the scripts read as text
    settings.StartChar = "N";
    settings.EndChar = "Y";
    ports.wire.onRead = [this] {
      ++reads;
      if (onRead) onRead();
      if (!ports.wire.incoming.empty()) return;
      silentMs += ports.wire.timeouts.readTotalMs;
      // A reception that waits for more than the script holds is stopped,
      // so a test never hangs: the stop keys go down after silent reads.
      if (silentReads() >= 5) screen.base.pressStopKey();
    };
  }
  void punch(const std::string& bytes) {
    for (char c : bytes)
      ports.wire.incoming.push_back(static_cast<unsigned char>(c));
  }
  serial::ReceiveOutcome byName() { return receive(line, SaveMode::ByName, "ABC.NC"); }
  serial::ReceiveOutcome perNumber() { return receive(line, SaveMode::PerProgramNumber); }
};

} // namespace

TEST_F(ReceiveJobTest, PunchedProgramIsSavedNormalisedAndTheNcGetsDc4) {
  punch("%\nO1234\nG00 X0\nG01X10.Y-5.F100\nM30\n%\n\x14");
  serial::ReceiveOutcome o = byName();

  EXPECT_EQ(o.end, ReceiveEnd::Completed);
  EXPECT_EQ(test::readFile(data.file("ABC.NC")), "O1234\r\nG00 X0\r\nG01 X10. Y-5. F100\r\nM30\r\n%\r\n");
  EXPECT_EQ(test::filesIn(data.path()), std::vector<std::string>{"ABC.NC"});
  EXPECT_EQ(ports.wire.written, "\x14");
  EXPECT_TRUE(o.refreshOnReset);
  EXPECT_EQ(o.returnToIdleAfterMs, 3000);
  EXPECT_FALSE(o.closeMainWindow);
  EXPECT_EQ(o.outputFile, data.file("ABC.NC"));
  EXPECT_EQ(logEntries(), std::vector<std::string>{test::receiveLogEntry(true, data.file("ABC.NC"))});

  EXPECT_EQ(screen.screenSaver, std::vector<bool>{false});
  EXPECT_EQ(screen.panelTitles, std::vector<std::string>{"受信データ"});
  EXPECT_EQ(screen.panelHides, 1);
  EXPECT_EQ(screen.programList, std::vector<std::string>{"O1234"});
  EXPECT_TRUE(screen.view.empty()); // written out and emptied
  EXPECT_EQ(screen.base.messages.back(),
            std::make_pair(std::string("受信完了しました。!!"), serial::MessageColour::Lime));
  std::vector<std::string> panel3;
  for (const auto& [index, text] : screen.base.panels)
    if (index == 3) panel3.push_back(text);
  EXPECT_EQ(panel3, (std::vector<std::string>{"受信待機中(信号待ち)", "＜＜ 受信中 ＞＞",
                                              "受信データ保存中です。", "受信完了しました。"}));
  EXPECT_EQ(screen.base.sleeps, std::vector<int>{3000}); // before the line closes
  EXPECT_EQ(ports.wire.closed, 1);
}

TEST_F(ReceiveJobTest, CarriageReturnsNulsAndLeadingNoiseNeverReachTheFile) {
  punch(std::string("\x11?x%\r\nO1\r\n\0M30\r\n%\r\n", 19));
  EXPECT_EQ(byName().end, ReceiveEnd::Completed);
  EXPECT_EQ(test::readFile(data.file("ABC.NC")), "O1\r\nM30\r\n%\r\n");
}

TEST_F(ReceiveJobTest, NoiseWhileWaitingRestartsCodeDetection) {
  settings.R_Code = 0;
  // 0x01 alone would pass for EIA ("1"); the ISO program after it must still
  // be read as ISO.
  punch("\x01");
  for (char c : std::string("%\nO1\nM30\n%\n"))
    ports.wire.incoming.push_back(serial::isoEncode(static_cast<unsigned char>(c)));
  EXPECT_EQ(byName().end, ReceiveEnd::Completed);
  EXPECT_EQ(test::readFile(data.file("ABC.NC")), "O1\r\nM30\r\n%\r\n");
  EXPECT_EQ(line.state.code, (serial::CodeFlags{true, false}));
}

TEST_F(ReceiveJobTest, WithSignalNothingCountsUntilTheCarrierIsOn) {
  punch("O9\n%\nO1\nM30\n%\n");
  ports.wire.modem.lines.carrier = false;
  onRead = [this] {
    if (reads == 4) ports.wire.modem.lines.carrier = true; // after "O9\n"
  };
  EXPECT_EQ(byName().end, ReceiveEnd::Completed);
  EXPECT_EQ(test::readFile(data.file("ABC.NC")), "O1\r\nM30\r\n%\r\n");
}

TEST_F(ReceiveJobTest, WithoutSignalTheCarrierIsNotAsked) {
  settings.Signal = "N";
  ports.wire.modem.lines.carrier = false;
  punch("O9\n%\nO1\nM30\n%\n");
  EXPECT_EQ(byName().end, ReceiveEnd::Completed);
  // "O" started the data, so the "%" line is the closing one.
  EXPECT_EQ(test::readFile(data.file("ABC.NC")), "O9\r\n%\r\n");
}

TEST_F(ReceiveJobTest, DsrDropEndsTheDataOnlyWithOp6) {
  for (const char* op6 : {"Y", "N"}) {
    SCOPED_TRACE(op6);
    settings.op6 = op6;
    ports.wire.modem.lines.dsr = true;
    silentMs = 0;
    punch("%\nO1\nM30");
    onRead = [this] {
      if (!ports.wire.incoming.empty()) return;
      ports.wire.modem.lines.dsr = false; // the NC is switched off
      if (silentReads() == 2) punch("\n%\n");
    };
    EXPECT_EQ(byName().end, ReceiveEnd::Completed);
    EXPECT_EQ(test::readFile(data.file("ABC.NC")), "O1\r\nM30\r\n%\r\n");
    EXPECT_FALSE(screen.base.dsrLamp.back());
    // With op6 the drop ended the data; without, the reception went on to the "%".
    EXPECT_EQ(silentReads(), std::string(op6) == "Y" ? 1 : 2);
  }
}

TEST_F(ReceiveJobTest, SilenceAfterTheClosingPercentEndsTheData) {
  punch("%\nO1\nM30\n%");
  EXPECT_EQ(byName().end, ReceiveEnd::Completed);
  EXPECT_EQ(test::readFile(data.file("ABC.NC")), "O1\r\nM30\r\n%\r\n");
  EXPECT_EQ(silentReads(), 1);
}

TEST_F(ReceiveJobTest, SilenceAfterTheOpeningPercentKeepsWaiting) {
  punch("%");
  onRead = [this] {
    if (ports.wire.incoming.empty() && silentReads() == 3) punch("\nO1\n%\n");
  };
  EXPECT_EQ(byName().end, ReceiveEnd::Completed);
  EXPECT_EQ(test::readFile(data.file("ABC.NC")), "O1\r\n%\r\n");
}

TEST_F(ReceiveJobTest, Dc4EndsTheDataWithTheLastLine) {
  settings.EndChar = "N";
  punch("%\nO1\nM30\x14");
  EXPECT_EQ(byName().end, ReceiveEnd::Completed);
  EXPECT_EQ(test::readFile(data.file("ABC.NC")), "O1\r\nM30\r\n");
}

TEST_F(ReceiveJobTest, StopWithoutOp5DeletesTheFileAndKeepsAnEarlierOne) {
  test::writeFile(data.file("ABC.NC"), "earlier\r\n");
  punch("%\nO1\nG01 X1.\n"); // then silence, and the operator presses Esc
  serial::ReceiveOutcome o = byName();

  EXPECT_EQ(o.end, ReceiveEnd::Stopped);
  EXPECT_FALSE(o.refreshOnReset);
  EXPECT_EQ(o.returnToIdleAfterMs, 1000);
  EXPECT_EQ(test::filesIn(data.path()), std::vector<std::string>{"ABC.NC"});
  EXPECT_EQ(test::readFile(data.file("ABC.NC")), "earlier\r\n");
  EXPECT_EQ(ports.wire.written, "\x14");
  EXPECT_EQ(screen.base.releases, 1);
  EXPECT_EQ(screen.lastMessage(), "受信を中止しました。!!");
  EXPECT_EQ(screen.base.messages.back().second, serial::MessageColour::Red);
  EXPECT_EQ(screen.panel(3), "受信を中止しました。");
  EXPECT_EQ(logEntries(), std::vector<std::string>{test::receiveLogEntry(false, data.file("ABC.NC"))});
}

TEST_F(ReceiveJobTest, StopWithOp5SavesWhatArrivedWithoutAClosingPercent) {
  settings.op5 = "Y";
  punch("%\nO1\nG01 X1.\nG0");
  serial::ReceiveOutcome o = byName();
  EXPECT_EQ(o.end, ReceiveEnd::Completed);
  EXPECT_EQ(test::readFile(data.file("ABC.NC")), "O1\r\nG01 X1.\r\n");
  EXPECT_EQ(ports.wire.written, "\x14");
  EXPECT_EQ(logEntries(), std::vector<std::string>{test::receiveLogEntry(true, data.file("ABC.NC"))});
}

TEST_F(ReceiveJobTest, StopWhileWaitingOrALineThatDoesNotOpenLeavesNothing) {
  EXPECT_EQ(perNumber().end, ReceiveEnd::Stopped);
  EXPECT_EQ(ports.wire.written, "\x14");
  EXPECT_EQ(screen.panel(0), "");

  settings.Port = "COM9";
  EXPECT_EQ(byName().end, ReceiveEnd::Stopped);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, "COM9のポートが開きません。!!");
  EXPECT_TRUE(test::filesIn(data.path()).empty()); // the by-name working copy went too
  EXPECT_EQ(screen.lastMessage(), "受信を中止しました。!!");
  EXPECT_EQ(logEntries(), (std::vector<std::string>{test::receiveLogEntry(false, ""),
                                                    test::receiveLogEntry(false, data.file("ABC.NC"))}));
}

TEST_F(ReceiveJobTest, PerNumberWithoutAnyHeaderFailsAndWritesNoDc4) {
  punch("%\nG00 X0\nM30\n%\n");
  serial::ReceiveOutcome o = perNumber();
  EXPECT_EQ(o.end, ReceiveEnd::Failed);
  EXPECT_EQ(o.returnToIdleAfterMs, 1000);
  EXPECT_FALSE(o.refreshOnReset);
  EXPECT_FALSE(o.detail.empty());
  EXPECT_EQ(ports.wire.written, "");
  EXPECT_TRUE(test::filesIn(data.path()).empty());
  EXPECT_EQ(screen.lastMessage(), "受信を中止しました。!!");
  EXPECT_EQ(screen.panelHides, 1);
  EXPECT_EQ(logEntries(), std::vector<std::string>{test::receiveLogEntry(false, "")});
}

TEST_F(ReceiveJobTest, DataFolderThatCannotBeWrittenFailsBeforeTheLineOpens) {
  test::writeFile(data.file("plain"), "keep");
  settings.DirPath = data.file("plain");
  serial::ReceiveRequest request{SaveMode::ByName, {"X.NC", data.file("plain") + "/X.NC"}, false};
  serial::ReceiveOutcome o = serial::ReceiveJob(settings, line, screen, log).run(request);
  EXPECT_EQ(o.end, ReceiveEnd::Failed);
  EXPECT_TRUE(ports.openedForTransfer.empty());
  EXPECT_EQ(test::readFile(data.file("plain")), "keep");
  EXPECT_EQ(screen.lastMessage(), "受信を中止しました。!!");
}

TEST_F(ReceiveJobTest, EndlessLineIsCutButNothingIsLost) {
  const std::string digits(100000, '1');
  punch("%\nO1\n" + digits + "\n%\n");
  EXPECT_EQ(byName().end, ReceiveEnd::Completed);
  const std::size_t cut = serial::kLongestReceivedLine;
  EXPECT_EQ(test::readFile(data.file("ABC.NC")),
            "O1\r\n" + digits.substr(0, cut) + "\r\n" + digits.substr(cut) + "\r\n%\r\n");
}

TEST_F(ReceiveJobTest, LoneProgramLetterJoinsTheNextLineInBothModes) {
  punch("%\nO\n1234\nM30\n%\n");
  EXPECT_EQ(byName().end, ReceiveEnd::Completed);
  EXPECT_EQ(test::readFile(data.file("ABC.NC")), "O1234\r\nM30\r\n%\r\n");
  EXPECT_EQ(screen.programList, (std::vector<std::string>{"O", "O1234"}));

  // Per program, only the completed header names a file.
  std::filesystem::remove(data.file("ABC.NC"));
  punch("%\nO\n1234\nM30\n%\n");
  EXPECT_EQ(perNumber().end, ReceiveEnd::Completed);
  EXPECT_EQ(test::filesIn(data.path()), std::vector<std::string>{"O1234_001.NC"});
  EXPECT_EQ(test::readFile(data.file("O1234_001.NC")), "O1234\r\nM30\r\n%\r\n");
}

TEST_F(ReceiveJobTest, LoneLIsALineOfItsOwn) {
  punch("%\nL\n1234\nM30\n%\n");
  EXPECT_EQ(byName().end, ReceiveEnd::Completed);
  EXPECT_EQ(test::readFile(data.file("ABC.NC")), "L\r\n1234\r\nM30\r\n%\r\n");
  EXPECT_EQ(screen.programList, std::vector<std::string>{"L"});
}

// A master copy made read-only is never replaced by a reception of its name.
TEST_F(ReceiveJobTest, ReadOnlyTargetEndsTheReceptionAndKeepsTheOlderFile) {
  test::writeFile(data.file("ABC.NC"), "master\r\n");
  std::filesystem::permissions(data.file("ABC.NC"), std::filesystem::perms::owner_read);
  punch("%\nO1\nM30\n%\n");
  serial::ReceiveOutcome o = byName();
  EXPECT_EQ(o.end, ReceiveEnd::Failed);
  EXPECT_EQ(test::readFile(data.file("ABC.NC")), "master\r\n");
  EXPECT_EQ(test::filesIn(data.path()), std::vector<std::string>{"ABC.NC"});
  EXPECT_EQ(screen.lastMessage(), "受信を中止しました。!!");
  EXPECT_TRUE(ports.openedForTransfer.empty()); // found before the line opened

  // Per program: the read-only program's file stays, the one before it is saved.
  settings.Add_No = "N";
  ports.wire.incoming.clear(); // what the first reception never read
  test::writeFile(data.file("O2.NC"), "master O2\r\n");
  std::filesystem::permissions(data.file("O2.NC"), std::filesystem::perms::owner_read);
  punch("%\nO1\nM99\nO2\nM30\n%\n");
  o = perNumber();
  EXPECT_EQ(o.end, ReceiveEnd::Failed);
  EXPECT_EQ(test::readFile(data.file("O1.NC")), "O1\r\nM99\r\n%\r\n");
  EXPECT_EQ(test::readFile(data.file("O2.NC")), "master O2\r\n");
  EXPECT_EQ(test::filesIn(data.path()), (std::vector<std::string>{"ABC.NC", "O1.NC", "O2.NC"}));
}

// Line ends and nothing else: the view is written out by the thousand lines
// like any other, so a stream of them cannot grow without bound.
TEST_F(ReceiveJobTest, EndlessEmptyLinesStayBounded) {
  punch("%\nO1\n" + std::string(5000, '\n') + "M30\n%\n");
  EXPECT_EQ(byName().end, ReceiveEnd::Completed);
  EXPECT_LE(screen.viewPeak, static_cast<std::size_t>(serial::kLinesPerWriteOut));
  std::string expected = "O1\r\n";
  for (int i = 0; i < 5000; ++i)
    expected += "\r\n";
  EXPECT_EQ(test::readFile(data.file("ABC.NC")), expected + "M30\r\n%\r\n");
}

TEST_F(ReceiveJobTest, HousekeepingLinesNeitherStoredNorNamingAFile) {
  punch("%\nO&FW0001\nO1\nM30\n&HE:X\n%\n");
  EXPECT_EQ(perNumber().end, ReceiveEnd::Completed);
  EXPECT_EQ(test::filesIn(data.path()), std::vector<std::string>{"O1_001.NC"});
  EXPECT_EQ(test::readFile(data.file("O1_001.NC")), "O1\r\nM30\r\n%\r\n");
}

TEST_F(ReceiveJobTest, ShiftF2ClosesTheProgramAfterACompletedReception) {
  settings.Power_Off = "Y";
  punch("%\nO1\n%\n");
  serial::ReceiveRequest request{SaveMode::ByName, {"A.NC", data.file("A.NC")}, true};
  serial::ReceiveOutcome o = serial::ReceiveJob(settings, line, screen, log).run(request);
  EXPECT_EQ(o.end, ReceiveEnd::Completed);
  EXPECT_TRUE(o.closeMainWindow);
  EXPECT_TRUE(o.powerOff);

  punch("%\nO1\n"); // stopped: the program stays open
  o = serial::ReceiveJob(settings, line, screen, log).run(request);
  EXPECT_EQ(o.end, ReceiveEnd::Stopped);
  EXPECT_FALSE(o.closeMainWindow);
}

// A service without an operator: before each finished program is put in
// place it is told the final name (and may move an older file away); a hook
// that refuses keeps the older file and fails the reception there.
TEST_F(ReceiveJobTest, BeforePutInPlaceIsToldEveryFinishedProgramAndCanRefuse) {
  settings.Add_No = "N";
  test::writeFile(data.file("O2.NC"), "older O2\r\n");
  std::vector<std::string> told;
  serial::ReceiveRequest request;
  request.mode = SaveMode::PerProgramNumber;
  request.beforePutInPlace = [&](const std::string& path) {
    told.push_back(path);
    if (test::fileExists(path)) std::filesystem::rename(path, path + ".kept");
    return true;
  };
  punch("%\nO1\nM99\nO2\nM30\n%\n");
  EXPECT_EQ(serial::ReceiveJob(settings, line, screen, log).run(request).end, ReceiveEnd::Completed);
  EXPECT_EQ(told, (std::vector<std::string>{data.file("O1.NC"), data.file("O2.NC")}));
  EXPECT_EQ(test::readFile(data.file("O2.NC")), "O2\r\nM30\r\n%\r\n");
  EXPECT_EQ(test::readFile(data.file("O2.NC.kept")), "older O2\r\n");

  ports.wire.incoming.clear();
  request.beforePutInPlace = [](const std::string&) { return false; };
  punch("%\nO2\nG01 X9.\nM30\n%\n");
  serial::ReceiveOutcome o = serial::ReceiveJob(settings, line, screen, log).run(request);
  EXPECT_EQ(o.end, ReceiveEnd::Failed);
  EXPECT_EQ(test::readFile(data.file("O2.NC")), "O2\r\nM30\r\n%\r\n"); // not replaced
  EXPECT_EQ(o.keptPartialFile, data.file("O2_PART.NC"));
  EXPECT_EQ(test::readFile(data.file("O2_PART.NC")), "O2\r\nG01 X9.\r\nM30\r\n%\r\n");
}

// A stop that keeps what arrived: DC4 and a stopped entry naming the kept
// file, the unfinished program under a name of its own, the older file and
// the finished programs untouched.
TEST_F(ReceiveJobTest, StopThatKeepsTheUnfinishedProgramUnderANameOfItsOwn) {
  settings.Add_No = "N";
  test::writeFile(data.file("O2.NC"), "older O2\r\n");
  serial::ReceiveRequest request;
  request.mode = SaveMode::PerProgramNumber;
  request.keepUnfinishedOnStop = true;
  punch("%\nO1\nM99\nO2\nG01 X1.\nG0"); // then silence, and the stop
  serial::ReceiveOutcome o = serial::ReceiveJob(settings, line, screen, log).run(request);
  EXPECT_EQ(o.end, ReceiveEnd::Stopped);
  EXPECT_EQ(ports.wire.written, "\x14");
  EXPECT_EQ(o.keptPartialFile, data.file("O2_PART.NC"));
  EXPECT_EQ(test::readFile(data.file("O2_PART.NC")), "O2\r\nG01 X1.\r\nG0\r\n");
  EXPECT_EQ(test::readFile(data.file("O2.NC")), "older O2\r\n");
  EXPECT_EQ(test::readFile(data.file("O1.NC")), "O1\r\nM99\r\n%\r\n");
  EXPECT_EQ(logEntries(), std::vector<std::string>{test::receiveLogEntry(false, data.file("O2_PART.NC"))});
}
