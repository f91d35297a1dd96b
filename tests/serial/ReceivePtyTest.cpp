// Receptions end to end: kestrovan-ncsim punches a program out over a real
// pseudo-terminal, the receive job saves it, and the files are checked byte
// for byte.

#include "serial/ReceiveJob.h"

#include "ReceiveHarness.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "serial/PortProbe.h"
#include "serial/ReceivedLineAssembler.h"
#include "support/NcSimProcess.h"
#include "support/Samples.h"
#include "support/WrittenPrograms.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <optional>
#include <sstream>

using namespace kestrovan;
using serial::ReceiveEnd;
using serial::SaveMode;

namespace {

std::string savedWithoutBlanks(const std::string& program);

class ReceivePtyTest : public ::testing::Test, protected test::ReceiveHarness {
protected:
  platform::IniFile profile;
  std::unique_ptr<serial::DevicePortOpener> ports;
  std::unique_ptr<serial::Line> line;
  std::unique_ptr<test::NcSimProcess> nc;
  test::TempDir source;         // programs for the NC to punch
  std::function<void()> script; // run whenever the job lets events run

  void SetUp() override {
    settings.StartChar = "N";
    settings.EndChar = "Y";
    settings.Read_SP_Cut = "N";
    // A reception that never ends is stopped after a while, so that a fault
    // fails the test instead of hanging it.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    screen.base.onEvents = [this, giveUp] {
      if (script) script();
      if (std::chrono::steady_clock::now() > giveUp) screen.base.pressStopKey();
    };
  }

  // Starts the NC punching `program` and makes COM4 its end of the line.
  void punch(const std::string& program, const std::string& code = "iso",
             std::vector<std::string> more = {}) {
    line.reset();
    ports.reset();
    const std::string file = source.file("punch" + std::to_string(++punches_) + ".NC");
    test::writeFile(file, program);
    std::vector<std::string> args{"--punch", file, "--code", code, "--wait-open", "--idle-ms", "3000"};
    args.insert(args.end(), more.begin(), more.end());
    nc = std::make_unique<test::NcSimProcess>(KESTROVAN_NCSIM, args);
    ASSERT_FALSE(nc->path().empty());
    profile = platform::IniFile::fromBytes("[Ports]\nCOM4=" + nc->path() + "\n");
    ports = std::make_unique<serial::DevicePortOpener>(profile);
    settings.Port = "COM4";
    line = std::make_unique<serial::Line>(settings, *ports, screen, dialogs);
  }

  serial::ReceiveOutcome byName(const std::string& name = "R.NC") {
    return receive(*line, SaveMode::ByName, name);
  }
  serial::ReceiveOutcome perNumber() { return receive(*line, SaveMode::PerProgramNumber); }

  // Each program punched in ISO and in EIA is saved as the file itself
  // says, blanks outside comments cut.
  void expectPunchedAsSaved(const std::vector<std::pair<std::string, std::string>>& programs) {
    settings.Read_SP_Cut = "Y";
    for (const auto& [name, program] : programs)
      for (const char* code : {"iso", "eia"}) {
        SCOPED_TRACE(name + " " + code);
        punch(program, code);
        ASSERT_EQ(byName().end, ReceiveEnd::Completed);
        EXPECT_EQ(test::readFile(data.file("R.NC")), savedWithoutBlanks(program));
      }
  }

  // How the NC's session ended: "dc4" when the PC said so at the end.
  std::string ncEnd() {
    std::vector<std::string> events = nc->finish();
    if (events.empty() || events.back().rfind("END ", 0) != 0) return "";
    return events.back().substr(4, events.back().find(' ', 4) - 4);
  }

private:
  int punches_ = 0;
};

std::string lines(int count, const std::string& prefix) {
  std::string text;
  for (int i = 1; i <= count; ++i)
    text += prefix + std::to_string(i) + "G01X" + std::to_string(i) + ".Y-5.\n";
  return text;
}

