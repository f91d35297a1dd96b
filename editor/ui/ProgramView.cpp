#include "editor/ui/ProgramView.h"

#include "editor/ByteCells.h"
#include "editor/NcWords.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <array>
#include <string_view>

namespace kestrovan::editor {
namespace {

struct WordColour {
  QColor colour;
  bool bold = false;
  bool italic = false;
};

// The colours of the words on the view's dark background.
const std::array<WordColour, 6>& wordColours() {
  static const std::array<WordColour, 6> colours = {{
      {QColor("#9ad19a"), false, true},  // comment
      {QColor("#ffb0b0"), true, false},  // program number
      {QColor("#a0a0a0"), false, false}, // block number
      {QColor("#80c0ff"), true, false},  // G code
      {QColor("#ff90ff"), true, false},  // M code
      {QColor("#ffe080"), false, false}, // address
  }};
  return colours;
}

} // namespace

ProgramView::ProgramView(QWidget* parent) : CellGridArea(parent, Qt::black, Qt::white) {
  setAttribute(Qt::WA_InputMethodEnabled, false);
}

void ProgramView::setProgram(ProgramBytes bytes) {
  clear();
  source_ = std::move(bytes);
  source_.readMore(kFirstPiece);
  index_.extend(source_.text(), source_.done());
  index_.scan(kFirstPiece);
  updateScrollBars();
  if (!index_.complete()) {
    scheduled_ = true;
    QTimer::singleShot(0, this, [this, generation = generation_] {
      if (generation == generation_) indexMore();
    });
  }
  viewport()->update();
}

void ProgramView::clear() {
  ++generation_;
  scheduled_ = false;
  index_ = LineIndex();
  source_ = ProgramBytes();
  caret_ = anchor_ = {};
  wantedColumn_ = 0;
  decoded_ = 0;
  verticalScrollBar()->setValue(0);
  horizontalScrollBar()->setValue(0);
  updateScrollBars();
  viewport()->update();
}

void ProgramView::indexMore() {
  scheduled_ = false;
  const std::size_t before = index_.lineCount();
  if (!source_.done()) {
    source_.readMore(kPiece);
    index_.extend(source_.text(), source_.done());
  }
  const bool done = index_.scan(kPiece);
  updateScrollBars();
  // Only the lines that came into view need drawing again.
  if (index_.lineCount() != before && before <= firstLine() + static_cast<std::size_t>(rowsInView()) + 1)
    viewport()->update();
  if (!done) {
    scheduled_ = true;
    QTimer::singleShot(0, this, [this, generation = generation_] {
      if (generation == generation_) indexMore();
    });
  }
}

void ProgramView::setNcColouring(bool on) {
  colouring_ = on;
  viewport()->update();
}

QString ProgramView::lineText(std::size_t i) const {
  if (i >= index_.lineCount()) return {};
  const std::string_view line = index_.line(i);
  QString text;
  text.reserve(static_cast<qsizetype>(line.size()));
  for (const ByteCell& cell : byteCells(line, 0, line.size()))
    text += QChar(cell.character);
  return text;
}

QString ProgramView::selectedText() const {
  Position from = std::min(anchor_, caret_);
  const Position to = std::max(anchor_, caret_);
  QString text;
  for (std::size_t line = from.line; line <= to.line && line < index_.lineCount(); ++line) {
    const std::string_view bytes = index_.line(line);
    const std::size_t start = line == from.line ? from.column : 0;
    const std::size_t end = line == to.line ? to.column : bytes.size();
    for (const ByteCell& cell : byteCells(bytes, start, end))
      text += QChar(cell.character);
    if (line != to.line) text += QLatin1Char('\n');
  }
  return text;
}

void ProgramView::updateScrollBars() { setGridRanges(index_.lineCount(), index_.longestLine()); }

void ProgramView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  const QFontMetrics fm = fontMetrics();
  const int cw = cellWidth();
  const int lh = lineHeight();
  const std::size_t top = firstLine();
  const std::size_t left = firstColumn();
  const std::size_t columns = static_cast<std::size_t>(columnsInView()) + 2;
  const Position from = std::min(anchor_, caret_);
  const Position to = std::max(anchor_, caret_);
  const QColor text = viewport()->palette().color(QPalette::Text);
  const QColor highlight = palette().color(QPalette::Highlight);
  const QFont plain = font();
  const int rows = rowsInView() + 1;
  for (int row = 0; row < rows; ++row) {
    const std::size_t line = top + static_cast<std::size_t>(row);
    if (line >= index_.lineCount()) break;
    const std::string_view bytes = index_.line(line);
    const int y = kMargin + row * lh;
    const bool coloured = colouring_ && bytes.size() <= kLongestColoured;
    // A short line is decoded whole (its words need all of it); of a long
    // one only the columns in view.
    const std::vector<ByteCell> cells =
        coloured ? byteCells(bytes, 0, bytes.size()) : byteCells(bytes, left, left + columns);
    decoded_ += cells.size();
    std::vector<const WordColour*> colours;
    if (coloured) {
      std::u16string units;
      units.reserve(cells.size());
      for (const ByteCell& cell : cells)
        units += cell.character;
      colours.assign(cells.size(), nullptr);
      forEachNcWord(units, [&](const NcWord& w) {
        for (std::size_t i = w.start; i < w.start + w.length && i < colours.size(); ++i)
          colours[i] = &wordColours()[static_cast<int>(w.kind)];
      });
    }
    // The selection reaches past the end of a line it goes on from.
    if (line >= from.line && line < to.line && (line > from.line || from.column <= bytes.size())) {
      const std::size_t end = bytes.size() + 1;
      const std::size_t start = line == from.line ? from.column : 0;
      if (end > left && start < left + columns) {
        const int x0 = kMargin + static_cast<int>((std::max(start, left) - left)) * cw;
        const int x1 = kMargin + static_cast<int>(std::min(end, left + columns) - left) * cw;
        painter.fillRect(QRect(x0, y, x1 - x0, lh), highlight);
      }
    }
    for (std::size_t i = 0; i < cells.size(); ++i) {
      const ByteCell& cell = cells[i];
      if (cell.column + cell.width <= left || cell.column >= left + columns) continue;
      const int x = kMargin + (static_cast<int>(cell.column) - static_cast<int>(left)) * cw;
      const Position at{line, cell.column};
      const bool selected = from <= at && at < to;
      if (selected) painter.fillRect(QRect(x, y, cell.width * cw, lh), highlight);
      if (cell.character == u' ' || cell.character == u'\t') continue;
      QFont f = plain;
      QColor c = text;
      if (!colours.empty() && colours[i]) {
        c = colours[i]->colour;
        f.setBold(colours[i]->bold);
        f.setItalic(colours[i]->italic);
      }
      if (selected) c = palette().color(QPalette::HighlightedText);
      painter.setFont(f);
      painter.setPen(c);
      painter.drawText(x, y + fm.ascent(), QString(QChar(cell.character)));
    }
  }
  if (hasFocus() && caret_.line >= top && caret_.line < top + static_cast<std::size_t>(rows) &&
      caret_.column >= left) {
    const int x = kMargin + static_cast<int>(caret_.column - left) * cw;
    painter.fillRect(QRect(x, kMargin + static_cast<int>(caret_.line - top) * lh, 1, lh), text);
  }
}

