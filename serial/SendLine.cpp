#include "serial/SendLine.h"

#include "platform/Cp932.h"

#include <algorithm>

namespace kestrovan::serial {
namespace {

// Every occurrence of `unwanted` that starts on a character boundary (never
// inside a two-byte Shift-JIS character) becomes blanks.
std::string blankOut(std::string_view line, const std::string& unwanted) {
  std::string out;
  out.reserve(line.size());
  const std::string blanks(std::min(unwanted.size(), kMaxUnwantedBlanks), ' ');
  std::size_t i = 0;
  while (i < line.size()) {
    if (line.compare(i, unwanted.size(), unwanted) == 0) {
      out += blanks;
      i += unwanted.size();
      continue;
    }
    const bool twoBytes =
        platform::isCp932LeadByte(static_cast<unsigned char>(line[i])) && i + 1 < line.size();
    out.append(line.substr(i, twoBytes ? 2 : 1));
    i += twoBytes ? 2 : 1;
  }
  return out;
}

} // namespace

LineToSend lineToSend(std::string_view original, const SendLineRules& rules) {
  std::string blanked;
  std::string_view line = original;
  if (!rules.unwanted.empty() && line.find(rules.unwanted) != std::string_view::npos) {
    blanked = blankOut(line, rules.unwanted);
    line = blanked;
  }

  LineToSend result;
  if (line == "%") {
    result.skip = true;
    return result;
  }
  // Shift-JIS second bytes start at 0x40, so none of the characters looked
  // at here can be half of a Japanese character.
  const bool hasComment = line.find('(') != std::string_view::npos;
  bool inComment = false;
  result.chars.reserve(line.size());
  for (char c : line) {
    if (hasComment) {
      if (c == '(')
        inComment = true;
      else if (c == ')')
        inComment = false;
    }
    if (!inComment) {
      if ((c == ';' || c == '\'') && rules.cutAtRemark) break;
      if (c == '%') continue;
    }
    if (c == '\t') continue;
    result.chars += c;
  }
  return result;
}

bool endsProgram(std::string_view line) {
  for (std::string_view code : {"M99", "M02", "M2", "M30"})
    if (line.find(code) != std::string_view::npos) return true;
  return false;
}

} // namespace kestrovan::serial
