// The service end to end: the real kestrovan-dnc serving three virtual NCs
// (kestrovan-ncsim in operate mode on pseudo-terminals) at once. Every file
// received and every stream sent is compared byte for byte.

#include "dnc/MachineStatus.h"
#include "platform/Cp932.h"
#include "serial/NcCode.h"
#include "support/NcSimProcess.h"
#include "support/ProgramProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>

using namespace kestrovan;
namespace fs = std::filesystem;

namespace {

std::string iso(const std::string& text) {
  std::string out;
  for (char c : text)
    out += static_cast<char>(serial::isoEncode(static_cast<unsigned char>(c)));
  return out;
}

std::size_t count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
    ++n;
  return n;
}

std::vector<std::string> filesIn(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(folder, ec))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class DncServiceTest : public ::testing::Test {
protected:
  struct Machine {
    std::string name;
    std::string send;
    std::string receive;
    std::string link; // the line's fixed name, as a shop's /dev/serial/by-id/... is
    std::string nc;   // what the controller reads lands here
    std::unique_ptr<test::NcSimProcess> sim;
  };

  test::TempDir root;
  test::TempDir home;
  test::TempDir runtime;
  std::string config = root.file("dnc.ini");
  std::string logs = root.file("logs");
  std::string statusFile = root.file("status");
  std::string errors = root.file("dnc.err");
  std::vector<Machine> machines;
  std::unique_ptr<test::ProgramProcess> service;

  void SetUp() override {
    fs::create_directory(logs);
    for (int i = 1; i <= 3; ++i) {
      Machine m;
      m.name = "LATHE" + std::to_string(i);
      m.send = root.file("send" + std::to_string(i));
      m.receive = root.file("in" + std::to_string(i));
      m.link = root.file("tty" + std::to_string(i));
      m.nc = root.file("nc" + std::to_string(i));
      fs::create_directory(m.send);
      fs::create_directory(m.receive);
      machines.push_back(std::move(m));
    }
  }

  void TearDown() override {
    if (service) service->terminate();
  }

  std::string machineSection(const Machine& m, const std::string& request = "O9999") {
    return "[Machine " + m.name + "]\r\nPort=" + m.link +
           "\r\nSpeed=9600,8,N,1\r\nCode=ISO\r\nSendFolder=" + m.send + "\r\nReceiveFolder=" + m.receive +
           "\r\nRequest=" + request + "\r\n";
  }

  void writeConfig(const std::string& lastRequest = "O9999") {
    std::string text =
        "[Service]\r\nStatusFile=" + statusFile + "\r\nLogFolder=" + logs + "\r\nRetrySeconds=1\r\n";
    for (std::size_t i = 0; i < machines.size(); ++i)
      text += machineSection(machines[i], i + 1 == machines.size() ? lastRequest : "O9999");
    test::writeFile(config, text);
  }

  // The controller of machine `index`, doing `steps` once the service holds its line.
  void startNc(std::size_t index, const std::vector<std::string>& steps,
               const std::vector<std::string>& extra = {}) {
    Machine& m = machines[index];
    std::vector<std::string> args{"--operate", m.nc, "--link", m.link};
    for (const std::string& s : steps) {
      args.push_back("--step");
      args.push_back(s);
    }
    args.insert(args.end(), extra.begin(), extra.end());
    m.sim = std::make_unique<test::NcSimProcess>(KESTROVAN_NCSIM, args);
    ASSERT_FALSE(m.sim->path().empty());
  }

  void startService() {
    writeConfig();
    test::ProgramStart start;
    start.errorFile = errors;
    service = std::make_unique<test::ProgramProcess>(KESTROVAN_DNC, home, runtime,
                                                     std::vector<std::string>{"--config", config}, start);
    ASSERT_TRUE(service->started());
  }

  std::string program(const std::string& name, const std::string& text) {
    const std::string path = root.file(name);
    test::writeFile(path, text);
    return "punch:" + path;
  }

  // Waits for something the service does, as long as a slow machine may need.
  static bool eventually(const std::function<bool()>& condition, int limitMs = 60000) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (!condition()) {
      if (std::chrono::steady_clock::now() > until) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
  }

  std::optional<dnc::MachineStatus> status(const std::string& name) {
    for (const dnc::MachineStatus& s : dnc::parseStatusFile(test::readFile(statusFile)))
      if (s.name == name) return s;
    return std::nullopt;
  }
  bool stateIs(const std::string& name, const std::string& state) {
    std::optional<dnc::MachineStatus> s = status(name);
    return s && s->state == state;
  }

  std::string journal() { return test::readFile(errors); }
  // The machine's transfer log, Shift-JIS on disk.
  std::string log(const Machine& m) {
    return platform::cp932ToUtf8(test::readFile(logs + "/" + m.name + ".log"));
  }
};