// --- caret and selection ---------------------------------------------------

std::size_t ProgramView::snap(std::size_t line, std::size_t column) const {
  const std::string_view bytes = index_.line(line);
  return characterStart(bytes, std::min(column, bytes.size()));
}

std::size_t ProgramView::columnLeftOf(const Position& p) const {
  if (p.column == 0) return 0;
  return characterStart(index_.line(p.line), p.column - 1);
}

std::size_t ProgramView::columnRightOf(const Position& p) const {
  return characterEnd(index_.line(p.line), p.column);
}

void ProgramView::moveCaret(Position to, bool select) {
  caret_ = to;
  if (!select) anchor_ = to;
  ensureCaretVisible();
  viewport()->update();
}

void ProgramView::ensureCaretVisible() { scrollToCell(caret_.line, caret_.column); }

ProgramView::Position ProgramView::positionAt(const QPoint& point) const {
  const int row = std::max(0, (point.y() - kMargin) / lineHeight());
  const std::size_t line = std::min(firstLine() + static_cast<std::size_t>(row), index_.lineCount() - 1);
  const int cw = cellWidth();
  const std::size_t column =
      firstColumn() + static_cast<std::size_t>(std::max(0, point.x() - kMargin + cw / 2) / cw);
  return {line, snap(line, column)};
}

void ProgramView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return CellGridArea::mousePressEvent(event);
  const Position at = positionAt(event->position().toPoint());
  wantedColumn_ = at.column;
  moveCaret(at, event->modifiers() & Qt::ShiftModifier);
}

void ProgramView::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton)) return;
  const Position at = positionAt(event->position().toPoint());
  wantedColumn_ = at.column;
  moveCaret(at, true);
}

void ProgramView::copy() const {
  if (anchor_ != caret_) QApplication::clipboard()->setText(selectedText());
}

void ProgramView::keyPressEvent(QKeyEvent* event) {
  const bool select = event->modifiers() & Qt::ShiftModifier;
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  const std::size_t last = index_.lineCount() - 1;
  const std::size_t page = static_cast<std::size_t>(rowsInView());
  Position to = caret_;
  bool vertical = false;
  if (event->matches(QKeySequence::SelectAll)) {
    anchor_ = {};
    caret_ = {last, lineLength(last)};
    viewport()->update();
    return;
  }
  if (event->matches(QKeySequence::Copy) || (ctrl && event->key() == Qt::Key_Insert)) {
    copy();
    return;
  }
  switch (event->key()) {
  case Qt::Key_Left:
    if (to.column > 0)
      to.column = columnLeftOf(to);
    else if (to.line > 0)
      to = {to.line - 1, lineLength(to.line - 1)};
    break;
  case Qt::Key_Right:
    if (to.column < lineLength(to.line))
      to.column = columnRightOf(to);
    else if (to.line < last)
      to = {to.line + 1, 0};
    break;
  case Qt::Key_Up:
    if (to.line > 0) --to.line;
    vertical = true;
    break;
  case Qt::Key_Down:
    if (to.line < last) ++to.line;
    vertical = true;
    break;
  case Qt::Key_PageUp:
    to.line = to.line > page ? to.line - page : 0;
    vertical = true;
    break;
  case Qt::Key_PageDown:
    to.line = std::min(last, to.line + page);
    vertical = true;
    break;
  case Qt::Key_Home: to = ctrl ? Position{} : Position{to.line, 0}; break;
  case Qt::Key_End:
    to = ctrl ? Position{last, lineLength(last)} : Position{to.line, lineLength(to.line)};
    break;
  default:
    // Not ours: the keys of the panel (F3, Esc) and of the window go on.
    event->ignore();
    return;
  }
  if (vertical)
    to.column = snap(to.line, wantedColumn_);
  else
    wantedColumn_ = to.column;
  moveCaret(to, select);
}

} // namespace kestrovan::editor
