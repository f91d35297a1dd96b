// Sends to an NC behind ser2net; see NetworkNc.h.

#include "NetworkNc.h"
#include "SendFixture.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace kestrovan;
using serial::SendOutcome;
using test::hasEvent;
using test::NetworkNc;
using test::Ser2net;

namespace {

using test::iso;
using test::kFiveLines;
using test::longProgram;

class NetworkSendTest : public ::testing::Test, protected test::SendFixture {
protected:
  NetworkNc net;
  std::string recording = dir.file("nc.bin");

  void SetUp() override {
    KESTROVAN_NEEDS_SER2NET();
    settings.Port = "COM4";
    // ser2net reports the modem lines of a pseudo-terminal, which has none, as all off.
    settings.Signal = "N";
    settings.StartChar = "Y";
    settings.StartChar_Type = 1;
    settings.EndChar = "Y";
    settings.EndChar_Type = 1;
  }
  void startNc(std::vector<std::string> extra = {}, Ser2net::Protocol protocol = Ser2net::Protocol::Rfc2217,
               const std::string& serverLine = "9600n81") {
    std::vector<std::string> args{"--receive", recording, "--idle-ms", "5000", "--end-on-percent"};
    args.insert(args.end(), extra.begin(), extra.end());
    net.start(dir.path(), args, protocol, serverLine);
  }
  // Without the carrier rule the send asks whether the NC is ready: it is.
  serial::SendResult sendNow(const std::string& file) {
    dialogs.answers = {base::MessageAnswer::Yes};
    return send(*net.ports, {file});
  }
  std::string received() {
    net.nc->finish();
    return test::readFile(recording);
  }
};

} // namespace