TEST_F(DncServiceTest, ThreeMachinesPunchAndRequestAtOnce) {
  // Machine 1 has an older O1001.NC that the new one must not cost.
  test::writeFile(machines[0].receive + "/O1001.NC", "O1001 (OLDER)\r\nM30\r\n");
  for (int i = 1; i <= 3; ++i) {
    const std::string n = std::to_string(i);
    test::writeFile(machines[i - 1].send + "/O200" + n + ".NC",
                    "%\r\nO200" + n + " (PART " + n + ")\r\nG01 X" + n + ".\r\nM30\r\n%\r\n");
    startNc(i - 1, {program("P" + n, "O100" + n + "\nG00 X" + n + "0.\nM30\n"),
                    program("R" + n, "O9999 (O200" + n + " O3999)\nM30\n"), "read"});
  }
  startService();

  for (int i = 1; i <= 3; ++i) {
    Machine& m = machines[i - 1];
    const std::string n = std::to_string(i);
    SCOPED_TRACE(m.name);
    ASSERT_TRUE(m.sim->waitFor("READ", 60000)) << journal();
    // The program asked for, then the short program for the one not there,
    // in one stream.
    EXPECT_EQ(test::readFile(m.nc + "/read-1.bin"),
              iso("\nO200" + n + " (PART " + n + ")\nG01 X" + n + ".\nM30\nO9998 (NOT FOUND O3999)\n\n%"));
    EXPECT_EQ(test::readFile(m.receive + "/O100" + n + ".NC"),
              "O100" + n + "\r\nG00 X" + n + "0.\r\nM30\r\n%\r\n");
  }
  for (const Machine& m : machines)
    ASSERT_TRUE(eventually([&] {
      return stateIs(m.name, "waiting") && status(m.name)->lastTransfer.find("送信") == 0;
    })) << m.name
        << "\n"
        << journal();

  // The older file is under old/ with its time; the request and the answer
  // for the missing program are not left behind.
  const std::vector<std::string> old = filesIn(machines[0].receive + "/old");
  ASSERT_EQ(old.size(), 1u);
  EXPECT_EQ(old[0].substr(0, 9), "O1001.NC.");
  EXPECT_EQ(test::readFile(machines[0].receive + "/old/" + old[0]), "O1001 (OLDER)\r\nM30\r\n");
  for (int i = 1; i <= 3; ++i) {
    const Machine& m = machines[i - 1];
    EXPECT_EQ(filesIn(m.receive), i == 1 ? (std::vector<std::string>{"O1001.NC", "old"})
                                         : std::vector<std::string>{"O100" + std::to_string(i) + ".NC"});
    // Every transfer in the machine's log and, one line each, in the journal.
    const std::string entries = log(m);
    EXPECT_EQ(count(entries, "受信　　完了"), 2u) << entries;
    EXPECT_EQ(count(entries, "送信　　完了"), 2u) << entries;
    EXPECT_EQ(count(entries, m.send + "/O200" + std::to_string(i) + ".NC"), 1u) << entries;
    EXPECT_EQ(count(journal(), m.name + ": 送信　　完了"), 2u);
    EXPECT_EQ(count(journal(), m.name + ": 受信　　完了"), 2u);
  }

  // --status from a second process.
  std::FILE* out = ::popen((std::string(KESTROVAN_DNC) + " --config " + config + " --status").c_str(), "r");
  ASSERT_NE(out, nullptr);
  std::string table;
  char buffer[512];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, out))
    table.append(buffer, n);
  EXPECT_EQ(::pclose(out), 0);
  for (const Machine& m : machines)
    EXPECT_NE(table.find(m.name + "  " + m.link + "  waiting\n    last: 送信　　完了"), std::string::npos)
        << table;
}

