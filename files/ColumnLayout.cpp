#include "files/ColumnLayout.h"

#include <algorithm>

namespace kestrovan::files {

int ColumnLayout::firstColumnShowing(int row) const {
  if (row < 0) return firstColumn;
  const int column = row / rowsPerColumn;
  if (column < firstColumn) return column;
  if (column >= firstColumn + columns) return column - columns + 1;
  return firstColumn;
}

std::optional<int> ColumnLayout::rowAt(int x, int y, int width, int rowHeight) const {
  if (x < 0 || y < 0 || x >= width || rowHeight <= 0) return std::nullopt;
  const int line = y / rowHeight;
  if (line >= rowsPerColumn) return std::nullopt;
  const int columnWidth = std::max(1, width / columns);
  const int row = (firstColumn + x / columnWidth) * rowsPerColumn + line;
  if (row >= rowCount) return std::nullopt;
  return row;
}

std::optional<int> ColumnLayout::moved(int selected, ListMove move) const {
  if (rowCount == 0) return std::nullopt;
  int row = selected;
  switch (move) {
  case ListMove::Up: row = std::max(0, row - 1); break;
  case ListMove::Down: row = std::min(rowCount - 1, row + 1); break;
  case ListMove::Left: row = row - rowsPerColumn >= 0 ? row - rowsPerColumn : row; break;
  case ListMove::Right: row = std::min(rowCount - 1, row + rowsPerColumn); break;
  }
  return std::max(row, 0);
}

} // namespace kestrovan::files