// ISO and EIA at 9600,8,N,1 and the characters as they are at 4800,7,E,2;
// ser2net sets the pseudo-terminal as the telnet requests asked. A Linux
// pseudo-terminal keeps only eight data bits without parity, so its termios
// shows the speed and the stop bits of the request.
TEST_F(NetworkSendTest, StreamsArriveByteForByteWithTheLineSettingsOnTheFarUart) {
  program("O1234.NC", kFiveLines);
  struct Case {
    const char* speed;
    const char* code;
    std::string stream;
    const char* termios;
  } cases[] = {
      {"9600,8,N,1", "N", "\xA5\x0A\xCF\xB1\xB2\x33\xB4\x0A\x47\x30\x30\xD8\x30\x0A\x4D\x33\x30\x0A\x0A\xA5",
       "LINE 9600 8N1"},
      {"9600,8,N,1", "Y",
       std::string("\x0B\x80\x46\x01\x02\x13\x04\x80\x67\x20\x20\x37\x20\x80\x54\x13\x20\x80\x80\x0B"),
       "LINE 9600 8N1"},
      {"4800,7,E,2", "N", "%\nO1234\nG00X0\nM30\n\n%", "LINE 4800 8N2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.speed) + " EIA " + c.code);
    settings.Speed = c.speed;
    settings.Code = c.code;
    // ser2net starts the line at other settings, so that only the requests can set them.
    startNc({}, Ser2net::Protocol::Rfc2217, "1200e71");
    EXPECT_EQ(sendNow("O1234.NC").outcome, SendOutcome::Completed);
    EXPECT_EQ(received(), c.stream);
    EXPECT_TRUE(hasEvent(net.nc->events(), c.termios)) << ::testing::PrintToString(net.nc->events());
  }
}

// Raw TCP: the bytes as they are, at the device server's own settings.
TEST_F(NetworkSendTest, RawTcpCarriesTheBytesAsTheyAre) {
  program("O1234.NC", kFiveLines);
  settings.Speed = "9600,8,N,1";
  startNc({}, Ser2net::Protocol::Raw, "9600n81");
  EXPECT_EQ(sendNow("O1234.NC").outcome, SendOutcome::Completed);
  EXPECT_EQ(received(), "\xA5\x0A\xCF\xB1\xB2\x33\xB4\x0A\x47\x30\x30\xD8\x30\x0A\x4D\x33\x30\x0A\x0A\xA5");
  // No modem line reaches us over raw TCP: the lamps say so, never on or off.
  EXPECT_GT(screen.lampsUnknown, 0);
  EXPECT_TRUE(screen.dsrLamp.empty());
  EXPECT_TRUE(screen.ctsLamp.empty());
}

// The NC holds the send off again and again: nothing lost, nothing doubled.
TEST_F(NetworkSendTest, Dc3AndDc1MidSendLoseAndDoubleNothing) {
  settings.Speed = "19200,8,N,1";
  settings.EndChar = "N";
  const std::string text = test::written::namedSubprograms();
  program("S.NC", text);
  std::vector<std::string> noPercent{"--receive", recording, "--idle-ms", "5000"};
  net.start(dir.path(), noPercent);
  ASSERT_EQ(sendNow("S.NC").outcome, SendOutcome::Completed);
  const std::string unpaused = received();
  ASSERT_GT(unpaused.size(), 5000u);

  noPercent.insert(noPercent.end(), {"--dc3-after", "700", "--dc3-every", "2500", "--dc1-after-ms", "150"});
  net.start(dir.path(), noPercent);
  ASSERT_EQ(sendNow("S.NC").outcome, SendOutcome::Completed);
  EXPECT_EQ(received(), unpaused);
  const auto& events = net.nc->events();
  EXPECT_GE(std::count_if(events.begin(), events.end(),
                          [](const std::string& e) { return e.rfind("DC3 ", 0) == 0; }),
            2);
}

// The device server goes (switched off, rebooted) in the middle of a send.
TEST_F(NetworkSendTest, DeviceServerGoneMidSendStopsTheSendWithALogEntry) {
  settings.Speed = "19200,8,N,1";
  program("BIG.NC", longProgram(3000));
  startNc({"--idle-ms", "600000"});
  bool killed = false;
  screen.onEvents = [&] {
    if (!killed && !window.progress.empty() &&
        window.progress.back().first > window.progress.back().second / 10) {
      net.server->kill();
      killed = true;
    }
  };
  const serial::SendResult result = sendNow("BIG.NC");
  ASSERT_TRUE(killed);
  EXPECT_FALSE(screen.failsafeTripped);
  EXPECT_EQ(result.outcome, SendOutcome::Stopped);
  EXPECT_TRUE(result.lineLost);
  EXPECT_EQ(logEntries(), std::vector<std::string>{stoppedEntry("BIG.NC")});
}

// Nothing listens on the port, or the host never answers: the opening ends
// with a message naming host and port, and the window kept running meanwhile.
TEST_F(NetworkSendTest, ClosedPortAndSilentHostEndTheOpeningWithAMessage) {
  const int closed = test::freeLoopbackPort();
  // A silent host: a listener whose queue is full drops every further SYN.
  const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
  socklen_t length = sizeof a;
  ::getsockname(listener, reinterpret_cast<sockaddr*>(&a), &length);
  ASSERT_EQ(::listen(listener, 0), 0);
  std::vector<int> fillers;
  for (int i = 0; i < 3; ++i) {
    fillers.push_back(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    ::connect(fillers.back(), reinterpret_cast<sockaddr*>(&a), sizeof a);
  }
  const int silent = ntohs(a.sin_port);

  struct Case {
    int port;
    std::string why;
  } cases[] = {{closed, " は接続を受け付けません。"}, {silent, " から応答がありません。"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.port);
    const std::string port = std::to_string(c.port);
    platform::IniFile profile =
        platform::IniFile::fromBytes("[Ports]\nCOM4=rfc2217://127.0.0.1:" + port + "\n");
    serial::DevicePortOpener ports(profile);
    int events = 0;
    screen.onEvents = [&] { ++events; };
    dialogs.shown.clear();
    serial::Line line(settings, ports, screen, dialogs);
    EXPECT_EQ(line.open(serial::TransferMode::Send), serial::OpenFailure::PortNotOpened);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text,
              "COM4のポートが開きません。!!\nホスト 127.0.0.1 のポート " + port + c.why);
    if (c.port == silent) {
      EXPECT_GT(events, 10) << "the window must run while the host is waited for";
    }
  }
  for (int fd : fillers)
    ::close(fd);
  ::close(listener);
}
