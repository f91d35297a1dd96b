// The serving NC's sessions: whether a session becomes a reception or a
// punch, what it records, when DC1 goes out and stops, and the plain-text
// copy of what it received.

#include "ncsim/ServeSession.h"
#include "ncsim/NcSimOptions.h"
#include "ncsim/PunchStream.h"

#include <gtest/gtest.h>

using namespace kestrovan::ncsim;

namespace {

NcSimOptions serveOptions() {
  NcSimParse p = parseNcSimOptions({"--serve", "/tmp/nc", "--punch", "a.nc"});
  EXPECT_EQ(p.error, "");
  return p.options; // start delay 200, DC1 every 1000, wait 1500
}

// Feeds `bytes`; returns the replies and, in `recorded`, what went to the file.
std::string feed(ServeSession& s, const std::string& bytes, long now, std::string* recorded = nullptr) {
  std::string replies;
  for (char c : bytes) {
    ServeSession::ByteResult r = s.onByte(static_cast<unsigned char>(c), now);
    replies += r.reply;
    if (r.recorded && recorded) *recorded += c;
  }
  return replies;
}

} // namespace

TEST(ServeOptions, ServeTakesSeveralProgramsAndEndsReceptionsAtPercent) {
  NcSimParse p = parseNcSimOptions(
      {"--serve", "out", "--punch", "a.nc", "--punch", "b.nc", "--serve-wait-ms", "900", "--code", "eia"});
  EXPECT_EQ(p.error, "");
  EXPECT_EQ(p.options.mode, SimMode::Serve);
  EXPECT_EQ(p.options.serveDir, "out");
  EXPECT_EQ(p.options.punchFiles, (std::vector<std::string>{"a.nc", "b.nc"}));
  EXPECT_EQ(p.options.serveWaitMs, 900);
  EXPECT_EQ(p.options.code, PunchCode::Eia);
  EXPECT_TRUE(p.options.endOnPercent);

  EXPECT_EQ(serveOptions().serveWaitMs, 1500);
  for (const char* option : {"--serve", "--serve-wait-ms"})
    EXPECT_NE(ncSimHelp().find(option), std::string::npos) << option;
}

TEST(ServeOptions, TheSingleModesAreAsBefore) {
  NcSimParse punch = parseNcSimOptions({"--punch", "a.nc"});
  EXPECT_EQ(punch.error, "");
  EXPECT_EQ(punch.options.mode, SimMode::Punch);
  EXPECT_EQ(punch.options.punchFile, "a.nc");
  EXPECT_FALSE(punch.options.endOnPercent);
  NcSimParse receive = parseNcSimOptions({"--receive", "r.bin"});
  EXPECT_EQ(receive.options.mode, SimMode::Receive);
  EXPECT_EQ(receive.options.receiveFile, "r.bin");

  for (std::vector<std::string> bad :
       std::vector<std::vector<std::string>>{{"--punch", "a", "--punch", "b"},
                                             {"--serve", "out"},
                                             {"--serve"},
                                             {"--serve", "out", "--punch", "a", "--receive", "r"},
                                             {"--serve", "out", "--punch", "a", "--serve-wait-ms", "soon"}})
    EXPECT_NE(parseNcSimOptions(bad).error, "") << bad.back();
}

TEST(ServeSession, DataWithinTheWaitMakesAReceptionOfEveryByte) {
  ServeSession s(serveOptions(), 1000);
  EXPECT_EQ(s.onTick(1199), "");
  EXPECT_EQ(s.onTick(1200), "\x11"); // ready, after the PC's purge
  EXPECT_EQ(s.onTick(2200), "\x11"); // and again
  EXPECT_EQ(s.kind(), SessionKind::Undecided);

  std::string recorded;
  const std::string sent = "\xA5\x0A\xCF\xB1\x0A\x0A\xA5";
  EXPECT_EQ(feed(s, sent + "\x0A\x14", 2699, &recorded), "");
  EXPECT_EQ(s.kind(), SessionKind::Reception);
  // Up to the "%" that closes the program; what follows is not the program's.
  EXPECT_EQ(recorded, sent);
  EXPECT_TRUE(s.receptionEnded());
  EXPECT_EQ(s.received(), 7);
  EXPECT_EQ(s.onTick(9000), ""); // no more DC1, no punch
  EXPECT_EQ(s.kind(), SessionKind::Reception);
  EXPECT_EQ(s.takeEvents(), (std::vector<std::string>{"DC1 0", "DC1 0", "END percent 7"}));
  s.end("closed");
  EXPECT_EQ(s.takeEvents(), std::vector<std::string>{});
}

