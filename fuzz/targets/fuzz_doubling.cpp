// Axis doubling on any program: every number the tool doubles is checked
// against a decimal reference written here (digits added to themselves as a
// pupil would), a line that holds no number of the letter stays as it was,
// and the file written is the lines joined with CR LF. A number the tool
// refuses is one the reference cannot read either.
//
// Input: one byte choosing the letter, then the program.

#include "FuzzSupport.h"
#include "nctools/AxisDoubling.h"
#include "serial/ProgramFile.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

using namespace kestrovan;

namespace {

// The number after the letter, the way an operator reads it: optional
// blanks, an optional "-", digits with at most one ".", optional blanks.
struct Decimal {
  bool negative = false;
  std::string digits; // integer and fraction digits together
  size_t decimals = 0;
  bool point = false;
};

std::optional<Decimal> readDecimal(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ')
    ++i;
  size_t end = text.size();
  while (end > i && text[end - 1] == ' ')
    --end;
  Decimal d;
  if (i < end && text[i] == '-') {
    d.negative = true;
    ++i;
  }
  bool anyDigit = false;
  for (; i < end; ++i) {
    const char c = text[i];
    if (c == '.' && !d.point) {
      d.point = true;
    } else if (c >= '0' && c <= '9') {
      d.digits += c;
      anyDigit = true;
      if (d.point) ++d.decimals;
    } else {
      return std::nullopt;
    }
  }
  if (!anyDigit && !d.point) return std::nullopt;
  if (!anyDigit) return std::nullopt;
  return d;
}

// Twice the decimal, written with its own decimals (one at least after a
// point), no leading zeros before the point, no sign on zero.
std::string referenceDoubled(Decimal d) {
  if (d.point && d.decimals == 0) {
    d.digits += '0';
    d.decimals = 1;
  }
  // Sum of the digit string with itself, column by column from the right.
  std::string sum;
  int carry = 0;
  for (size_t k = d.digits.size(); k > 0; --k) {
    const int column = 2 * (d.digits[k - 1] - '0') + carry;
    sum.insert(sum.begin(), static_cast<char>('0' + column % 10));
    carry = column / 10;
  }
  if (carry) sum.insert(sum.begin(), '1');
  while (sum.size() < d.decimals + 1)
    sum.insert(sum.begin(), '0');
  std::string whole = sum.substr(0, sum.size() - d.decimals);
  const std::string fraction = sum.substr(sum.size() - d.decimals);
  while (whole.size() > 1 && whole[0] == '0')
    whole.erase(0, 1);
  const bool zero = (whole + fraction).find_first_not_of('0') == std::string::npos;
  std::string out = d.negative && !zero ? "-" : "";
  out += whole;
  if (d.point) out += "." + fraction;
  return out;
}

// The small numbers once more through integer arithmetic, as a check on the
// reference itself.
void crossCheck(const Decimal& d, const std::string& doubled) {
  if (d.digits.size() > 30) return;
  const std::string digits = d.point && d.decimals == 0 ? d.digits + "0" : d.digits;
  const size_t decimals = d.point ? std::max<size_t>(d.decimals, 1) : 0;
  __int128 v = 0;
  for (char c : digits)
    v = v * 10 + (c - '0');
  v *= 2;
  std::string text;
  for (__int128 r = v; r > 0; r /= 10)
    text.insert(text.begin(), static_cast<char>('0' + static_cast<int>(r % 10)));
  while (text.size() < decimals + 1)
    text.insert(text.begin(), '0');
  if (d.point) text.insert(text.size() - decimals, ".");
  if (d.negative && v != 0) text.insert(text.begin(), '-');
  fuzz::check(text == doubled, "the decimal reference and integer arithmetic disagree",
              text + " / " + doubled);
}

bool isLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static constexpr char kLetters[] = "XYZIJKUVW";
  const char letter = kLetters[data[0] % 9];
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

  std::string expected;
  std::optional<std::string> refused;
  serial::ProgramLines lines(text);
  serial::ProgramLine line;
  while (lines.next(line)) {
    const std::string_view l = line.text;
    const nctools::LineDoubling got = nctools::doubleAxisInLine(l, letter);
    // Where the letter stands (a two-byte character's second byte is no letter).
    size_t at = 0;
    while (at < l.size() && l[at] != letter)
      at += isLead(static_cast<unsigned char>(l[at])) ? 2 : 1;
    size_t end = at < l.size() ? at + 1 : l.size();
    while (end < l.size() && std::string_view("0123456789.- ").find(l[end]) != std::string_view::npos)
      ++end;
    const std::string_view number = at < l.size() ? l.substr(at + 1, end - at - 1) : std::string_view();
    const bool none = number.find_first_not_of(' ') == std::string_view::npos || number == "-";
    const std::optional<Decimal> decimal = readDecimal(number);
    if (at >= l.size() || number.empty() || number == "-") {
      fuzz::check(got.kind == nctools::LineDoubling::Kind::Unchanged, "a line without a number was changed",
                  std::string(l));
      expected.append(l).append("\r\n");
      continue;
    }
    if (!decimal) {
      if (got.kind == nctools::LineDoubling::Kind::NotANumber) {
        if (!refused) refused = got.number;
      } else {
        fuzz::check(none && got.kind == nctools::LineDoubling::Kind::Unchanged,
                    "a number the reference cannot read was doubled", std::string(number));
      }
      expected.append(l).append("\r\n");
      continue;
    }
    fuzz::check(got.kind == nctools::LineDoubling::Kind::Changed, "a number was not doubled",
                std::string(number));
    const std::string doubled = referenceDoubled(*decimal);
    crossCheck(*decimal, doubled);
    const size_t written = number.find_last_not_of(' ') + 1;
    const std::string want = std::string(l.substr(0, at + 1)) + doubled +
                             std::string(number.substr(written)) + std::string(l.substr(end));
    fuzz::check(got.line == want, "the doubled line differs from the reference",
                std::string(l) + " -> " + got.line);
    expected.append(got.line).append("\r\n");
  }

  // The whole program through the tool into a real file.
  fuzz::clearScratch();
  const std::string out = fuzz::scratchFolder() + "/OUT.NC";
  nctools::DiskOutputFiles files;
  const nctools::DoublingResult result = nctools::doubleAxis(text, letter, out, files);
  if (refused) {
    fuzz::check(result.end == nctools::DoublingEnd::NotANumber && result.number == *refused,
                "a program with a bad number was not refused", *refused);
    fuzz::check(fuzz::namesIn(fuzz::scratchFolder()).empty(), "a refused doubling left a file");
  } else {
    fuzz::check(result.end == nctools::DoublingEnd::Done, "doubling a readable program failed");
    fuzz::check(fuzz::readFile(out) == expected, "the doubled file differs from the lines doubled");
    fuzz::check(fuzz::namesIn(fuzz::scratchFolder()) == std::vector<std::string>{"OUT.NC"},
                "doubling left a file beside its output");
  }
  return 0;
}