TEST_F(DncServiceTest, PulledCableIsRetriedWhileTheOthersGoOn) {
  for (int i = 1; i <= 3; ++i) {
    const std::string n = std::to_string(i);
    startNc(i - 1, {program("A" + n, "O110" + n + "\nG00 X" + n + ".\nM30\n"), "signal",
                    program("B" + n, "O120" + n + "\nG01 Y" + n + ".\nM30\n")});
  }
  startService();
  for (const Machine& m : machines)
    ASSERT_TRUE(eventually([&] { return test::fileExists(m.receive + "/O110" + m.name.substr(5) + ".NC"); }))
        << journal();

  // Machine 2's cable comes out: its controller is gone, the line with it.
  machines[1].sim->signal(SIGKILL);
  ASSERT_TRUE(eventually([&] { return stateIs("LATHE2", "absent"); })) << journal();
  EXPECT_NE(journal().find("LATHE2: error (" + machines[1].link + ": the line hung up"), std::string::npos);
  EXPECT_NE(status("LATHE2")->reason.find("no such device"), std::string::npos);

  // The other two punch again and are received as if nothing happened.
  machines[0].sim->signal(SIGUSR1);
  machines[2].sim->signal(SIGUSR1);
  EXPECT_TRUE(eventually([&] { return test::fileExists(machines[0].receive + "/O1201.NC"); })) << journal();
  EXPECT_TRUE(eventually([&] { return test::fileExists(machines[2].receive + "/O1203.NC"); })) << journal();
  EXPECT_TRUE(eventually([&] { return stateIs("LATHE1", "waiting") && stateIs("LATHE3", "waiting"); }));
  EXPECT_EQ(test::readFile(machines[0].receive + "/O1201.NC"), "O1201\r\nG01 Y1.\r\nM30\r\n%\r\n");
  EXPECT_EQ(test::readFile(machines[2].receive + "/O1203.NC"), "O1203\r\nG01 Y3.\r\nM30\r\n%\r\n");
  EXPECT_TRUE(stateIs("LATHE2", "absent"));

  // The cable back in: the retry finds the line, and the machine is served.
  machines[1].sim.reset();
  startNc(1, {program("C2", "O1302\nM30\n")});
  EXPECT_TRUE(eventually([&] { return test::fileExists(machines[1].receive + "/O1302.NC"); })) << journal();
  EXPECT_EQ(test::readFile(machines[1].receive + "/O1302.NC"), "O1302\r\nM30\r\n%\r\n");
  EXPECT_EQ(count(journal(), "LATHE1: line held"), 1u);
  EXPECT_EQ(count(journal(), "LATHE3: line held"), 1u);
  EXPECT_EQ(count(journal(), "LATHE2: line held"), 2u);
}

TEST_F(DncServiceTest, SigtermEndsThreeReceptionsThroughTheirStopPaths) {
  std::string text;
  for (int line = 0; line < 400; ++line)
    text += "G01 X" + std::to_string(line) + ".123 Y4.567 F100\n";
  for (int i = 1; i <= 3; ++i) {
    const std::string n = std::to_string(i);
    startNc(i - 1, {program("L" + n, "O500" + n + "\n" + text + "M30\n")}, {"--baud", "1200"});
  }
  startService();
  for (const Machine& m : machines)
    ASSERT_TRUE(eventually([&] { return stateIs(m.name, "receiving"); })) << journal();
  // Some lines in, well short of the end (the whole takes over a minute).
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));

  const auto asked = std::chrono::steady_clock::now();
  service->terminate();
  std::optional<int> exit = service->waitExit(std::chrono::seconds(20));
  const auto took =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - asked);
  ASSERT_TRUE(exit.has_value());
  EXPECT_EQ(*exit, 0);
  RecordProperty("stop_ms", static_cast<int>(took.count())); // the figure, for the notes

  for (int i = 1; i <= 3; ++i) {
    Machine& m = machines[i - 1];
    const std::string n = std::to_string(i);
    SCOPED_TRACE(m.name);
    // The controller was told with DC4 in the middle of its punch.
    EXPECT_TRUE(m.sim->waitFor("DC4", 5000));
    // What arrived is kept under a name of its own, never as the finished program.
    const std::string kept = m.receive + "/O500" + n + "_PART.NC";
    EXPECT_FALSE(test::fileExists(m.receive + "/O500" + n + ".NC"));
    ASSERT_TRUE(test::fileExists(kept)) << journal();
    std::string full = "O500" + n + "\r\n";
    for (std::size_t at = 0; at < text.size();) {
      const std::size_t end = text.find('\n', at);
      full += text.substr(at, end - at) + "\r\n";
      at = end + 1;
    }
    // The line that was coming in ends the file.
    std::string got = test::readFile(kept);
    ASSERT_GE(got.size(), 2u);
    EXPECT_EQ(got.substr(got.size() - 2), "\r\n");
    got.resize(got.size() - 2);
    EXPECT_GT(got.size(), std::string("O500" + n).size());
    EXPECT_LT(got.size(), full.size());
    EXPECT_EQ(full.substr(0, got.size()), got);
    EXPECT_EQ(count(log(m), "受信　　中止"), 1u);
    EXPECT_NE(log(m).find(kept), std::string::npos);
  }
  EXPECT_NE(journal().find("stopped"), std::string::npos);
  EXPECT_FALSE(test::fileExists(statusFile)); // --status: not running
}

