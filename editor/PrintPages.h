#pragma once
// How the editor's text is cut into print pages: L lines a page from the
// editor font's height, the page count the print dialog offers, the lines of
// one page of a range and the titles of the print jobs.

#include <cstddef>
#include <string>

namespace kestrovan::editor {

// The printable height the pages are measured against, in screen pixels.
inline constexpr int kPageHeightPixels = 1027;

// L: 1027 divided by the font's height in pixels (its absolute value), at
// least 1, so that a font taller than a page still prints a line a page.
int linesPerPage(int fontHeightPixels);

// Lines / L + 1 (so a text of exactly 2 L lines offers three pages).
int pageCount(std::size_t lineCount, int linesPerPage);

// The lines of page `page` (from 1): from `first` (from 0), `count` of them;
// none for a page past the text's end.
struct PageLines {
  std::size_t first = 0;
  std::size_t count = 0;
};
PageLines pageLines(int page, int linesPerPage, std::size_t lineCount);

// The page a line (from 0) is on, from 1.
int pageOfLine(std::size_t line, int linesPerPage);

// The job title of one page of a range, or of a selection: name + "[" + n + "]".
std::string pageJobTitle(const std::string& fileName, int page);

} // namespace kestrovan::editor
