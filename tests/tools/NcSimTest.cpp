// The virtual NC machine's logic: its command line, its reading side's DC1/DC3
// and end decisions, and the bytes it punches.

#include "ncsim/LineClock.h"
#include "ncsim/NcSimOptions.h"
#include "ncsim/PunchStream.h"
#include "ncsim/ReceiveMachine.h"

#include <gtest/gtest.h>

using namespace kestrovan::ncsim;

namespace {
std::string feed(ReceiveMachine& m, const std::string& bytes, long now = 0) {
  std::string answer;
  for (char c : bytes)
    answer += m.onByte(static_cast<unsigned char>(c), now);
  return answer;
}
} // namespace

TEST(NcSimOptions, HelpListsTheOptions) {
  NcSimParse p = parseNcSimOptions({"--help"});
  EXPECT_TRUE(p.options.help);
  EXPECT_EQ(p.error, "");
  for (const char* option :
       {"--receive", "--dc3-after", "--dc1-after-ms", "--baud", "--punch", "--code", "--wait-open"})
    EXPECT_NE(ncSimHelp().find(option), std::string::npos) << option;
}

TEST(NcSimOptions, BadCommandLinesAreRefusedWithAReason) {
  for (std::vector<std::string> bad :
       std::vector<std::vector<std::string>>{{},
                                             {"--receive"},
                                             {"--receive", "a", "--punch", "b"},
                                             {"--receive", "a", "--dc3-after", "many"},
                                             {"--receive", "a", "--dc3-after", "-5"},
                                             {"--receive", "a", "--dc3-byte", "0x11"},
                                             {"--punch", "a", "--code", "ascii"},
                                             {"--receive", "a", "--frobnicate"},
                                             {"--operate", "d"},
                                             {"--operate", "d", "--step", "punch:"},
                                             {"--operate", "d", "--step", "pause:soon"},
                                             {"--operate", "d", "--step", "read", "--punch", "a"},
                                             {"--step", "read"}}) {
    EXPECT_NE(parseNcSimOptions(bad).error, "") << (bad.empty() ? "(none)" : bad.back());
  }
}

TEST(NcSimOptions, OperateTakesItsStepsInOrder) {
  NcSimParse p = parseNcSimOptions({"--operate", "d", "--step", "punch:P1.NC", "--step", "signal", "--step",
                                    "read", "--step", "pause:250", "--repeat"});
  ASSERT_EQ(p.error, "");
  EXPECT_EQ(p.options.mode, SimMode::Operate);
  EXPECT_EQ(p.options.operateDir, "d");
  EXPECT_TRUE(p.options.repeat);
  EXPECT_TRUE(p.options.endOnPercent); // a send ends with its "%" or DC4
  ASSERT_EQ(p.options.steps.size(), 4u);
  EXPECT_EQ(p.options.steps[0].kind, OperateStep::Kind::Punch);
  EXPECT_EQ(p.options.steps[0].file, "P1.NC");
  EXPECT_EQ(p.options.steps[1].kind, OperateStep::Kind::Signal);
  EXPECT_EQ(p.options.steps[2].kind, OperateStep::Kind::Read);
  EXPECT_EQ(p.options.steps[3].kind, OperateStep::Kind::Pause);
  EXPECT_EQ(p.options.steps[3].ms, 250);
}

TEST(ReceiveMachine, AnnouncesReadinessUntilDataComes) {
  NcSimOptions o;
  o.startDelayMs = 200;
  o.dc1RepeatMs = 1000;
  ReceiveMachine m(o);
  EXPECT_EQ(m.onTick(0), ""); // not before the PC opened the line
  m.lineOpened(100);
  EXPECT_EQ(m.onTick(299), "");
  EXPECT_EQ(m.onTick(300), "\x11");
  EXPECT_EQ(m.onTick(1299), "");
  EXPECT_EQ(m.onTick(1300), "\x11");
  feed(m, "G");
  EXPECT_EQ(m.onTick(5000), "");
  EXPECT_EQ(m.takeEvents(), (std::vector<std::string>{"DC1 0", "DC1 0"}));
}

TEST(ReceiveMachine, HoldsOffAfterNBytesAndResumesAfterThePause) {
  NcSimOptions o;
  o.sendDc1 = false;
  o.dc3After = 3;
  o.dc3Every = 4;
  o.dc1AfterMs = 500;
  ReceiveMachine m(o);
  EXPECT_EQ(feed(m, "AB", 10), "");
  EXPECT_EQ(feed(m, "C", 10), "\x93");
  EXPECT_TRUE(m.paused());
  EXPECT_EQ(feed(m, "DEFGHIJ", 20), ""); // no second DC3 while paused
  EXPECT_EQ(m.onTick(509), "");
  EXPECT_EQ(m.onTick(510), "\x11");
  EXPECT_EQ(feed(m, "K", 600), "\x93"); // the next one every 4 bytes from the first
  EXPECT_EQ(m.takeEvents(), (std::vector<std::string>{"DC3 3", "DC1 10", "DC3 11"}));
}

