#pragma once
// Small text helpers shared by every module: ASCII letter case (the only case
// the program folds; CP932 and UTF-8 multi-byte characters are left alone)
// and stepping over UTF-8 characters.

#include <cstddef>
#include <string>
#include <string_view>

namespace kestrovan::platform {

constexpr char asciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

inline std::string asciiUpper(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    c = asciiUpper(c);
  return out;
}

// Bytes of the UTF-8 character that starts at s[pos] (1 for a stray byte),
// never past the end of s.
inline std::size_t utf8CharLength(std::string_view s, std::size_t pos) {
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

} // namespace kestrovan::platform