// What a program file becomes with Read_SP_Cut "Y", worked out from the file
// itself: between the "%" lines, each line without the characters an NC
// does not punch, without blanks outside comments, trimmed, in CR LF; a "%"
// line at the end.
std::string savedWithoutBlanks(const std::string& program) {
  std::istringstream in(program);
  std::string out;
  std::string raw;
  bool first = true;
  while (std::getline(in, raw)) {
    std::string line;
    bool comment = false;
    for (char c : raw) {
      if (!serial::isNcCharacter(static_cast<unsigned char>(c))) continue;
      if (c == '(') comment = true;
      if (c != ' ' || comment) line += c;
      if (c == ')') comment = false;
    }
    line = serial::trimReceivedLine(line);
    if (line == "%") {
      if (first) {
        first = false;
        continue;
      }
      break;
    }
    first = false;
    out += line + "\r\n";
  }
  return out + "%\r\n";
}

} // namespace

TEST_F(ReceivePtyTest, ProgramIsSavedNormalisedAndTheNcGetsDc4) {
  const std::string program = "O1234\nG00 X0\nG01X10.Y-5.F100\nG00 X1. (SIDE  A)\nM30\n";
  punch(program);
  EXPECT_EQ(byName().end, ReceiveEnd::Completed);
  EXPECT_EQ(test::readFile(data.file("R.NC")),
            "O1234\r\nG00 X0\r\nG01 X10. Y-5. F100\r\nG00 X1.(SIDE  A)\r\nM30\r\n%\r\n");
  EXPECT_EQ(ncEnd(), "dc4");

  settings.Read_SP_Cut = "Y";
  punch(program);
  EXPECT_EQ(byName().end, ReceiveEnd::Completed);
  EXPECT_EQ(test::readFile(data.file("R.NC")),
            "O1234\r\nG00X0\r\nG01X10.Y-5.F100\r\nG00X1.(SIDE  A)\r\nM30\r\n%\r\n");
  EXPECT_EQ(test::filesIn(data.path()), std::vector<std::string>{"R.NC"});
  EXPECT_EQ(logEntries().size(), 2u);
}

TEST_F(ReceivePtyTest, EiaAndIsoWithParityAreDetectedAndSavedAlike) {
  settings.R_Code = 0;
  const std::string program = "O1234 (Rough cut)\n\tG01X10.\tY-5.\nm30\nM30\n";
  punch(program, "iso");
  ASSERT_EQ(byName("ISO.NC").end, ReceiveEnd::Completed);
  EXPECT_EQ(line->state.code, (serial::CodeFlags{true, false}));
  punch(program, "eia");
  ASSERT_EQ(byName("EIA.NC").end, ReceiveEnd::Completed);
  EXPECT_EQ(line->state.code, (serial::CodeFlags{false, true}));

  const std::string iso = test::readFile(data.file("ISO.NC"));
  EXPECT_EQ(iso, "O1234(R )\r\nG01 X10. Y-5.\r\n30\r\nM30\r\n%\r\n");
  EXPECT_EQ(test::readFile(data.file("EIA.NC")), iso);
}

TEST_F(ReceivePtyTest, CompactBlocksAndAnLfProgramWithoutPercentArriveAsPunchedInBothCodes) {
  expectPunchedAsSaved({{"compact blocks", test::written::compactBlocks()},
                        {"no percent, LF", test::written::withoutPercent()}});
}

TEST_F(ReceivePtyTest, RealProgramsArriveAsPunchedInBothCodes) {
  KESTROVAN_NEEDS_SAMPLES();
  std::vector<std::pair<std::string, std::string>> programs;
  for (const char* sample : {"LATHE_COMPACT_BLOCKS_O0358.NC", "MILL_METRIC_O1000_NO_PERCENT.NC"})
    programs.emplace_back(sample, test::readFile(test::samplePath(sample)));
  expectPunchedAsSaved(programs);
}

