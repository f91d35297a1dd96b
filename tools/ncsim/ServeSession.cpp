#include "ncsim/ServeSession.h"

#include "serial/NcCode.h"

#include <cstdio>

namespace kestrovan::ncsim {
namespace {

bool isDc3(unsigned char b) { return b == serial::kDc3 || b == serial::kDc3Iso; }
bool isDc4(unsigned char b) { return b == serial::kDc4 || b == 0x94; }

} // namespace

ServeSession::ServeSession(const NcSimOptions& options, long openedMs) : o_(options), machine_(options) {
  machine_.lineOpened(openedMs);
  // Without DC1 the wait runs from the moment the NC would have sent it.
  if (!o_.sendDc1) decideAtMs_ = openedMs + o_.startDelayMs + o_.serveWaitMs;
}

void ServeSession::collectMachineEvents() {
  for (std::string& e : machine_.takeEvents())
    events_.push_back(std::move(e));
}

void ServeSession::checkReceptionEnd() {
  if (machine_.finished()) receptionEnded_ = true;
}

std::vector<std::string> ServeSession::takeEvents() {
  collectMachineEvents();
  std::vector<std::string> out;
  out.swap(events_);
  return out;
}

ServeSession::ByteResult ServeSession::onByte(unsigned char byte, long nowMs) {
  ByteResult r;
  switch (kind_) {
  case SessionKind::Undecided:
    // The PC's receive job writes DC3/DC1 of its own only to hold off a punch
    // that has begun, so before any punch such bytes (and stray NULs) say
    // nothing about the direction. DC4 before anything is a receive the
    // operator stopped: nothing will come, and nothing must be punched at it.
    if (byte == 0x00 || byte == serial::kDc1 || isDc3(byte)) return r;
    if (isDc4(byte)) {
      kind_ = SessionKind::Over;
      event("END dc4 0");
      return r;
    }
    kind_ = SessionKind::Reception;
    [[fallthrough]];
  case SessionKind::Reception:
    if (machine_.finished()) return r; // after the end: not part of the program
    r.recorded = true;
    r.reply = machine_.onByte(byte, nowMs);
    collectMachineEvents();
    checkReceptionEnd();
    return r;
  case SessionKind::Punch:
    if (isDc3(byte) && !paused_) {
      paused_ = true;
      event("PAUSE " + std::to_string(sent_));
    } else if (byte == serial::kDc1 && paused_) {
      paused_ = false;
      event("RESUME " + std::to_string(sent_));
    } else if (isDc4(byte)) {
      kind_ = SessionKind::Over;
      event("END dc4 " + std::to_string(sent_));
    }
    return r;
  case SessionKind::Over: return r;
  }
  return r;
}

std::string ServeSession::onTick(long nowMs) {
  std::string reply;
  if (kind_ == SessionKind::Undecided) {
    // The deadline is checked before the next DC1 can go: once the session is
    // a punch no DC1 follows, so the last one the PC reads comes before the
    // leader, while its receive job still skips everything but a start.
    if (decideAtMs_ >= 0 && nowMs >= decideAtMs_) {
      kind_ = SessionKind::Punch;
      return "";
    }
    reply = machine_.onTick(nowMs);
    // The PC's send starts right after the DC1 it waits for, so the wait
    // counts from the first one, whatever the PC spent opening the line.
    if (!reply.empty() && decideAtMs_ < 0) decideAtMs_ = nowMs + o_.serveWaitMs;
  } else if (kind_ == SessionKind::Reception) {
    reply = machine_.onTick(nowMs); // DC1 after a DC3 pause
  }
  collectMachineEvents();
  return reply;
}

void ServeSession::end(const std::string& reason) {
  switch (kind_) {
  case SessionKind::Undecided: event("END " + reason + " 0"); break;
  case SessionKind::Reception:
    if (!machine_.finished()) {
      collectMachineEvents();
      event("END " + reason + " " + std::to_string(machine_.received()));
    }
    receptionEnded_ = true;
    break;
  case SessionKind::Punch: event("END " + reason + " " + std::to_string(sent_)); break;
  case SessionKind::Over: break;
  }
  kind_ = SessionKind::Over;
}

void ServeSession::punchStarted(std::size_t total) {
  total_ = total;
  sent_ = 0;
  if (total_ == 0) event("PUNCHED 0");
}

void ServeSession::punched(std::size_t bytes) {
  if (kind_ != SessionKind::Punch || bytes == 0 || sent_ >= total_) return;
  sent_ += bytes;
  if (sent_ >= total_) event("PUNCHED " + std::to_string(sent_));
}

std::string receivedName(int number) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%03d", number);
  return std::string("received-") + digits;
}

namespace {

// Bytes that decide nothing about the code: leader, DC1 to DC4 (0x13 is
// also EIA's "3", but a "3" alone does not make a program EIA).
bool isCodeNeutral(unsigned char b) {
  return b == 0x00 || b == serial::kDc1 || b == serial::kDc2 || b == serial::kDc3 || b == serial::kDc4 ||
         b == serial::kDc3Iso || b == 0x91 || b == 0x92 || b == 0x94;
}

enum class Code { Iso, Eia, Plain };

Code codeOf(std::string_view bytes) {
  bool allEven = true;
  bool allEia = true;
  for (char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    if (isCodeNeutral(b)) continue;
    if (serial::bitCount(b) % 2 != 0) allEven = false;
    if (serial::bitCount(b) % 2 == 0 || serial::eiaDecode(b) == 0) allEia = false;
  }
  if (allEven) return Code::Iso;
  return allEia ? Code::Eia : Code::Plain;
}

} // namespace

std::string readableProgram(std::string_view bytes) {
  const Code code = codeOf(bytes);
  std::string text;
  for (char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    unsigned char c = b;
    if (code == Code::Iso)
      c = serial::isoDecode(b);
    else if (code == Code::Eia)
      c = b == serial::kDc3 ? '3' : serial::eiaDecode(b);
    if (c == '\n' || c == '\t' || (c >= 0x20 && c < 0x7F)) text += static_cast<char>(c);
  }
  return text;
}

} // namespace kestrovan::ncsim