TEST(ServeSession, SilenceMakesAPunchAndTheDc1sStopBeforeIt) {
  ServeSession s(serveOptions(), 0);
  EXPECT_EQ(s.onTick(200), "\x11");
  EXPECT_EQ(s.onTick(1200), "\x11");
  // A DC1 is due at 2200 too, but the wait (from the first DC1) ran out at
  // 1700: none goes out once the PC is taken to be waiting for a punch.
  EXPECT_EQ(s.onTick(1699), "");
  EXPECT_EQ(s.kind(), SessionKind::Undecided);
  EXPECT_EQ(s.onTick(2200), "");
  EXPECT_EQ(s.kind(), SessionKind::Punch);
  EXPECT_EQ(s.onTick(3200), "");
  EXPECT_EQ(s.takeEvents(), (std::vector<std::string>{"DC1 0", "DC1 0"}));
}

TEST(ServeSession, ThePcsFlowControlDecidesNothing) {
  ServeSession s(serveOptions(), 0);
  s.onTick(200);
  std::string recorded;
  feed(s, std::string("\x13\x93\x11\x00", 4), 300, &recorded);
  EXPECT_EQ(s.kind(), SessionKind::Undecided);
  EXPECT_EQ(recorded, "");
  s.onTick(1700);
  EXPECT_EQ(s.kind(), SessionKind::Punch);
}

TEST(ServeSession, Dc4BeforeAnythingIsAStoppedReceiveAndNothingIsPunched) {
  ServeSession s(serveOptions(), 0);
  s.onTick(200);
  feed(s, "\x14", 500);
  EXPECT_EQ(s.kind(), SessionKind::Over);
  EXPECT_EQ(s.onTick(5000), "");
  EXPECT_EQ(s.kind(), SessionKind::Over);
  EXPECT_EQ(s.takeEvents(), (std::vector<std::string>{"DC1 0", "END dc4 0"}));
}

TEST(ServeSession, PunchPausesResumesAndEndsAtThePcsDc4) {
  ServeSession s(serveOptions(), 0);
  s.onTick(200);
  s.onTick(1700);
  s.takeEvents();
  s.punchStarted(100);
  s.punched(40);
  std::string recorded;
  feed(s, "\x93", 0, &recorded);
  EXPECT_TRUE(s.punchPaused());
  feed(s, "\x93\x11", 0, &recorded);
  EXPECT_FALSE(s.punchPaused());
  s.punched(60);
  EXPECT_TRUE(s.punchComplete());
  feed(s, "\x14", 0, &recorded);
  EXPECT_EQ(recorded, ""); // a punch session records nothing
  EXPECT_EQ(s.kind(), SessionKind::Over);
  EXPECT_EQ(s.takeEvents(),
            (std::vector<std::string>{"PAUSE 40", "RESUME 40", "PUNCHED 100", "END dc4 100"}));
}

TEST(ServeSession, ClosingTheLineEndsWhateverTheSessionWas) {
  ServeSession undecided(serveOptions(), 0);
  undecided.end("closed");
  EXPECT_EQ(undecided.takeEvents(), std::vector<std::string>{"END closed 0"});

  ServeSession reception(serveOptions(), 0);
  feed(reception, "%\nO12", 100);
  reception.end("closed");
  EXPECT_TRUE(reception.receptionEnded());
  EXPECT_EQ(reception.takeEvents(), std::vector<std::string>{"END closed 5"});

  ServeSession punch(serveOptions(), 0);
  punch.onTick(200);
  punch.onTick(1700);
  punch.punchStarted(10);
  punch.punched(3);
  punch.end("signal");
  EXPECT_EQ(punch.takeEvents(), (std::vector<std::string>{"DC1 0", "END signal 3"}));
}

TEST(ReadableProgram, IsoAndEiaStreamsBecomeTheProgramText) {
  NcSimOptions o = serveOptions();
  const std::string program = "O1234\nG00 X0 (SIDE A)\nM30\n";
  const std::string text = "%\nO1234\nG00 X0 (SIDE A)\nM30\n%\n";
  EXPECT_EQ(readableProgram(punchStream(program, o)), text);
  o.code = PunchCode::Eia;
  EXPECT_EQ(readableProgram(punchStream(program, o)), text);
  // EIA's "3" is the byte of DC3.
  EXPECT_EQ(readableProgram(std::string("\x54\x13\x20\x80", 4)), "M30\n");
}

TEST(ReadableProgram, PlainAsciiStaysAsItIsWithoutCarriageReturns) {
  EXPECT_EQ(readableProgram("%\r\nO1234\r\nG00X0\r\n%"), "%\nO1234\nG00X0\n%");
}