TEST_F(ReceivePtyTest, ColonHeadersAreStoredWithColonButFilesAreNamedWithO) {
  settings.O_Change = "Y";
  settings.Add_No = "N";
  punch("O1234\nM30\n");
  ASSERT_EQ(byName().end, ReceiveEnd::Completed);
  EXPECT_EQ(test::readFile(data.file("R.NC")), ":1234\r\nM30\r\n%\r\n");

  std::filesystem::remove(data.file("R.NC"));
  punch("O1234(SIDE A)\nM30\n");
  ASSERT_EQ(perNumber().end, ReceiveEnd::Completed);
  EXPECT_EQ(test::filesIn(data.path()), std::vector<std::string>{"O1234.NC"});
  EXPECT_EQ(test::readFile(data.file("O1234.NC")), ":1234(SIDE A)\r\nM30\r\n%\r\n");
  EXPECT_EQ(screen.programList, std::vector<std::string>{":1234(SIDE A)"});
}

TEST_F(ReceivePtyTest, OneFilePerProgramNumberedAndFramed) {
  settings.StartChar = "Y";
  settings.Add_No = "Y";
  const std::string stream = "O1000(FIRST)\nG01X1.\nM99\nO2000\nM30\n";
  punch(stream);
  serial::ReceiveOutcome o = perNumber();
  ASSERT_EQ(o.end, ReceiveEnd::Completed);
  EXPECT_EQ(o.programs, 2);
  EXPECT_EQ(test::filesIn(data.path()), (std::vector<std::string>{"O1000_001.NC", "O2000_002.NC"}));
  EXPECT_EQ(test::readFile(data.file("O1000_001.NC")), "%\r\nO1000(FIRST)\r\nG01 X1.\r\nM99\r\n%\r\n");
  EXPECT_EQ(test::readFile(data.file("O2000_002.NC")), "%\r\nO2000\r\nM30\r\n%\r\n");
  EXPECT_EQ(logEntries().back(), test::receiveLogEntry(true, data.file("O2000_002.NC")));

  // A second reception of the same data replaces them.
  test::writeFile(data.file("O1000_001.NC"), "stale");
  punch(stream);
  ASSERT_EQ(perNumber().end, ReceiveEnd::Completed);
  EXPECT_EQ(test::filesIn(data.path()), (std::vector<std::string>{"O1000_001.NC", "O2000_002.NC"}));
  EXPECT_EQ(test::readFile(data.file("O1000_001.NC")), "%\r\nO1000(FIRST)\r\nG01 X1.\r\nM99\r\n%\r\n");
}

TEST_F(ReceivePtyTest, LongProgramArrivesWholeAcrossWriteOuts) {
  settings.Read_SP_Cut = "Y";
  const std::string body = lines(2500, "N");
  punch("O1\n" + body + "M30\n");
  ASSERT_EQ(byName().end, ReceiveEnd::Completed);
  std::string expected = "O1\r\n";
  for (std::size_t at = 0, end; (end = body.find('\n', at)) != std::string::npos; at = end + 1)
    expected += body.substr(at, end - at) + "\r\n";
  EXPECT_EQ(test::readFile(data.file("R.NC")), expected + "M30\r\n%\r\n");
  EXPECT_EQ(screen.viewPeak, 1000u);
  // Back to 0 at the start, at the two write-outs and at the save.
  EXPECT_EQ(std::count(screen.progress.begin(), screen.progress.end(), 0), 4);
  EXPECT_EQ(*std::max_element(screen.progress.begin(), screen.progress.end()), 999);
}

