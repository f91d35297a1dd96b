#include "platform/Wildcard.h"
#include "platform/Text.h"

#include <cstddef>

namespace kestrovan::platform {
namespace {

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
      n += utf8CharLength(name, n);
    } else if (p < pattern.size() && asciiUpper(pattern[p]) == asciiUpper(name[n])) {
      ++p;
      ++n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      starN += utf8CharLength(name, starN);
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
