// The service's configuration file: a good file read whole, and every fault
// told with the file, the line and the key, the service not starting.

#include "dnc/DncConfig.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kestrovan;
using dnc::ConfigParse;

namespace {

class DncConfigTest : public ::testing::Test {
protected:
  test::TempDir dir;
  std::string send = dir.file("send");
  std::string receive = dir.file("in");
  dnc::ConfigContext context;

  void SetUp() override {
    std::filesystem::create_directory(send);
    std::filesystem::create_directory(receive);
    context.comDevice = [this](int n) { return n == 3 ? dir.file("ttyCOM3") : std::string(); };
  }

  // A machine section with every required key; `extra` lines follow them.
  std::string machine(const std::string& name, const std::string& port, const std::string& extra = "") {
    return "[Machine " + name + "]\r\nPort=" + port + "\r\nSendFolder=" + send +
           "\r\nReceiveFolder=" + receive + "\r\nRequest=O9999\r\n" + extra;
  }

  ConfigParse parse(const std::string& text) { return dnc::parseDncConfig(text, "/etc/dnc.ini", context); }

  // The error of a bad file: it has no configuration, and names line and key.
  void expectError(const std::string& text, int line, const std::string& key) {
    SCOPED_TRACE(text);
    ConfigParse parsed = parse(text);
    ASSERT_FALSE(parsed.config.has_value());
    ASSERT_TRUE(parsed.error.has_value());
    EXPECT_EQ(parsed.error->file, "/etc/dnc.ini");
    EXPECT_EQ(parsed.error->line, line);
    EXPECT_EQ(parsed.error->key, key);
    EXPECT_FALSE(parsed.error->message.empty());
    const std::string prefix =
        "/etc/dnc.ini:" + std::to_string(line) + ": " + (key.empty() ? "" : key + ": ");
    EXPECT_EQ(parsed.error->text().substr(0, prefix.size()), prefix);
  }
};

TEST_F(DncConfigTest, GoodFileGivesEveryMachineWithItsKeysAndTheDefaults) {
  ConfigParse parsed =
      parse("; shop floor\r\n[Service]\r\nStatusFile=/run/x/status\r\nRetrySeconds=5\r\n\r\n" +
            machine("LATHE1", "COM3",
                    "Speed=4800,7,E,2\r\nCode=ISO\r\nSend_Before=1\r\nStartChar=Y\r\n"
                    "StartChar_Type=3\r\nEndChar=N\r\nEndChar_Type=4\r\nDC3_0X93=N\r\n") +
            "[machine MILL-2]\r\n  port = /dev/ttyUSB0  \r\nsendfolder=" + send +
            "\r\nreceivefolder=" + receive + "\r\nrequest=o8000\r\n");
  ASSERT_FALSE(parsed.error.has_value()) << parsed.error->text();
  const dnc::ServiceConfig& c = *parsed.config;
  EXPECT_EQ(c.statusFile, "/run/x/status");
  EXPECT_EQ(c.retrySeconds, 5);
  ASSERT_EQ(c.machines.size(), 2u);
  const dnc::MachineConfig& a = c.machines[0];
  EXPECT_EQ(a.name, "LATHE1");
  EXPECT_EQ(a.port, "COM3");
  EXPECT_EQ(a.device, dir.file("ttyCOM3")); // through [Ports] of the main settings
  EXPECT_EQ(a.speed, "4800,7,E,2");
  EXPECT_EQ(a.code, dnc::ReceiveCode::Iso);
  EXPECT_EQ(a.sendFolder, send);
  EXPECT_EQ(a.receiveFolder, receive);
  EXPECT_EQ(a.request, 9999);
  EXPECT_EQ(a.sendBefore, 1);
  EXPECT_EQ(a.startChar, "Y");
  EXPECT_EQ(a.startCharType, 3);
  EXPECT_EQ(a.endChar, "N");
  EXPECT_EQ(a.endCharType, 4);
  EXPECT_EQ(a.dc3x93, "N");
  const dnc::MachineConfig& b = c.machines[1];
  EXPECT_EQ(b.name, "MILL-2");
  EXPECT_EQ(b.device, "/dev/ttyUSB0");
  EXPECT_EQ(b.request, 8000);
  // The main program's defaults.
  EXPECT_EQ(b.speed, "4800,8,N,2");
  EXPECT_EQ(b.code, dnc::ReceiveCode::Auto);
  EXPECT_EQ(b.sendBefore, 0);
  EXPECT_EQ(b.startChar, "N");
  EXPECT_EQ(b.endChar, "Y");
  EXPECT_EQ(b.startCharType, 1);
  EXPECT_EQ(b.endCharType, 1);
  EXPECT_EQ(b.dc3x93, "Y");
}

TEST_F(DncConfigTest, EachBadKeyIsNamedWithItsLine) {
  // The bad line is line 6 of the file: the section head, four keys, then it.
  const struct {
    const char* line;
    const char* key;
  } cases[] = {
      {"Speed=4801,8,N,2", "Speed"},
      {"Speed=fast", "Speed"},
      {"Code=ASCII", "Code"},
      {"Send_Before=3", "Send_Before"},
      {"StartChar=Yes", "StartChar"},
      {"StartChar_Type=6", "StartChar_Type"},
      {"EndChar=1", "EndChar"},
      {"EndChar_Type=0", "EndChar_Type"},
      {"DC3_0X93=X", "DC3_0X93"},
      {"Leader=1", "Leader"},
      {"Speed=9600,8,N,1 ; fast", "Speed"}, // no comments after a value
      {"Port=COM3", "Port"},                // given twice
  };
  for (const auto& c : cases)
    expectError(machine("LATHE1", "COM3", std::string(c.line) + "\r\n"), 6, c.key);
  expectError(machine("LATHE1", "COM3").replace(machine("LATHE1", "COM3").find("O9999"), 5, "9999X"), 5,
              "Request");
  expectError(machine("LATHE1", "COM7"), 2, "Port");  // COM7 names no device
  expectError(machine("LATHE1", "ttyS0"), 2, "Port"); // neither COMn nor a path
  expectError("[Service]\r\nRetrySeconds=0\r\n" + machine("A", "COM3"), 2, "RetrySeconds");
  expectError("[Service]\r\nColour=red\r\n" + machine("A", "COM3"), 2, "Colour");
}

TEST_F(DncConfigTest, MissingKeyIsNamedAtItsSection) {
  expectError("\r\n[Machine LATHE1]\r\nPort=COM3\r\nSendFolder=" + send + "\r\nReceiveFolder=" + receive +
                  "\r\n",
              2, "Request");
  expectError("[Machine LATHE1]\r\nRequest=O9999\r\nSendFolder=" + send + "\r\nReceiveFolder=" + receive +
                  "\r\n",
              1, "Port");
}

TEST_F(DncConfigTest, MissingFolderIsNamed) {
  expectError("[Machine LATHE1]\r\nPort=COM3\r\nSendFolder=" + dir.file("nowhere") +
                  "\r\nReceiveFolder=" + receive + "\r\nRequest=O9999\r\n",
              3, "SendFolder");
  expectError("[Machine LATHE1]\r\nPort=COM3\r\nSendFolder=" + send +
                  "\r\nReceiveFolder=" + dir.file("gone/in") + "\r\nRequest=O9999\r\n",
              4, "ReceiveFolder");
  expectError("[Machine LATHE1]\r\nPort=COM3\r\nSendFolder=send\r\nReceiveFolder=" + receive +
                  "\r\nRequest=O9999\r\n",
              3, "SendFolder"); // relative: the service's folder is no one's
  // A name longer than the system takes, and a folder it may not look into
  // (found by fuzzing: the service ended on an exception).
  expectError("[Machine LATHE1]\r\nPort=COM3\r\nSendFolder=/srv/" + std::string(5000, 'x') +
                  "\r\nReceiveFolder=" + receive + "\r\nRequest=O9999\r\n",
              3, "SendFolder");
  expectError("[Service]\r\nLogFolder=/" + std::string(300, 'y') + "\r\n[Machine LATHE1]\r\nPort=COM3\r\n"
                  "SendFolder=" + send + "\r\nReceiveFolder=" + receive + "\r\nRequest=O9999\r\n",
              2, "LogFolder");
}

TEST_F(DncConfigTest, DuplicatePortIsNamedWhateverItIsCalled) {
  // COM3 maps to ttyCOM3; the second machine names that device directly,
  // the third through a link to it.
  test::writeFile(dir.file("ttyCOM3"), "");
  std::filesystem::create_symlink(dir.file("ttyCOM3"), dir.file("link"));
  expectError(machine("A", "COM3") + machine("B", dir.file("ttyCOM3")), 7, "Port");
  expectError(machine("A", "COM3") + machine("B", dir.file("link")), 7, "Port");
  expectError(machine("A", "COM3") + machine("a", "/dev/ttyUSB1"), 6, ""); // one name twice
}

TEST_F(DncConfigTest, BytesThatAreNotShiftJisAreNamed) {
  // 0x80 and 0xFD are no Shift-JIS; 0x82 0xA0 is "あ".
  expectError(machine("LATHE1", "COM3", "Request2=O\x80\r\n"), 6, "Request2");
  expectError("[Machine LATHE1]\r\nPort=COM3\r\nSendFolder=" + send + "/\xFD\r\nReceiveFolder=" + receive +
                  "\r\nRequest=O9999\r\n",
              3, "SendFolder");
  expectError("[Machine L\x80]\r\nPort=COM3\r\n", 1, "");
  ConfigParse good = parse(machine("\x82\xA0", "COM3"));
  ASSERT_TRUE(good.config.has_value());
  EXPECT_EQ(good.config->machines[0].name, "あ");
}

TEST_F(DncConfigTest, FileThatIsNoConfigurationIsRefused) {
  expectError("Port=COM3\r\n", 1, "Port"); // before any section
  expectError("[Machines]\r\n", 1, "");
  expectError("[Machine .hidden]\r\n", 1, "");
  expectError(machine("A", "COM3", "just words\r\n"), 6, "");
  ConfigParse empty = parse("; nothing\r\n");
  ASSERT_TRUE(empty.error.has_value());
  EXPECT_EQ(empty.error->line, 0);
  ConfigParse missing = dnc::loadDncConfig(dir.file("none.ini"), context);
  ASSERT_TRUE(missing.error.has_value());
  EXPECT_EQ(missing.error->text(), dir.file("none.ini") + ": cannot be read");
}

} // namespace
