#include "editor/ui/CellGridArea.h"

#include <QScrollBar>

#include <algorithm>

namespace kestrovan::editor {

CellGridArea::CellGridArea(QWidget* parent, const QColor& background, const QColor& text)
    : QAbstractScrollArea(parent) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setCursor(Qt::IBeamCursor);
  QPalette p = viewport()->palette();
  p.setColor(QPalette::Base, background);
  p.setColor(QPalette::Window, background);
  p.setColor(QPalette::Text, text);
  viewport()->setPalette(p);
  viewport()->setAutoFillBackground(true);
  verticalScrollBar()->setSingleStep(1);
  horizontalScrollBar()->setSingleStep(1);
}

int clampToInt(std::size_t value) { return static_cast<int>(std::min<std::size_t>(value, 0x7fffffff)); }

std::size_t CellGridArea::firstLine() const { return static_cast<std::size_t>(verticalScrollBar()->value()); }
std::size_t CellGridArea::firstColumn() const {
  return static_cast<std::size_t>(horizontalScrollBar()->value());
}

int CellGridArea::cellWidth() const { return std::max(1, fontMetrics().horizontalAdvance(QLatin1Char('0'))); }
int CellGridArea::lineHeight() const { return std::max(1, fontMetrics().lineSpacing()); }
int CellGridArea::rowsInView() const { return std::max(1, (viewport()->height() - kMargin) / lineHeight()); }
int CellGridArea::columnsInView() const {
  return std::max(1, (viewport()->width() - 2 * kMargin) / cellWidth());
}

void CellGridArea::setGridRanges(std::size_t lines, std::size_t widest) {
  const int rows = rowsInView();
  verticalScrollBar()->setRange(0, lines > std::size_t(rows) ? clampToInt(lines - rows) : 0);
  verticalScrollBar()->setPageStep(rows);
  const int columns = columnsInView();
  const std::size_t cells = widest + 1;
  horizontalScrollBar()->setRange(0, cells > std::size_t(columns) ? clampToInt(cells - columns) : 0);
  horizontalScrollBar()->setPageStep(columns);
}

void CellGridArea::scrollToCell(std::size_t line, std::size_t column) {
  const std::size_t rows = static_cast<std::size_t>(rowsInView());
  if (line < firstLine())
    verticalScrollBar()->setValue(clampToInt(line));
  else if (line >= firstLine() + rows)
    verticalScrollBar()->setValue(clampToInt(line - rows + 1));
  const std::size_t columns = static_cast<std::size_t>(columnsInView());
  if (column < firstColumn())
    horizontalScrollBar()->setValue(clampToInt(column));
  else if (column + 2 > firstColumn() + columns)
    horizontalScrollBar()->setValue(clampToInt(column + 2 - columns));
}

void CellGridArea::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  updateScrollBars();
}

void CellGridArea::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  viewport()->update();
}

void CellGridArea::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  viewport()->update();
}

} // namespace kestrovan::editor