TEST_F(ReceivePtyTest, EscDuringTheReception) {
  settings.Add_No = "N";
  const std::string program = "O1000\nM99\nO2000\n" + lines(400, "N") + "M30\n";
  for (const char* op5 : {"N", "Y"}) {
    SCOPED_TRACE(op5);
    settings.op5 = op5;
    test::writeFile(data.file("O2000.NC"), "earlier O2000\r\n");
    // Paced like a 19200 baud line, so that Esc comes in the middle.
    punch(program, "iso", {"--baud", "19200"});
    const std::size_t linesBefore = screen.base.lines.size();
    const int releasesBefore = screen.base.releases;
    script = [=, this] {
      if (screen.base.lines.size() >= linesBefore + 60 && screen.base.releases == releasesBefore)
        screen.base.pressStopKey();
    };
    serial::ReceiveOutcome o = perNumber();
    script = nullptr;
    EXPECT_EQ(ncEnd(), "dc4");
    EXPECT_EQ(test::readFile(data.file("O1000.NC")), "O1000\r\nM99\r\n%\r\n");
    const std::string o2000 = test::readFile(data.file("O2000.NC"));
    if (std::string(op5) == "N") {
      EXPECT_EQ(o.end, ReceiveEnd::Stopped);
      EXPECT_EQ(o2000, "earlier O2000\r\n"); // the unfinished program left no trace
      EXPECT_EQ(logEntries().back(), test::receiveLogEntry(false, data.file("O2000.NC")));
    } else {
      EXPECT_EQ(o.end, ReceiveEnd::Completed);
      // What arrived, line for line, and no closing "%".
      EXPECT_EQ(o2000.rfind("O2000\r\nN1 G01 X1. Y-5.\r\nN2 G01 X2. Y-5.\r\n", 0), 0u) << o2000;
      EXPECT_GT(o2000.size(), 60u * 10);
      EXPECT_EQ(o2000.find('%'), std::string::npos);
      EXPECT_EQ(o2000.substr(o2000.size() - 2), "\r\n");
      EXPECT_EQ(logEntries().back(), test::receiveLogEntry(true, data.file("O2000.NC")));
    }
    EXPECT_EQ(test::filesIn(data.path()), (std::vector<std::string>{"O1000.NC", "O2000.NC"}));
  }
}

TEST_F(ReceivePtyTest, HeadersCannotLeaveTheDataFolderOrNameBadFiles) {
  settings.Read_SP_Cut = "Y";
  settings.Add_No = "N";
  punch("O12/../../EVIL\nM99\nO7<>*?\":X(A)\nM30\n");
  ASSERT_EQ(perNumber().end, ReceiveEnd::Completed);
  EXPECT_EQ(test::filesIn(data.path()), (std::vector<std::string>{"O12_______EVIL.NC", "O7______X.NC"}));
  EXPECT_EQ(test::readFile(data.file("O12_______EVIL.NC")), "O12/../../EVIL\r\nM99\r\n%\r\n");
  EXPECT_EQ(test::readFile(data.file("O7______X.NC")), "O7<>*?\":X(A)\r\nM30\r\n%\r\n");
  const std::string parent = platform::parentFolder(data.path());
  EXPECT_FALSE(test::fileExists(parent + "/EVIL.NC"));
  EXPECT_FALSE(test::fileExists(platform::parentFolder(parent) + "/EVIL.NC"));
}

TEST_F(ReceivePtyTest, UnwritableOutputEndsInTheErrorPathAndLosesNothingElse) {
  settings.Add_No = "N";
  std::filesystem::create_directory(data.file("O2000.NC")); // the second program's name is taken
  const std::string record = source.file("from-pc");
  punch("O1000\nM99\nO2000\nM30\n", "iso", {"--record", record, "--idle-ms", "800"});
  serial::ReceiveOutcome o = perNumber();

  EXPECT_EQ(o.end, ReceiveEnd::Failed);
  EXPECT_EQ(screen.lastMessage(), "受信を中止しました。!!");
  EXPECT_EQ(screen.base.messages.back().second, serial::MessageColour::Red);
  EXPECT_EQ(test::readFile(data.file("O1000.NC")), "O1000\r\nM99\r\n%\r\n");
  EXPECT_TRUE(std::filesystem::is_empty(data.file("O2000.NC")));
  EXPECT_EQ(test::filesIn(data.path()), (std::vector<std::string>{"O1000.NC", "O2000.NC"}));
  EXPECT_EQ(logEntries().back(), test::receiveLogEntry(false, data.file("O2000.NC")));
  EXPECT_NE(ncEnd(), "dc4");
  EXPECT_EQ(test::readFile(record), ""); // no DC4 after a failure
}

// --- a hostile line ---------------------------------------------------------

