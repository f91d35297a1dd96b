#include "platform/Wildcard.h"

#include <cstddef>

namespace kestrovan::platform {
namespace {

char foldCase(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Length of the UTF-8 sequence starting at name[pos], so that "?" takes a
// whole character, never half of one.
std::size_t charLength(std::string_view s, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(s[pos]);
  std::size_t n = 1;
  if ((lead & 0xE0) == 0xC0)
    n = 2;
  else if ((lead & 0xF0) == 0xE0)
    n = 3;
  else if ((lead & 0xF8) == 0xF0)
    n = 4;
  return pos + n <= s.size() ? n : s.size() - pos;
}

// Iterative matcher with one back-track point for the last "*": linear in
// practice, no recursion on hostile patterns.
bool plainMatch(std::string_view pattern, std::string_view name) {
  std::size_t p = 0;
  std::size_t n = 0;
  std::size_t starP = std::string_view::npos;
  std::size_t starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && pattern[p] == '?') {
      ++p;
      n += charLength(name, n);
    } else if (p < pattern.size() && foldCase(pattern[p]) == foldCase(name[n])) {
      ++p;
      ++n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      starN += charLength(name, starN);
      n = starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*')
    ++p;
  return p == pattern.size();
}

} // namespace

bool wildcardMatch(std::string_view pattern, std::string_view name) {
  if (pattern == "*" || pattern == "*.*") return true;
  if (plainMatch(pattern, name)) return true;
  if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*")
    return plainMatch(pattern.substr(0, pattern.size() - 2), name);
  if (pattern.size() >= 2 && pattern.back() == '.' && name.find('.') == std::string_view::npos)
    return plainMatch(pattern.substr(0, pattern.size() - 1), name);
  return false;
}

} // namespace kestrovan::platform
