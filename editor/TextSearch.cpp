#include "editor/TextSearch.h"

#include <algorithm>

namespace kestrovan::editor {

namespace {

constexpr bool isBreak(char16_t c) { return c == u'\n' || c == u'\u2029'; }

std::size_t breaksIn(std::u16string_view text, std::size_t from, std::size_t to) {
  std::size_t n = 0;
  for (std::size_t i = from; i < to; ++i)
    n += isBreak(text[i]) ? 1 : 0;
  return n;
}

std::size_t lineStartOf(std::u16string_view text, std::size_t index) {
  while (index > 0 && !isBreak(text[index - 1]))
    --index;
  return index;
}

// Where a CR LF offset falls in the text. An offset inside a line break
// (between its CR and LF) counts as the next line's start; one past the end
// as the end.
TextIndex indexOfOffset(std::u16string_view text, std::size_t offset) {
  std::size_t index = 0;
  std::size_t lineOffset = 0; // CR LF offset of the line at `index`
  std::size_t line = 0;
  const std::size_t size = text.size();
  for (;;) {
    if (offset <= lineOffset) return {index, line};
    std::size_t end = index;
    while (end < size && !isBreak(text[end]))
      ++end;
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
      : text_(text), pattern_(options.pattern), matchCase_(options.matchCase) {
    first_ = fold(pattern_[0]);
    other_ = first_;
    // The one other character that has the same capital, if any (a for A).
    if (!matchCase_)
      for (const char16_t d : {u'\x20', u'\x50'})
        if (first_ + d <= 0xFFFF && searchCapital(static_cast<char16_t>(first_ + d)) == first_)
          other_ = static_cast<char16_t>(first_ + d);
  }

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
  bool mayBegin(char16_t c) const { return c == first_ || c == other_; }

private:
  char16_t fold(char16_t c) const { return matchCase_ ? c : searchCapital(c); }

  std::u16string_view text_;
  std::u16string_view pattern_;
  bool matchCase_;
  char16_t first_ = 0;
  char16_t other_ = 0;
};

SearchHit hitAt(std::u16string_view text, std::size_t index, std::size_t line) {
  return {index + line, index, line, index - lineStartOf(text, index)};
}

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

std::optional<SearchHit> searchDown(std::u16string_view text, TextIndex from, const SearchOptions& options) {
  const std::size_t n = options.pattern.size();
  if (n == 0 || from.index > text.size()) return std::nullopt;
  const Matcher matcher(text, options);
  // Line breaks are counted only for a hit: a miss is one plain pass.
  for (std::size_t i = from.index; i + n <= text.size(); ++i)
    if (matcher.mayBegin(text[i]) && matcher.at(i))
      return hitAt(text, i, from.line + breaksIn(text, from.index, i));
  return std::nullopt;
}

std::optional<SearchHit> searchUp(std::u16string_view text, TextIndex caret, const SearchOptions& options) {
  const std::size_t n = options.pattern.size();
  if (n == 0) return std::nullopt;
  const std::size_t start = std::min(caret.index, text.size());
  const Matcher matcher(text, options);
  for (std::size_t i = start; i-- > 0;)
    if (matcher.mayBegin(text[i]) && matcher.at(i))
      return hitAt(text, i, caret.line - breaksIn(text, i, start));
  return std::nullopt;
}

std::optional<SearchHit> searchDown(std::u16string_view text, std::size_t from,
                                    const SearchOptions& options) {
  if (options.pattern.empty()) return std::nullopt;
  return searchDown(text, indexOfOffset(text, from), options);
}

std::optional<SearchHit> searchUp(std::u16string_view text, std::size_t caret, const SearchOptions& options) {
  if (options.pattern.empty()) return std::nullopt;
  return searchUp(text, indexOfOffset(text, caret), options);
}

} // namespace kestrovan::editor
