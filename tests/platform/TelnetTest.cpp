// The telnet layer of network ports: escaping, the decoder fed in every
// split, the option negotiation, and addresses of network ports.

#include "platform/Telnet.h"
#include "platform/NetworkPort.h"

#include <gtest/gtest.h>

#include <string>

using namespace kestrovan::platform;
using namespace kestrovan::platform::telnet;

namespace {

std::string bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values)
    s += static_cast<char>(v);
  return s;
}

struct Fed {
  std::string data;
  std::string answers;
  std::vector<ComPortMessage> messages;
};

// Feeds `wire` to a client that has sent its opening, in pieces of `piece` bytes.
Fed feedInPieces(const std::string& wire, std::size_t piece) {
  Client client;
  client.opening();
  Fed fed;
  for (std::size_t at = 0; at < wire.size(); at += piece) {
    client.feed(std::string_view(wire).substr(at, piece), fed.data, fed.answers);
    for (auto& m : client.takeMessages())
      fed.messages.push_back(m);
  }
  return fed;
}

} // namespace

TEST(TelnetCodec, DoublesEveryIacOfDataAndOfRequestValues) {
  std::string wire;
  appendEscaped(wire, bytes({0x25, 0xFF, 0x0A, 0xFF, 0xFF}));
  EXPECT_EQ(wire, bytes({0x25, 0xFF, 0xFF, 0x0A, 0xFF, 0xFF, 0xFF, 0xFF}));
  // 65535 baud: a value with IAC bytes in it.
  EXPECT_EQ(comPortRequest(kSetBaudRate, speedValue(65535)),
            bytes({kIac, kSb, 44, 1, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, kIac, kSe}));
  EXPECT_EQ(speedValue(9600), bytes({0, 0, 0x25, 0x80}));
}

TEST(TelnetCodec, UndoublesAndReadsMessagesWhereverTheReadsSplitThem) {
  // Data with IAC IAC, a modem-state notification whose value is 0xFF
  // (doubled), a padded baud-rate acknowledgement, more data.
  const std::string wire =
      bytes({'%', 0xFF, 0xFF, 'G', kIac, kSb,  44,   107, 0xFF, 0xFF, kIac, kSe,  'X',  kIac,
             kSb, 44,   101,  0,   0,    0x25, 0x80, 0,   0,    kIac, kSe,  0xFF, 0xFF, '\n'});
  for (std::size_t piece = 1; piece <= wire.size(); ++piece) {
    SCOPED_TRACE(piece);
    const Fed fed = feedInPieces(wire, piece);
    EXPECT_EQ(fed.data, bytes({'%', 0xFF, 'G', 'X', 0xFF, '\n'}));
    EXPECT_EQ(fed.answers, "");
    ASSERT_EQ(fed.messages.size(), 2u);
    EXPECT_EQ(fed.messages[0].command, kNotifyModemState);
    EXPECT_EQ(fed.messages[0].value, bytes({0xFF}));
    EXPECT_EQ(fed.messages[1].command, kSetBaudRate);
    EXPECT_EQ(fed.messages[1].value, bytes({0, 0, 0x25, 0x80, 0, 0}));
  }
}

TEST(TelnetCodec, NegotiatesBinaryGoAheadAndComPortAndRefusesEveryOtherOption) {
  Client client;
  EXPECT_EQ(client.opening(),
            bytes({kIac, kWill, 0, kIac, kDo, 0, kIac, kWill, 3, kIac, kDo, 3, kIac, kWill, 44}));
  std::string data, answers;
  // The server agrees to what we offered: no answer (no loop), COM-PORT is on.
  client.feed(bytes({kIac, kDo, 0, kIac, kWill, 0, kIac, kDo, 3, kIac, kWill, 3, kIac, kDo, 44}), data,
              answers);
  EXPECT_EQ(answers, "");
  EXPECT_TRUE(client.comPortAccepted());
  // Echo (1), terminal type (24) and linemode (34) asked for are refused, once each.
  client.feed(bytes({kIac, kWill, 1, kIac, kDo, 24, kIac, kDo, 34}), data, answers);
  EXPECT_EQ(answers, bytes({kIac, kDont, 1, kIac, kWont, 24, kIac, kWont, 34}));
  // Their refusals of our refusals get no answer.
  answers.clear();
  client.feed(bytes({kIac, kWont, 1, kIac, kDont, 24}), data, answers);
  EXPECT_EQ(answers, "");
  // A subnegotiation of some other option is skipped, data around it kept.
  client.feed(bytes({'A', kIac, kSb, 24, 1, kIac, kSe, 'B', kIac, 241 /* NOP */, 'C'}), data, answers);
  EXPECT_EQ(data, "ABC");
  EXPECT_TRUE(client.takeMessages().empty());
}

TEST(TelnetCodec, AServerWithoutComPortOptionIsToldApart) {
  Client client;
  client.opening();
  std::string data, answers;
  client.feed(bytes({kIac, kDont, 44}), data, answers);
  EXPECT_TRUE(client.comPortRefused());
  EXPECT_FALSE(client.comPortAccepted());
  EXPECT_EQ(answers, "");
}

TEST(TelnetCodec, AnEndlessSubnegotiationNeitherGrowsNorSwallowsWhatFollows) {
  Client client;
  client.opening();
  std::string data, answers;
  std::string wire = bytes({kIac, kSb, 44, 107});
  wire += std::string(100000, 'x');
  wire += bytes({kIac, kSe, 'O', '1'});
  client.feed(wire, data, answers);
  EXPECT_EQ(data, "O1");
  EXPECT_TRUE(client.takeMessages().empty()); // too long to be a message
}

TEST(NetworkPortNames, AddressesOfNetworkPorts) {
  auto a = parseNetworkPort("rfc2217://nport-3.shop:4001");
  ASSERT_TRUE(a);
  EXPECT_EQ(a->protocol, NetworkProtocol::Rfc2217);
  EXPECT_EQ(a->host, "nport-3.shop");
  EXPECT_EQ(a->port, 4001);
  auto b = parseNetworkPort("TCP://[::1]:2000");
  ASSERT_TRUE(b);
  EXPECT_EQ(b->protocol, NetworkProtocol::RawTcp);
  EXPECT_EQ(b->host, "::1");
  EXPECT_EQ(hostAndPort(*b), "[::1]:2000");
  EXPECT_EQ(hostAndPort(*parseNetworkPort("tcp://10.0.0.7:23")), "10.0.0.7:23");
  for (const char* bad :
       {"rfc2217://host", "tcp://:4001", "tcp://host:0", "tcp://host:65536", "tcp://host:40x1",
        "tcp://::1:2000", "rfc2217://ho st:1", "/dev/ttyS0", "telnet://host:23"})
    EXPECT_FALSE(parseNetworkPort(bad)) << bad;
  EXPECT_TRUE(looksLikeNetworkPort("tcp://host"));
  EXPECT_FALSE(looksLikeNetworkPort("/dev/serial/by-id/usb-FTDI"));
}
