#include "nctools/AxisDoubling.h"

#include "serial/ProgramFile.h"

#include <cctype>
#include <cstring>

namespace kestrovan::nctools {
namespace {

constexpr const char* kNumberCharacters = "0123456789.- ";

bool isCp932LeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Twice a string of decimal digits.
std::string twice(const std::string& digits) {
  std::string out(digits.size() + 1, '0');
  int carry = 0;
  for (std::size_t i = digits.size(); i-- > 0;) {
    const int d = (digits[i] - '0') * 2 + carry;
    out[i + 1] = static_cast<char>('0' + d % 10);
    carry = d / 10;
  }
  out[0] = static_cast<char>('0' + carry);
  return out;
}

} // namespace

bool isAxisLetter(char c) { return c != 0 && std::strchr("XxYyZzIiJjKkUuVvWw", c) != nullptr; }

std::optional<std::string> doubledNumber(std::string_view number) {
  const std::size_t first = number.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::nullopt;
  std::string_view t = number.substr(first, number.find_last_not_of(' ') - first + 1);
  const bool negative = t.front() == '-';
  if (negative) t.remove_prefix(1);
  const std::size_t point = t.find('.');
  std::string intPart(t.substr(0, point));
  std::string fracPart(point == std::string_view::npos ? "" : t.substr(point + 1));
  if (intPart.empty() && fracPart.empty()) return std::nullopt;
  for (char c : intPart + fracPart)
    if (!isDigit(c)) return std::nullopt; // a second point, a sign inside, a blank inside

  // One decimal at least once there is a point ("10." gives "20.0").
  const std::size_t decimals =
      point == std::string_view::npos ? 0 : std::max<std::size_t>(1, fracPart.size());
  fracPart.resize(decimals, '0');
  std::string doubled = twice(intPart + fracPart);
  std::string whole = doubled.substr(0, doubled.size() - decimals);
  const std::string fraction = doubled.substr(doubled.size() - decimals);
  whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
  if (whole.empty()) whole = "0";
  const bool zero = doubled.find_first_not_of('0') == std::string::npos;
  std::string out = (negative && !zero ? "-" : "") + whole;
  if (decimals > 0) out += "." + fraction;
  return out;
}

LineDoubling doubleAxisInLine(std::string_view line, char letter) {
  std::size_t at = 0;
  while (at < line.size() && line[at] != letter)
    at += isCp932LeadByte(static_cast<unsigned char>(line[at])) ? 2 : 1;
  if (at >= line.size()) return {};
  const std::size_t begin = at + 1;
  std::size_t end = begin;
  while (end < line.size() && line[end] != 0 && std::strchr(kNumberCharacters, line[end]))
    ++end;
  const std::string_view number = line.substr(begin, end - begin);
  if (number.empty() || number == "-") return {};
  // The blanks after the number stay where they are.
  const std::size_t written = number.find_last_not_of(' ') + 1;
  const std::optional<std::string> value = doubledNumber(number);
  if (!value) {
    const std::size_t from = number.find_first_not_of(' ');
    return {LineDoubling::Kind::NotANumber,
            {},
            std::string(from == std::string_view::npos ? number : number.substr(from, written - from))};
  }
  std::string out(line.substr(0, begin));
  out += *value;
  out += line.substr(begin + written);
  return {LineDoubling::Kind::Changed, std::move(out), {}};
}

DoublingResult doubleAxis(std::string_view text, char letter, const std::string& outputPath,
                          OutputFiles& outputs, const std::function<void(std::size_t)>& progress,
                          const std::function<bool()>& stopRequested) {
  const char capital = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  std::unique_ptr<OutputFile> out = outputs.create(outputPath);
  if (out->error() != 0) return {DoublingEnd::CannotCreate, {}, out->error()};
  std::string pending;
  serial::ProgramLines lines(text);
  serial::ProgramLine line;
  std::size_t done = 0;
  while (lines.next(line)) {
    const LineDoubling d = doubleAxisInLine(line.text, capital);
    if (d.kind == LineDoubling::Kind::NotANumber) return {DoublingEnd::NotANumber, d.number, 0};
    pending.append(d.kind == LineDoubling::Kind::Changed ? std::string_view(d.line) : line.text)
        .append("\r\n");
    if (pending.size() >= (1 << 20)) {
      if (!out->append(pending)) return {DoublingEnd::CannotCreate, {}, out->error()};
      pending.clear();
    }
    if (progress) progress(++done);
    if (stopRequested && stopRequested()) return {DoublingEnd::Stopped, {}, 0};
  }
  if (!out->append(pending) || !out->commit()) return {DoublingEnd::CannotCreate, {}, out->error()};
  return {};
}

} // namespace kestrovan::nctools