TEST(ReceiveMachine, EndsOnDc4OrOnAClosingPercent) {
  NcSimOptions o;
  ReceiveMachine dc4(o);
  feed(dc4, std::string("\xA5\n\x14", 3));
  EXPECT_EQ(dc4.endReason(), "dc4");
  EXPECT_EQ(dc4.received(), 3);

  o.endOnPercent = true;
  ReceiveMachine iso(o);
  feed(iso, std::string("\0\0\xA5\x0A \xA5", 6)); // leader, "%", blanks: no program yet
  EXPECT_FALSE(iso.finished());
  feed(iso, "G\x0A\xA5");
  EXPECT_EQ(iso.endReason(), "percent");

  ReceiveMachine eia(o);
  feed(eia, std::string("\x80\x0B\x80\x46\x01\x80\x0B", 7));
  EXPECT_EQ(eia.endReason(), "percent");
  EXPECT_EQ(eia.takeEvents().back(), "END percent 7");
}

TEST(PunchStream, IsoWithLeaderFramingAndDc4) {
  NcSimOptions o;
  o.leader = 3;
  EXPECT_EQ(punchStream("O1\r\nM30\r\n", o),
            std::string("\0\0\0\xA5\x0A\xCF\xB1\x0A\x4D\x33\x30\x0A\xA5\x0A\x14", 15));
  // A file that brings its own "%" lines is not framed twice.
  EXPECT_EQ(punchStream("%\nO1\nM30\n%\n", o), punchStream("O1\r\nM30\r\n", o));
  o.frame = false;
  o.dc4 = false;
  o.leader = 0;
  EXPECT_EQ(punchStream("%\nG1\n", o), std::string("\xA5\x0A\x47\xB1\x0A", 5));
}

TEST(PunchStream, EiaLeaderAndCodes) {
  NcSimOptions o;
  o.code = PunchCode::Eia;
  o.leader = 2;
  EXPECT_EQ(punchStream("O1 (a)\nM3", o),
            std::string("\0\0\x0B\x80\x46\x01\x10\x1A\x4A\x80\x54\x13\x80\x0B\x80\x14", 16));
}

TEST(PunchStream, TheFilesOwnTapeMarksNeverBecomeASecondPercent) {
  using kestrovan::ncsim::programLinesForPunch;
  using Lines = std::vector<std::string>;
  EXPECT_EQ(programLinesForPunch("%O1200(TOKARKA)\r\nG00X0\r\n%"), (Lines{"O1200(TOKARKA)", "G00X0"}));
  EXPECT_EQ(programLinesForPunch("% \r\n:0100\r\nM30\r\n% \r\n\x1a"), (Lines{":0100", "M30"}));
  EXPECT_EQ(programLinesForPunch("\nO1000\nM30"), (Lines{"O1000", "M30"}));
}

// The virtual NC's line clock: the characters a busy reader finds waiting
// had arrived at the line's rate meanwhile; after a line seen idle, the next
// one needs a whole character time.
TEST(NcSimLineClock, CharactersWaitingForABusyReaderAreCaughtUpAnIdleLineStartsAgain) {
  constexpr long long kChar = 1000; // a character in microseconds
  LineClock line(kChar, 0);
  EXPECT_FALSE(line.due(999));
  ASSERT_TRUE(line.due(1000));
  line.took(1000);
  EXPECT_FALSE(line.due(1999));
  // The reader is busy for 100 characters' time while the line brings data.
  int caughtUp = 0;
  while (line.due(101'000) && caughtUp < 1000) {
    line.took(101'000);
    ++caughtUp;
  }
  EXPECT_EQ(caughtUp, 100);
  // From then on, one per character time again.
  EXPECT_FALSE(line.due(101'999));
  EXPECT_TRUE(line.due(102'000));
  line.took(102'000);

  // The line goes quiet: nothing waiting at 150'000. A character found
  // after that arrived at least one character time later.
  line.sawIdle(150'000);
  EXPECT_FALSE(line.due(150'999));
  EXPECT_TRUE(line.due(151'000));
  line.took(151'500);
  EXPECT_FALSE(line.due(151'999));
  EXPECT_TRUE(line.due(152'000)); // a read late by half a character loses nothing

  // No rate: everything at once.
  LineClock unpaced(0, 0);
  EXPECT_TRUE(unpaced.due(0));
}
