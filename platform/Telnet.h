#pragma once
// The telnet layer of a network serial port with COM-PORT-OPTION (option 44):
// what the client says to the device server, and a decoder for what comes
// back. Pure byte work, no sockets, so that every split of the stream can be
// tested. 0xFF is an ordinary byte of a program: it travels doubled (IAC IAC)
// in both directions, inside subnegotiations too.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kestrovan::platform::telnet {

inline constexpr unsigned char kIac = 255;
inline constexpr unsigned char kDont = 254;
inline constexpr unsigned char kDo = 253;
inline constexpr unsigned char kWont = 252;
inline constexpr unsigned char kWill = 251;
inline constexpr unsigned char kSb = 250;
inline constexpr unsigned char kSe = 240;

inline constexpr unsigned char kBinary = 0;
inline constexpr unsigned char kSuppressGoAhead = 3;
inline constexpr unsigned char kComPort = 44;

// Client-to-server commands of COM-PORT-OPTION; the server answers each with
// the same command plus kServerReply.
enum ComPortCommand : unsigned char {
  kSetBaudRate = 1,
  kSetDataSize = 2,
  kSetParity = 3,
  kSetStopSize = 4,
  kSetControl = 5,
  kNotifyLineState = 6,
  kNotifyModemState = 7,
  kSetLineStateMask = 10,
  kSetModemStateMask = 11,
  kPurgeData = 12,
};
inline constexpr unsigned char kServerReply = 100;

// Values of the commands.
inline constexpr unsigned char kParityNone = 1, kParityOdd = 2, kParityEven = 3;
inline constexpr unsigned char kStopOne = 1, kStopTwo = 2, kStopOneAndHalf = 3;
inline constexpr unsigned char kControlNoFlow = 1, kControlXonXoff = 2;
inline constexpr unsigned char kControlDtrOn = 8, kControlRtsOn = 11;
inline constexpr unsigned char kControlNoFlowInbound = 14, kControlXonXoffInbound = 15;
inline constexpr unsigned char kPurgeBoth = 3;
inline constexpr unsigned char kModemCarrier = 0x80, kModemDsr = 0x20, kModemCts = 0x10;

// Appends `data` to `wire` with every IAC doubled.
void appendEscaped(std::string& wire, std::string_view data);
// IAC SB 44 command value IAC SE, the value escaped.
std::string comPortRequest(unsigned char command, std::string_view value);
// The four bytes of a speed, most significant first, as SET-BAUDRATE carries it.
std::string speedValue(int speed);

// A COM-PORT-OPTION message from the server, its command without the reply offset.
struct ComPortMessage {
  unsigned char command = 0;
  std::string value;
};

// The client's side of the option negotiation and the decoder of the stream
// from the server. The client wants binary transmission and no go-aheads both
// ways, and offers COM-PORT-OPTION; every other option is refused.
class Client {
public:
  // What the client sends first, once connected.
  std::string opening();

  // Takes bytes as they came off the network, split anywhere. Data bytes are
  // appended to `data`; answers to the server's option requests to `answers`
  // (for the caller to send); COM-PORT-OPTION messages are kept for takeMessages().
  void feed(std::string_view bytes, std::string& data, std::string& answers);
  std::vector<ComPortMessage> takeMessages();

  // The server took COM-PORT-OPTION (DO 44) / turned it down (DONT 44).
  bool comPortAccepted() const { return comPort_ == Option::On; }
  bool comPortRefused() const { return comPort_ == Option::Refused; }

private:
  enum class Option { Off, Offered, On, Refused };
  enum class State { Data, Iac, Verb, SbOption, SbData, SbIac };
  void onVerb(unsigned char verb, unsigned char option, std::string& answers);
  void onSubnegotiationEnd();

  State state_ = State::Data;
  unsigned char verb_ = 0;
  unsigned char sbOption_ = 0;
  std::string sb_;
  bool sbOverflow_ = false;
  // Our side (WILL) and the server's side (DO asked) of binary and suppress-go-ahead.
  Option ourBinary_ = Option::Off, ourSga_ = Option::Off;
  Option hisBinary_ = Option::Off, hisSga_ = Option::Off;
  Option comPort_ = Option::Off;
  std::vector<ComPortMessage> messages_;
};

} // namespace kestrovan::platform::telnet
