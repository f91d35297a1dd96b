// One virtual NC in serve mode, used by the real send and receive jobs over a
// real pseudo-terminal one session after another, as an operator at the
// window does with F1 and F2: what the NC records and what the PC saves are
// compared byte for byte.

#include "SendFixture.h"

#include "platform/IniFile.h"
#include "serial/PortProbe.h"
#include "serial/ReceiveJob.h"
#include "support/FakeReceiveScreen.h"
#include "support/NcSimProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

using namespace kestrovan;
using serial::ReceiveEnd;
using serial::SendOutcome;
using test::iso;

namespace {

const char* const kProgramA = "%\r\nO1234\r\nG00X0\r\nM30\r\n%\r\n";
const char* const kProgramB = "%\r\nO2000\r\nG01X10.Y-5.F100\r\nM02\r\n%\r\n";
const char* const kPunchOne = "O1000\nG00 X0\nG01X10.Y-5.F100\nM30\n";
const char* const kPunchTwo = "O1001\n(SECOND)\nG00X1.\nM30\n";

class ServePtyTest : public ::testing::Test, protected test::SendFixture {
protected:
  test::TempDir served; // the NC's folder for what it receives
  std::string punchOne = dir.file("P1.NC");
  std::string punchTwo = dir.file("P2.NC");
  test::FakeReceiveScreen receiveScreen;
  platform::IniFile profile;
  std::unique_ptr<serial::DevicePortOpener> ports;
  std::unique_ptr<test::NcSimProcess> nc;
  int sessions_ = 0;

  void SetUp() override {
    test::writeFile(punchOne, kPunchOne);
    test::writeFile(punchTwo, kPunchTwo);
    // A job that waits for ever is stopped after a while, so that a fault
    // fails the test instead of hanging it.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    auto guard = [giveUp](test::FakeTransferScreen& s) {
      if (std::chrono::steady_clock::now() > giveUp) s.pressStopKey();
    };
    screen.onEvents = [this, guard] { guard(screen); };
    receiveScreen.base.onEvents = [this, guard] { guard(receiveScreen.base); };
  }

  void startNc(const std::string& code = "iso") {
    nc = std::make_unique<test::NcSimProcess>(
        KESTROVAN_NCSIM, std::vector<std::string>{"--serve", served.path(), "--punch", punchOne, "--punch",
                                                  punchTwo, "--code", code});
    ASSERT_FALSE(nc->path().empty());
    profile = platform::IniFile::fromBytes("[Ports]\nCOM4=" + nc->path() + "\n");
    ports = std::make_unique<serial::DevicePortOpener>(profile);
    settings.Port = "COM4";
  }

  // The PC has closed the line; the next opening must be a session of its own.
  void sessionClosed() { ASSERT_TRUE(nc->waitFor("CLOSE", 10000, sessions_++)); }

  // F1: sends `name` with "%" framing at both ends.
  serial::SendResult sendSession(const std::string& name) {
    settings.StartChar = "Y";
    settings.StartChar_Type = 1;
    settings.EndChar = "Y";
    settings.EndChar_Type = 1;
    serial::SendResult result = send(*ports, {name});
    sessionClosed();
    return result;
  }

  // F2: receives into `name` in the data folder.
  serial::ReceiveOutcome receiveSession(const std::string& name) {
    settings.StartChar = "N";
    settings.EndChar = "Y";
    settings.Read_SP_Cut = "N";
    serial::Line line(settings, *ports, receiveScreen, dialogs);
    serial::ReceiveRequest request;
    request.target = {name, dir.file(name)};
    serial::ReceiveOutcome outcome = serial::ReceiveJob(settings, line, receiveScreen, log).run(request);
    sessionClosed();
    return outcome;
  }

  // The event lines from the `n`th OPEN (0 first) up to the CLOSE after it.
  std::vector<std::string> session(int n) const {
    const std::vector<std::string>& all = nc->events();
    auto open = all.begin();
    for (int i = 0; i <= n; ++i)
      open = std::find(i == 0 ? all.begin() : open + 1, all.end(), "OPEN");
    if (open == all.end()) return {};
    return {open, std::find(open, all.end(), "CLOSE")};
  }

  std::string servedFile(const std::string& name) const { return test::readFile(served.file(name)); }
};