// The NC punches "%", "O1" and then nothing more: the reception waits with the
// window alive, and Esc ends it the ordinary way.
TEST_F(ReceivePtyTest, NcFallingSilentMidProgramLeavesTheWindowAliveAndEscStops) {
  punch("O1\nG01X1.\nM30\n", "iso", {"--leader", "0", "--silent-after", "5", "--idle-ms", "30000"});
  std::optional<std::chrono::steady_clock::time_point> silentSince;
  int eventRunsWhileSilent = 0;
  script = [&] {
    const bool firstLineIn = !screen.base.lines.empty() && screen.base.lines.back() == "O1";
    if (!firstLineIn) return;
    if (!silentSince) silentSince = std::chrono::steady_clock::now();
    ++eventRunsWhileSilent;
    if (std::chrono::steady_clock::now() - *silentSince > std::chrono::milliseconds(1500))
      screen.base.pressStopKey();
  };
  serial::ReceiveOutcome o = byName();
  EXPECT_FALSE(screen.base.failsafeTripped);
  EXPECT_EQ(o.end, ReceiveEnd::Stopped);
  // Every quiet moment let the window run: far more often than once a second.
  EXPECT_GT(eventRunsWhileSilent, 10);
  EXPECT_EQ(ncEnd(), "dc4");
  EXPECT_TRUE(test::filesIn(data.path()).empty()); // no working copy left behind
  EXPECT_EQ(logEntries().back(), test::receiveLogEntry(false, data.file("R.NC")));
}

// The cable is pulled in the middle of a line: the reception ends through
// its failure path, and every byte that came is kept where the mask shows it.
TEST_F(ReceivePtyTest, HangUpMidProgramKeepsWhatArrivedUnderItsOwnName) {
  test::writeFile(data.file("R.NC"), "older R\r\n");
  // "%\n" "O1\n" "G01X1.\n" then "G0" and the line goes.
  punch("O1\nG01X1.\nG01X2.\nM30\n", "iso", {"--leader", "0", "--hangup-after", "14"});
  serial::ReceiveOutcome o = byName();
  EXPECT_FALSE(screen.base.failsafeTripped);
  EXPECT_EQ(o.end, ReceiveEnd::Failed);
  EXPECT_TRUE(o.lineLost);
  EXPECT_EQ(o.keptPartialFile, data.file("R_PART.NC"));
  EXPECT_EQ(test::readFile(data.file("R_PART.NC")), "O1\r\nG01 X1.\r\nG0\r\n");
  EXPECT_EQ(test::readFile(data.file("R.NC")), "older R\r\n");
  EXPECT_EQ(test::filesIn(data.path()), (std::vector<std::string>{"R.NC", "R_PART.NC"}));
  EXPECT_EQ(logEntries().back(), test::receiveLogEntry(false, data.file("R_PART.NC")));
  EXPECT_EQ(screen.lastMessage(), "受信を中止しました。!!");

  // Per program: the finished program stays, the unfinished one is kept apart.
  settings.Add_No = "N";
  punch("O1000\nM99\nO2000\nG01X1.\nM30\n", "iso", {"--leader", "0", "--hangup-after", "25"});
  o = perNumber();
  EXPECT_EQ(o.end, ReceiveEnd::Failed);
  EXPECT_EQ(test::readFile(data.file("O1000.NC")), "O1000\r\nM99\r\n%\r\n");
  EXPECT_EQ(test::readFile(data.file("O2000_PART.NC")), "O2000\r\nG01 X1.\r\n");
  EXPECT_FALSE(test::fileExists(data.file("O2000.NC")));
}

// The NC is switched off while the PC waits for it to start punching.
TEST_F(ReceivePtyTest, NcGoneWhileWaitingForTheStartEndsTheReception) {
  punch("O1\nM30\n", "iso", {"--wait-signal"});
  bool killed = false;
  script = [&] {
    if (!killed && screen.panel(3) == serial::kReceiveWaitingText) {
      nc->signal(SIGKILL);
      killed = true;
    }
  };
  serial::ReceiveOutcome o = byName();
  EXPECT_TRUE(killed);
  EXPECT_FALSE(screen.base.failsafeTripped);
  EXPECT_EQ(o.end, ReceiveEnd::Failed);
  EXPECT_TRUE(o.lineLost);
  EXPECT_TRUE(o.keptPartialFile.empty());
  EXPECT_TRUE(test::filesIn(data.path()).empty());
  EXPECT_EQ(logEntries().back(), test::receiveLogEntry(false, data.file("R.NC")));
}
