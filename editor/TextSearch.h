#pragma once
// The editor's text search: one search down or up from the caret, with or
// without letter case, over the text as the editor holds it.
//
// The text is given as lines separated by one break character each ('\n',
// or U+2029 as Qt's documents hold them). Positions are the editor's text
// offsets, in which every line break counts two characters (CR LF): the
// first character of line i (from 0) is at the sum of the lengths of the
// lines before it plus two for each.

#include <cstddef>
#include <optional>
#include <string_view>

namespace kestrovan::editor {

struct SearchHit {
  std::size_t offset = 0; // CR LF offset of the hit's first character
  std::size_t index = 0;  // its index into the text
  std::size_t line = 0;   // from 0
  std::size_t column = 0; // from 0, within the line
};

struct SearchOptions {
  std::u16string_view pattern; // empty finds nothing
  bool matchCase = false;      // otherwise both sides are compared in capitals
};

// Down: the first occurrence that starts at or after `from` (the selection's
// start plus its length, or the caret when nothing is selected) and lies in
// one line.
std::optional<SearchHit> searchDown(std::u16string_view text, std::size_t from, const SearchOptions& options);

// Up: the nearest occurrence that starts before `caret` (the selection's
// start). It may end after the caret. The caret's own line is tried from
// the caret's column minus one down to its first column, then the lines
// above, nearest first, each from its end; a repeated search up walks
// backwards through the occurrences as a repeated search down walks forwards.
std::optional<SearchHit> searchUp(std::u16string_view text, std::size_t caret, const SearchOptions& options);

// The same walks from a start given as the index into `text` and its line
// (from 0), which a caller that keeps its own line numbers knows without a
// walk from the text's beginning. Offsets of the hits are as above.
struct TextIndex {
  std::size_t index = 0;
  std::size_t line = 0;
};
std::optional<SearchHit> searchDown(std::u16string_view text, TextIndex from, const SearchOptions& options);
std::optional<SearchHit> searchUp(std::u16string_view text, TextIndex caret, const SearchOptions& options);

// The capital of a character for a search without letter case: ASCII,
// Latin-1, full-width, Greek and Cyrillic letters (those CP932 holds).
char16_t searchCapital(char16_t c);

} // namespace kestrovan::editor