TEST_F(DncServiceTest, SighupRestartsOnlyTheMachinesWhoseSectionChanged) {
  for (std::size_t i = 0; i < 3; ++i)
    startNc(i, {"signal"});
  startService();
  for (const Machine& m : machines)
    ASSERT_TRUE(eventually([&] { return stateIs(m.name, "waiting"); })) << journal();

  writeConfig("O8888");
  ::kill(service->pid(), SIGHUP);
  ASSERT_TRUE(eventually([&] {
    return journal().find("reloaded; restarted: LATHE3\n") != std::string::npos;
  })) << journal();
  EXPECT_TRUE(eventually([&] { return count(journal(), "LATHE3: line held") == 2; })) << journal();
  EXPECT_EQ(count(journal(), "LATHE1: line held"), 1u);
  EXPECT_EQ(count(journal(), "LATHE2: line held"), 1u);

  // A file that has gone bad is not taken; the machines go on as they were.
  test::writeFile(config, "[Machine LATHE1]\r\nPort=nowhere\r\n");
  ::kill(service->pid(), SIGHUP);
  ASSERT_TRUE(eventually([&] { return journal().find("not reloaded") != std::string::npos; })) << journal();
  EXPECT_NE(journal().find(config + ":2: Port: "), std::string::npos);
  // LATHE3, restarted just before, may still be taking its line.
  for (const Machine& m : machines)
    EXPECT_TRUE(eventually([&] { return stateIs(m.name, "waiting"); })) << m.name;
}

} // namespace

// The operator punches a request, then, instead of switching the control to
// input, punches a program: the waiting answer must not take the program's
// "%" for its start nor read its bytes away. The program is received whole,
// the request is dropped (nothing was sent), and a request punched again is
// answered as usual.
TEST_F(DncServiceTest, AProgramPunchedWhileARequestWaitsForDc1IsReceived) {
  machines.resize(1);
  Machine& m = machines[0];
  test::writeFile(m.send + "/O2001.NC", "%\r\nO2001 (PART)\r\nG01 X1.\r\nM30\r\n%\r\n");
  startNc(0, {program("R1", "O9999 (O2001)\nM30\n"), program("P", "%\nO5000 (PUNCHED)\nG00 X5.\nM30\n%\n"),
              program("R2", "O9999 (O2001)\nM30\n"), "read"});
  startService();

  ASSERT_TRUE(eventually([&] { return fs::exists(m.receive + "/O5000.NC"); }, 20000)) << journal();
  ASSERT_TRUE(m.sim->waitFor("READ", 60000)) << journal();
  EXPECT_EQ(test::readFile(m.receive + "/O5000.NC"), "O5000(PUNCHED)\r\nG00 X5.\r\nM30\r\n%\r\n");
  // Only the second request's answer reached the controller.
  EXPECT_EQ(test::readFile(m.nc + "/read-1.bin"), iso("\nO2001 (PART)\nG01 X1.\nM30\n\n%"));
  EXPECT_FALSE(fs::exists(m.nc + "/read-2.bin"));
  EXPECT_NE(journal().find(m.name + ": the controller punched a program while the request for O2001 waited"),
            std::string::npos)
      << journal();
  ASSERT_TRUE(eventually([&] { return count(log(m), "送信　　完了") == 1; })) << log(m);
  EXPECT_EQ(filesIn(m.receive), std::vector<std::string>{"O5000.NC"});
}
