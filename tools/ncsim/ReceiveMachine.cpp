#include "ncsim/ReceiveMachine.h"

namespace kestrovan::ncsim {
namespace {

constexpr char kDc1 = 0x11;
constexpr unsigned char kDc4 = 0x14;

// Bytes that carry no program text: leader, line ends, blanks, control
// characters. A "%" after anything else closes the program.
bool isFiller(unsigned char b) {
  switch (b) {
  case 0x00:
  case 0x0A:
  case 0x8A:
  case 0x0D:
  case 0x8D:
  case 0x80:
  case 0x20:
  case 0xA0:
  case 0x10:
  case 0x11:
  case 0x12:
  case 0x13:
  case 0x14:
  case 0x91:
  case 0x92:
  case 0x93:
  case 0x94: return true;
  default: return false;
  }
}

} // namespace

bool isPercentByte(unsigned char byte) { return byte == 0x25 || byte == 0xA5 || byte == 0x0B; }

void ReceiveMachine::event(const std::string& name) {
  events_.push_back(name + " " + std::to_string(received_));
}

void ReceiveMachine::finish(const std::string& reason) {
  if (finished()) return;
  endReason_ = reason;
  event("END " + reason);
}

std::vector<std::string> ReceiveMachine::takeEvents() {
  std::vector<std::string> out;
  out.swap(events_);
  return out;
}

void ReceiveMachine::lineOpened(long nowMs) {
  if (o_.sendDc1 && received_ == 0) readyDc1AtMs_ = nowMs + o_.startDelayMs;
}

std::string ReceiveMachine::onByte(unsigned char byte, long nowMs) {
  if (finished()) return "";
  ++received_;
  readyDc1AtMs_ = -1; // data flows: no more announcing
  if (o_.endOnDc4 && byte == kDc4) {
    finish("dc4");
    return "";
  }
  if (isPercentByte(byte)) {
    if (o_.endOnPercent && dataSeen_) {
      finish("percent");
      return "";
    }
  } else if (!isFiller(byte)) {
    dataSeen_ = true;
  }
  if (!paused_ && nextDc3At_ > 0 && received_ >= nextDc3At_) {
    paused_ = true;
    resumeAtMs_ = nowMs + o_.dc1AfterMs;
    nextDc3At_ = o_.dc3Every > 0 ? received_ + o_.dc3Every : 0;
    event("DC3");
    return std::string(1, static_cast<char>(o_.dc3Byte));
  }
  return "";
}

std::string ReceiveMachine::onTick(long nowMs) {
  if (finished()) return "";
  if (paused_ && nowMs >= resumeAtMs_) {
    paused_ = false;
    event("DC1");
    return std::string(1, kDc1);
  }
  if (readyDc1AtMs_ >= 0 && nowMs >= readyDc1AtMs_) {
    readyDc1AtMs_ = o_.dc1RepeatMs > 0 ? nowMs + o_.dc1RepeatMs : -1;
    event("DC1");
    return std::string(1, kDc1);
  }
  return "";
}

} // namespace kestrovan::ncsim
