#include "serial/ReceivedLineAssembler.h"

#include <string_view>

namespace kestrovan::serial {
namespace {

constexpr std::string_view kNcCharacters = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ %()+-:/.#$&'*,;<=>?@[]!_^\"";
// Characters that continue a number (or an expression): no blank before them.
constexpr std::string_view kNumberCharacters = "0123456789.+-/*[]()=";
// Lines some controllers punch around a program that are no part of it.
constexpr std::string_view kDroppedMarks[] = {"O&FW", ":&FW", "&HE:"};

bool contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

bool isDropped(std::string_view line) {
  for (std::string_view mark : kDroppedMarks)
    if (contains(line, mark)) return true;
  return false;
}

bool isBlankOrControl(unsigned char c) { return c <= ' ' || c == 0x7F; }

} // namespace

bool isNcCharacter(unsigned char c) {
  return c != 0 && kNcCharacters.find(static_cast<char>(c)) != std::string_view::npos;
}

std::string trimReceivedLine(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && isBlankOrControl(static_cast<unsigned char>(text[begin])))
    ++begin;
  while (end > begin && isBlankOrControl(static_cast<unsigned char>(text[end - 1])))
    --end;
  return std::string(text.substr(begin, end - begin));
}

void ReceivedLineAssembler::start(unsigned char first) {
  buffer_.assign(1, static_cast<char>(first));
  wordStart_ = true;
  inComment_ = false;
  firstLinePassed_ = false;
}

bool ReceivedLineAssembler::endMarkPending() const { return firstLinePassed_ && contains(buffer_, "%"); }

AssemblyStep ReceivedLineAssembler::takeEndMark() {
  AssemblyStep step;
  step.ended = true;
  // "%" alone (or with one stray character) is the closing mark itself;
  // anything longer is a last line that the "%" was punched onto.
  if (buffer_.size() >= 3) {
    buffer_.erase(buffer_.find('%'), 1);
    std::string line = trimReceivedLine(buffer_);
    if (!line.empty()) step.line = std::move(line);
  }
  buffer_.clear();
  return step;
}

void ReceivedLineAssembler::character(unsigned char c) {
  if (!isNcCharacter(c)) return;
  const char ch = static_cast<char>(c);
  if (ch == '(') inComment_ = true;
  if (kNumberCharacters.find(ch) != std::string_view::npos) {
    buffer_ += ch;
    wordStart_ = false;
  } else if (options_.blankBeforeWords) {
    if (!wordStart_ && !inComment_) {
      // A new word after a number: one blank of our own, none of the NC's.
      if (ch != ' ') {
        buffer_ += ' ';
        buffer_ += ch;
        wordStart_ = true;
      }
    } else {
      buffer_ += ch;
    }
  } else if (ch != ' ' || inComment_) {
    buffer_ += ch;
  }
  if (ch == ')' && inComment_) inComment_ = false;
}

AssemblyStep ReceivedLineAssembler::lineEnd() {
  AssemblyStep step;
  // The opening "%" line: dropped, or taken off a program punched on the
  // same line ("%O1200").
  if (!firstLinePassed_ && contains(buffer_, "%")) {
    firstLinePassed_ = true;
    if (buffer_.size() < 4) {
      buffer_.clear();
      return step;
    }
    buffer_.erase(buffer_.find('%'), 1);
  }

  buffer_ = trimReceivedLine(buffer_);
  const bool dropped = isDropped(buffer_);
  if (!dropped && !buffer_.empty() && (buffer_[0] == ':' || buffer_[0] == 'O' || buffer_[0] == 'L')) {
    if (buffer_[0] != 'L') buffer_[0] = options_.colonHeaders ? ':' : 'O';
    step.header = buffer_;
    // A header punched as "O" (or ":") on a line of its own is completed by
    // the next line: only the joined line begins a program. A lone "L" is a
    // line like any other.
    if (buffer_.size() == 1 && buffer_[0] != 'L') return step;
    step.beginsProgram = true;
  }
  if (!dropped) step.line = buffer_;

  wordStart_ = true;
  inComment_ = false;
  step.lineCounted = true;
  if (!dropped && firstLinePassed_ && contains(buffer_, "%")) {
    step.ended = true;
  } else {
    buffer_.clear();
    firstLinePassed_ = true;
  }
  return step;
}

AssemblyStep ReceivedLineAssembler::takeRest() {
  AssemblyStep step;
  step.ended = true;
  std::string line = trimReceivedLine(buffer_);
  if (!line.empty()) step.line = std::move(line);
  buffer_.clear();
  return step;
}

} // namespace kestrovan::serial
