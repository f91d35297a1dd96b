#include "platform/Telnet.h"

namespace kestrovan::platform::telnet {
namespace {

// A subnegotiation longer than this is no COM-PORT-OPTION message: it is read
// to its end and dropped, so that a broken server cannot grow it without limit.
constexpr std::size_t kLongestSubnegotiation = 64;

std::string command(unsigned char verb, unsigned char option) {
  return std::string{static_cast<char>(kIac), static_cast<char>(verb), static_cast<char>(option)};
}

} // namespace

void appendEscaped(std::string& wire, std::string_view data) {
  for (char c : data) {
    wire += c;
    if (static_cast<unsigned char>(c) == kIac) wire += c;
  }
}

std::string comPortRequest(unsigned char commandCode, std::string_view value) {
  std::string wire{static_cast<char>(kIac), static_cast<char>(kSb), static_cast<char>(kComPort),
                   static_cast<char>(commandCode)};
  appendEscaped(wire, value);
  wire += static_cast<char>(kIac);
  wire += static_cast<char>(kSe);
  return wire;
}

std::string speedValue(int speed) {
  const auto s = static_cast<unsigned>(speed);
  return std::string{static_cast<char>((s >> 24) & 0xFF), static_cast<char>((s >> 16) & 0xFF),
                     static_cast<char>((s >> 8) & 0xFF), static_cast<char>(s & 0xFF)};
}

std::string Client::opening() {
  ourBinary_ = ourSga_ = hisBinary_ = hisSga_ = comPort_ = Option::Offered;
  return command(kWill, kBinary) + command(kDo, kBinary) + command(kWill, kSuppressGoAhead) +
         command(kDo, kSuppressGoAhead) + command(kWill, kComPort);
}

void Client::feed(std::string_view bytes, std::string& data, std::string& answers) {
  for (char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    switch (state_) {
    case State::Data:
      if (b == kIac)
        state_ = State::Iac;
      else
        data += ch;
      break;
    case State::Iac:
      if (b == kIac) {
        data += ch;
        state_ = State::Data;
      } else if (b >= kWill && b <= kDont) {
        verb_ = b;
        state_ = State::Verb;
      } else if (b == kSb) {
        state_ = State::SbOption;
      } else {
        state_ = State::Data; // NOP, GA, a stray SE and the like: nothing to do
      }
      break;
    case State::Verb:
      onVerb(verb_, b, answers);
      state_ = State::Data;
      break;
    case State::SbOption:
      sbOption_ = b;
      sb_.clear();
      sbOverflow_ = false;
      state_ = State::SbData;
      break;
    case State::SbData:
      if (b == kIac) {
        state_ = State::SbIac;
      } else if (sb_.size() < kLongestSubnegotiation) {
        sb_ += ch;
      } else {
        sbOverflow_ = true;
      }
      break;
    case State::SbIac:
      if (b == kSe) {
        onSubnegotiationEnd();
        state_ = State::Data;
      } else {
        // IAC IAC is a 0xFF of the value; anything else after an IAC is a
        // broken message, kept as it stands until its IAC SE.
        if (sb_.size() < kLongestSubnegotiation)
          sb_ += ch;
        else
          sbOverflow_ = true;
        state_ = State::SbData;
      }
      break;
    }
  }
}

// Answers follow the rule that an option already in the asked state gets no
// answer, so that two sides never loop on each other.
void Client::onVerb(unsigned char verb, unsigned char option, std::string& answers) {
  Option* ours = option == kBinary            ? &ourBinary_
                 : option == kSuppressGoAhead ? &ourSga_
                 : option == kComPort         ? &comPort_
                                              : nullptr;
  Option* his = option == kBinary ? &hisBinary_ : option == kSuppressGoAhead ? &hisSga_ : nullptr;
  switch (verb) {
  case kDo:
    if (!ours) {
      answers += command(kWont, option);
    } else if (*ours != Option::On) {
      if (*ours != Option::Offered) answers += command(kWill, option);
      *ours = Option::On;
    }
    break;
  case kDont:
    if (ours && *ours == Option::On) {
      answers += command(kWont, option);
      *ours = Option::Refused;
    } else if (ours) {
      *ours = Option::Refused;
    }
    break;
  case kWill:
    if (!his) {
      answers += command(kDont, option);
    } else if (*his != Option::On) {
      if (*his != Option::Offered) answers += command(kDo, option);
      *his = Option::On;
    }
    break;
  case kWont:
    if (his && *his == Option::On) answers += command(kDont, option);
    if (his) *his = Option::Refused;
    break;
  default: break;
  }
}

void Client::onSubnegotiationEnd() {
  if (sbOption_ != kComPort || sb_.empty() || sbOverflow_) return;
  ComPortMessage message;
  auto code = static_cast<unsigned char>(sb_[0]);
  message.command = code >= kServerReply ? static_cast<unsigned char>(code - kServerReply) : code;
  message.value = sb_.substr(1);
  messages_.push_back(std::move(message));
}

std::vector<ComPortMessage> Client::takeMessages() {
  std::vector<ComPortMessage> taken;
  taken.swap(messages_);
  return taken;
}

} // namespace kestrovan::platform::telnet
