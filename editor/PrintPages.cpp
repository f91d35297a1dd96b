#include "editor/PrintPages.h"

#include <algorithm>
#include <cstdlib>

namespace kestrovan::editor {

int linesPerPage(int fontHeightPixels) {
  const int height = std::abs(fontHeightPixels);
  if (height == 0) return kPageHeightPixels;
  return std::max(1, kPageHeightPixels / height);
}

// As many pages as reach the line after the last.
int pageCount(std::size_t lineCount, int linesPerPage) { return pageOfLine(lineCount, linesPerPage); }

PageLines pageLines(int page, int linesPerPage, std::size_t lineCount) {
  if (page < 1) return {};
  const std::size_t per = static_cast<std::size_t>(std::max(1, linesPerPage));
  const std::size_t first = static_cast<std::size_t>(page - 1) * per;
  if (first >= lineCount) return {lineCount, 0};
  return {first, std::min(per, lineCount - first)};
}

int pageOfLine(std::size_t line, int linesPerPage) {
  return static_cast<int>(line / static_cast<std::size_t>(std::max(1, linesPerPage))) + 1;
}

std::string pageJobTitle(const std::string& fileName, int page) {
  return fileName + "[" + std::to_string(page) + "]";
}

} // namespace kestrovan::editor
