#pragma once
// A scroll area that draws a text as a grid of one-byte cells, line by line,
// as a text screen does: the file view and the large-file editor. The
// vertical bar counts lines and the horizontal one columns; the grid's
// metrics, its scroll ranges and scrolling a cell into view are here, the
// drawing and the keys in the areas themselves.

#include <QAbstractScrollArea>
#include <QColor>

#include <cstddef>

namespace kestrovan::editor {

class CellGridArea : public QAbstractScrollArea {
public:
  // Text of `text` colour on `background`, the I-beam over it, the bars
  // moving a line and a column a step.
  CellGridArea(QWidget* parent, const QColor& background, const QColor& text);

  // The first line and the first column in view.
  std::size_t firstLine() const;
  std::size_t firstColumn() const;

protected:
  static constexpr int kMargin = 2;

  int cellWidth() const;
  int lineHeight() const;
  int rowsInView() const;
  int columnsInView() const;
  // The bars' ranges for `lines` lines whose longest has `widest` columns
  // (one more is kept for the caret at its end).
  void setGridRanges(std::size_t lines, std::size_t widest);
  // Scrolls the least that shows the cell, with a column to spare after it.
  void scrollToCell(std::size_t line, std::size_t column);

  // Sets the ranges from the text; called on a resize.
  virtual void updateScrollBars() = 0;

  void resizeEvent(QResizeEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
};

// A count as a scroll bar value, which is an int.
int clampToInt(std::size_t value);

} // namespace kestrovan::editor
