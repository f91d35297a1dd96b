#include "editor/TextSearch.h"

#include <algorithm>

namespace kestrovan::editor {

namespace {

constexpr bool isBreak(char16_t c) { return c == u'\n' || c == u'\u2029'; }

// Where a CR LF offset falls in the text: its index and its line. An offset
// inside a line break (between its CR and LF) counts as the next line's start;
// one past the end as the end.
struct FlatPosition {
  std::size_t index = 0;
  std::size_t line = 0;
};

FlatPosition flatPosition(std::u16string_view text, std::size_t offset) {
  std::size_t index = 0;
  std::size_t lineOffset = 0; // CR LF offset of the line at `index`
  std::size_t line = 0;
  const std::size_t size = text.size();
  for (;;) {
    if (offset <= lineOffset) return {index, line};
    std::size_t end = index;
    while (end < size && !isBreak(text[end])) ++end;
    const std::size_t length = end - index;
    if (offset <= lineOffset + length || end == size)
      return {index + std::min(offset - lineOffset, length), line};
    lineOffset += length + 2;
    index = end + 1;
    ++line;
  }
}

class Matcher {
public:
  Matcher(std::u16string_view text, const SearchOptions& options)
      : text_(text), pattern_(options.pattern), matchCase_(options.matchCase) {}

  // The pattern at `index`, all of it inside one line.
  bool at(std::size_t index) const {
    if (index + pattern_.size() > text_.size()) return false;
    for (std::size_t k = 0; k < pattern_.size(); ++k) {
      const char16_t c = text_[index + k];
      if (isBreak(c) || fold(c) != fold(pattern_[k])) return false;
    }
    return true;
  }
  // Whether the pattern's first character could begin at a character.
  bool mayBegin(char16_t c) const { return fold(c) == first(); }

private:
  char16_t fold(char16_t c) const { return matchCase_ ? c : searchCapital(c); }
  char16_t first() const { return fold(pattern_[0]); }

  std::u16string_view text_;
  std::u16string_view pattern_;
  bool matchCase_;
};

} // namespace

char16_t searchCapital(char16_t c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 0x20) : c;
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) ||
      (c >= 0x430 && c <= 0x44F))
    return static_cast<char16_t>(c - 0x20);
  if (c >= 0xFF41 && c <= 0xFF5A) return static_cast<char16_t>(c - 0x20); // full-width a-z
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);   // ё and the rest
  return c;
}

std::optional<SearchHit> searchDown(std::u16string_view text, std::size_t from, const SearchOptions& options) {
  const std::size_t n = options.pattern.size();
  if (n == 0) return std::nullopt;
  const FlatPosition start = flatPosition(text, from);
  const Matcher matcher(text, options);
  std::size_t line = start.line;
  // The start of the hit's line; on the first line it is looked up once a
  // hit is known (it lies at or before where the search began).
  std::size_t lineStart = start.index;
  for (std::size_t i = start.index; i + n <= text.size(); ++i) {
    const char16_t c = text[i];
    if (isBreak(c)) {
      ++line;
      lineStart = i + 1;
      continue;
    }
    if (!matcher.mayBegin(c) || !matcher.at(i)) continue;
    if (line == start.line)
      while (lineStart > 0 && !isBreak(text[lineStart - 1])) --lineStart;
    return SearchHit{i + line, line, i - lineStart};
  }
  return std::nullopt;
}

std::optional<SearchHit> searchUp(std::u16string_view text, std::size_t caret, const SearchOptions& options) {
  const std::size_t n = options.pattern.size();
  if (n == 0) return std::nullopt;
  const FlatPosition start = flatPosition(text, caret);
  const Matcher matcher(text, options);
  std::size_t line = start.line;
  for (std::size_t i = start.index; i-- > 0;) {
    const char16_t c = text[i];
    if (isBreak(c)) {
      --line;
      continue;
    }
    if (!matcher.mayBegin(c) || !matcher.at(i)) continue;
    std::size_t lineStart = i;
    while (lineStart > 0 && !isBreak(text[lineStart - 1])) --lineStart;
    return SearchHit{i + line, line, i - lineStart};
  }
  return std::nullopt;
}

} // namespace kestrovan::editor