std::vector<std::string> filesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

bool contains(const std::vector<std::string>& events, const std::string& line) {
  return std::find(events.begin(), events.end(), line) != events.end();
}

} // namespace

TEST_F(ServePtyTest, SendReceiveSendInOneRun) {
  startNc();
  program("A.NC", kProgramA);
  program("B.NC", kProgramB);

  EXPECT_EQ(sendSession("A.NC").outcome, SendOutcome::Completed);
  const std::string first = served.file("received-001.bin");
  ASSERT_TRUE(nc->waitFor("RECEIVED " + first));
  // "%" LF, the three lines, LF "%": the bytes as they left the PC.
  EXPECT_EQ(servedFile("received-001.bin"), iso("%\nO1234\nG00X0\nM30\n\n%"));
  EXPECT_EQ(servedFile("received-001.nc"), "%\nO1234\nG00X0\nM30\n\n%");
  EXPECT_TRUE(contains(session(0), "RECEIVE " + first));
  EXPECT_TRUE(contains(session(0), "END percent 20"));
  EXPECT_TRUE(contains(session(0), "RECEIVED " + first + " 20"));

  EXPECT_EQ(receiveSession("R.NC").end, ReceiveEnd::Completed);
  EXPECT_EQ(test::readFile(dir.file("R.NC")), "O1000\r\nG00 X0\r\nG01 X10. Y-5. F100\r\nM30\r\n%\r\n");
  const std::vector<std::string> punch = session(1);
  // The NC announced itself before it punched, and the DC1s did the
  // reception no harm; none came after the punch began.
  auto punchLine = std::find(punch.begin(), punch.end(), "PUNCH " + punchOne);
  ASSERT_NE(punchLine, punch.end());
  EXPECT_NE(std::find(punch.begin(), punchLine, "DC1 0"), punchLine);
  EXPECT_EQ(std::find(punchLine, punch.end(), "DC1 0"), punch.end());
  // 20 leader, "%" LF, 29 characters and 4 line feeds, "%" LF, DC4.
  EXPECT_TRUE(contains(punch, "PUNCHED 58"));
  EXPECT_TRUE(contains(punch, "END dc4 58"));

  EXPECT_EQ(sendSession("B.NC").outcome, SendOutcome::Completed);
  const std::string third = served.file("received-002.bin");
  ASSERT_TRUE(nc->waitFor("RECEIVED " + third));
  EXPECT_EQ(servedFile("received-002.bin"), iso("%\nO2000\nG01X10.Y-5.F100\nM02\n\n%"));
  EXPECT_EQ(servedFile("received-002.nc"), "%\nO2000\nG01X10.Y-5.F100\nM02\n\n%");
  EXPECT_EQ(filesIn(served.path()), (std::vector<std::string>{"received-001.bin", "received-001.nc",
                                                              "received-002.bin", "received-002.nc"}));
  EXPECT_EQ(logEntries().size(), 3u);
}

TEST_F(ServePtyTest, ReceptionsGetTheProgramsInTurnInEia) {
  settings.R_Code = 0; // the PC tells the code from the bytes
  startNc("eia");
  EXPECT_EQ(receiveSession("R1.NC").end, ReceiveEnd::Completed);
  EXPECT_EQ(receiveSession("R2.NC").end, ReceiveEnd::Completed);
  EXPECT_EQ(receiveSession("R3.NC").end, ReceiveEnd::Completed);
  EXPECT_EQ(test::readFile(dir.file("R1.NC")), "O1000\r\nG00 X0\r\nG01 X10. Y-5. F100\r\nM30\r\n%\r\n");
  EXPECT_EQ(test::readFile(dir.file("R2.NC")), "O1001\r\n(SECOND)\r\nG00 X1.\r\nM30\r\n%\r\n");
  EXPECT_EQ(test::readFile(dir.file("R3.NC")), test::readFile(dir.file("R1.NC")));
  EXPECT_TRUE(contains(session(0), "PUNCH " + punchOne));
  EXPECT_TRUE(contains(session(1), "PUNCH " + punchTwo));
  EXPECT_TRUE(contains(session(2), "PUNCH " + punchOne));
  EXPECT_TRUE(filesIn(served.path()).empty());
}
