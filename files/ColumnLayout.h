#pragma once
// The arithmetic of the newspaper-column list: rows run down a column and on
// into the next, `columns` columns show at a time, and the list scrolls
// sideways a column at a time. Plain numbers; the widget draws what it says.

#include <optional>

namespace kestrovan::files {

enum class ListMove { Up, Down, Left, Right };

struct ColumnLayout {
  int rowCount = 0;
  int rowsPerColumn = 1; // at least 1
  int columns = 1;       // shown at a time, at least 1
  int firstColumn = 0;   // the leftmost column shown

  // The first column to show so that `row` is in view (unchanged when it is).
  int firstColumnShowing(int row) const;
  // The row under a point of a list `width` pixels wide with rows
  // `rowHeight` high; nothing outside the rows.
  std::optional<int> rowAt(int x, int y, int width, int rowHeight) const;
  // Where an arrow key takes the selection from `selected`: Up and Down
  // within the run of rows, Left and Right a column across (staying put at
  // the left edge); nothing in an empty list.
  std::optional<int> moved(int selected, ListMove move) const;
};

} // namespace kestrovan::files
