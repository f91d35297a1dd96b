#pragma once
// The words of an NC program line that the colouring marks: comments in
// parentheses, the program number at the start of a line (O1234, :1234, also
// after "%"), block numbers (N10), G and M codes, and other address words (a
// letter with its value, F.3, #501 as S#501). It works on decoded
// text, so the second byte of a Shift-JIS character is never taken for a
// letter or a parenthesis.

#include <cstddef>
#include <string_view>

namespace kestrovan::editor {

enum class NcWordKind { Comment, ProgramNumber, BlockNumber, GCode, MCode, Address };

struct NcWord {
  std::size_t start = 0;
  std::size_t length = 0;
  NcWordKind kind = NcWordKind::Address;
};

namespace detail {
constexpr bool isLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }
constexpr bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
constexpr char16_t upper(char16_t c) { return (c >= u'a' && c <= u'z') ? char16_t(c - u'a' + u'A') : c; }
// The end of a value that starts at i: a sign, then digits and a point, or a
// variable (#501); i itself when there is none.
inline std::size_t valueEnd(std::u16string_view line, std::size_t i) {
  std::size_t j = i;
  if (j < line.size() && (line[j] == u'-' || line[j] == u'+')) ++j;
  if (j < line.size() && line[j] == u'#') ++j;
  const std::size_t digits = j;
  while (j < line.size() && (isDigit(line[j]) || line[j] == u'.'))
    ++j;
  if (j == digits || (j == digits + 1 && line[digits] == u'.')) return i;
  return j;
}
} // namespace detail

// Calls `take(NcWord)` for each marked word of `line`, left to right.
template <class Take> void forEachNcWord(std::u16string_view line, Take&& take) {
  using namespace detail;
  std::size_t i = 0;
  while (i < line.size() && (line[i] == u' ' || line[i] == u'\t'))
    ++i;
  if (i < line.size() && line[i] == u'%') {
    ++i;
    while (i < line.size() && line[i] == u' ')
      ++i;
  }
  // The program number: O or ":" and digits, first on the line.
  if (i + 1 < line.size() && (upper(line[i]) == u'O' || line[i] == u':') && isDigit(line[i + 1])) {
    std::size_t j = i + 1;
    while (j < line.size() && isDigit(line[j]))
      ++j;
    take(NcWord{i, j - i, NcWordKind::ProgramNumber});
    i = j;
  }
  while (i < line.size()) {
    const char16_t c = line[i];
    if (c == u'(') {
      std::size_t j = line.find(u')', i + 1);
      j = j == std::u16string_view::npos ? line.size() : j + 1;
      take(NcWord{i, j - i, NcWordKind::Comment});
      i = j;
      continue;
    }
    if (isLetter(c) && (i == 0 || !isLetter(line[i - 1]))) {
      const std::size_t end = valueEnd(line, i + 1);
      if (end > i + 1) {
        NcWordKind kind = NcWordKind::Address;
        switch (upper(c)) {
        case u'N': kind = NcWordKind::BlockNumber; break;
        case u'G': kind = NcWordKind::GCode; break;
        case u'M': kind = NcWordKind::MCode; break;
        default: break;
        }
        take(NcWord{i, end - i, kind});
        i = end;
        continue;
      }
    }
    ++i;
  }
}

} // namespace kestrovan::editor
