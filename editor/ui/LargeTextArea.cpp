#include "editor/ui/LargeTextArea.h"

#include "editor/ByteCells.h"
#include "platform/Cp932.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>

namespace kestrovan::editor {
namespace {

// Line ends of pasted or typed text as the editor writes them: CR LF.
QString withCrLf(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (c == QLatin1Char('\r')) {
      if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) ++i;
      out += QLatin1String("\r\n");
    } else if (c == QLatin1Char('\n') || c == QChar(0x2029)) {
      out += QLatin1String("\r\n");
    } else {
      out += c;
    }
  }
  return out;
}

} // namespace

LargeTextArea::LargeTextArea(QWidget* parent)
    : CellGridArea(parent, Qt::white, Qt::black), table_(std::make_unique<PieceTable>()) {
  setAttribute(Qt::WA_InputMethodEnabled, true);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void LargeTextArea::open(ProgramBytes bytes) {
  clear();
  table_ = std::make_unique<PieceTable>(std::move(bytes));
  loadMore();
}

void LargeTextArea::clear() {
  ++generation_;
  scheduled_ = false;
  table_ = std::make_unique<PieceTable>();
  caret_ = anchor_ = wantedColumn_ = widest_ = 0;
  verticalScrollBar()->setValue(0);
  horizontalScrollBar()->setValue(0);
  updateScrollBars();
  viewport()->update();
}

void LargeTextArea::loadMore() {
  scheduled_ = false;
  const std::size_t before = table_->lineCount();
  const bool done = table_->indexMore(before == 1 && table_->size() == 0 ? kFirstPiece : kPiece);
  updateScrollBars();
  if (table_->lineCount() != before && before <= firstLine() + static_cast<std::size_t>(rowsInView()) + 1)
    viewport()->update();
  if (done) {
    viewport()->update();
    if (loadedWhole) loadedWhole();
    return;
  }
  scheduled_ = true;
  QTimer::singleShot(0, this, [this, generation = generation_] {
    if (generation == generation_) loadMore();
  });
}

void LargeTextArea::finishLoading() {
  if (table_->indexed()) return;
  ++generation_; // the passes scheduled are not needed any more
  scheduled_ = false;
  while (!table_->indexMore(64 * kPiece)) {
  }
  updateScrollBars();
  viewport()->update();
  if (loadedWhole) loadedWhole();
}

void LargeTextArea::setOverwrite(bool on) {
  overwrite_ = on;
  viewport()->update();
}

void LargeTextArea::updateScrollBars() {
  widest_ = std::max({widest_, table_->longestOriginalLine(), table_->lineLength(lineOfCaret())});
  setGridRanges(table_->lineCount(), widest_);
}

std::size_t LargeTextArea::columnOf(std::size_t offset) const {
  return offset - table_->lineStart(table_->lineOf(offset));
}

std::size_t LargeTextArea::offsetAt(std::size_t line, std::size_t column) const {
  const std::size_t start = table_->lineStart(line);
  return table_->characterStart(start + std::min(column, table_->lineLength(line)));
}

std::size_t LargeTextArea::offsetAt(const QPoint& point) const {
  const int row = std::max(0, (point.y() - kMargin) / lineHeight());
  const std::size_t line = std::min(firstLine() + static_cast<std::size_t>(row), table_->lineCount() - 1);
  const int cw = cellWidth();
  return offsetAt(line,
                  firstColumn() + static_cast<std::size_t>(std::max(0, point.x() - kMargin + cw / 2) / cw));
}

void LargeTextArea::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  const QFontMetrics fm = fontMetrics();
  const int cw = cellWidth();
  const int lh = lineHeight();
  const std::size_t top = firstLine();
  const std::size_t left = firstColumn();
  const std::size_t columns = static_cast<std::size_t>(columnsInView()) + 2;
  const std::size_t from = std::min(anchor_, caret_);
  const std::size_t to = std::max(anchor_, caret_);
  const QColor text = viewport()->palette().color(QPalette::Text);
  const QColor highlight = palette().color(QPalette::Highlight);
  const QColor highlighted = palette().color(QPalette::HighlightedText);
  const int rows = rowsInView() + 1;
  painter.setFont(font());
  for (int row = 0; row < rows; ++row) {
    const std::size_t line = top + static_cast<std::size_t>(row);
    if (line >= table_->lineCount()) break;
    const std::size_t start = table_->lineStart(line);
    const std::size_t length = table_->lineLength(line);
    const int y = kMargin + row * lh;
    // The selection reaches past the end of a line it goes on from.
    const std::size_t end = start + length;
    if (from < to && from <= end && to > end && left <= length) {
      const int x = kMargin + static_cast<int>(length - left) * cw;
      painter.fillRect(QRect(x, y, cw, lh), highlight);
    }
    if (left >= length) continue;
    // Only the columns in view, from the character that holds the first.
    const std::size_t first = table_->characterStart(start + left);
    const std::string bytes = table_->bytes(first, std::min(end, start + left + columns + 1) - first);
    for (const ByteCell& cell : byteCells(bytes, 0, bytes.size())) {
      const std::size_t offset = first + cell.column;
      const std::size_t column = offset - start;
      if (column + cell.width <= left || column >= left + columns) continue;
      const int x = kMargin + (static_cast<int>(column) - static_cast<int>(left)) * cw;
      const bool selected = from <= offset && offset < to;
      if (selected) painter.fillRect(QRect(x, y, cell.width * cw, lh), highlight);
      if (cell.character == u' ' || cell.character == u'\t') continue;
      painter.setPen(selected ? highlighted : text);
      painter.drawText(x, y + fm.ascent(), QString(QChar(cell.character)));
    }
  }
  const std::size_t line = lineOfCaret();
  const std::size_t column = columnOf(caret_);
  if (hasFocus() && line >= top && line < top + static_cast<std::size_t>(rows) && column >= left) {
    const int x = kMargin + static_cast<int>(column - left) * cw;
    const int width = overwrite_ ? std::max(1, fm.height() / 2) : 1;
    painter.fillRect(QRect(x, kMargin + static_cast<int>(line - top) * lh, width, lh), text);
  }
}

// --- caret and selection ---------------------------------------------------

void LargeTextArea::moveCaret(std::size_t to, bool select) {
  caret_ = to;
  if (!select) anchor_ = to;
  ensureCaretVisible();
  viewport()->update();
  if (caretMoved) caretMoved();
}

void LargeTextArea::select(std::size_t from, std::size_t to) {
  anchor_ = from;
  moveCaret(to, true);
  wantedColumn_ = columnOf(to);
}

void LargeTextArea::ensureCaretVisible() {
  updateScrollBars();
  scrollToCell(lineOfCaret(), columnOf(caret_));
}

QString LargeTextArea::selectedText() const {
  const std::size_t from = std::min(anchor_, caret_);
  const std::size_t to = std::max(anchor_, caret_);
  QString text = QString::fromStdString(platform::cp932ToUtf8(table_->bytes(from, to - from)));
  // Line ends of every kind as one break, as a text control hands them on.
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

void LargeTextArea::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return CellGridArea::mousePressEvent(event);
  const std::size_t at = offsetAt(event->position().toPoint());
  wantedColumn_ = columnOf(at);
  moveCaret(at, event->modifiers() & Qt::ShiftModifier);
}

void LargeTextArea::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton)) return;
  const std::size_t at = offsetAt(event->position().toPoint());
  wantedColumn_ = columnOf(at);
  moveCaret(at, true);
}

// --- editing ----------------------------------------------------------------

void LargeTextArea::refuse(const QString& why) {
  QApplication::beep();
  if (refused) refused(why);
}

void LargeTextArea::edited(std::size_t caret) {
  updateScrollBars();
  wantedColumn_ = columnOf(caret);
  moveCaret(caret, false);
  if (changed) changed();
}

bool LargeTextArea::replaceSelection(const std::string& bytes, bool overwriting) {
  if (!table_->indexed()) return false; // the rest is still coming in
  std::size_t from = std::min(anchor_, caret_);
  std::size_t to = std::max(anchor_, caret_);
  // Overwriting takes the character at the caret, not a line end.
  if (overwriting && from == to && to < table_->lineEnd(lineOfCaret())) to = table_->characterEnd(to);
  if (!table_->replace(from, to - from, bytes)) {
    refuse(QString::fromUtf8("ここでは文字を分けたりつなげたりする変更はできません。"));
    return false;
  }
  edited(from + bytes.size());
  return true;
}

void LargeTextArea::typeText(const QString& text) {
  if (text.isEmpty()) return;
  const QString crlf = withCrLf(text);
  const platform::Cp932Encoding encoded = platform::utf8ToCp932Exact(crlf.toStdString());
  if (!encoded.complete()) {
    const std::string utf8 = crlf.toStdString();
    std::size_t end = encoded.failedAt + 1;
    while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80)
      ++end;
    refuse(QString::fromUtf8("文字「") +
           QString::fromStdString(utf8.substr(encoded.failedAt, end - encoded.failedAt)) +
           QString::fromUtf8("」は Shift-JIS で保存できません。"));
    return;
  }
  replaceSelection(encoded.bytes, overwrite_ && !hasSelection() && !crlf.contains(QLatin1Char('\r')));
}

void LargeTextArea::eraseSelection() {
  if (hasSelection()) replaceSelection({}, false);
}

void LargeTextArea::undo() {
  if (!table_->indexed()) return;
  PieceTable::Change change;
  if (table_->undo(&change)) edited(change.offset + change.length);
}

void LargeTextArea::redo() {
  if (!table_->indexed()) return;
  PieceTable::Change change;
  if (table_->redo(&change)) edited(change.offset + change.length);
}

void LargeTextArea::copy() const {
  if (hasSelection()) QApplication::clipboard()->setText(selectedText());
}

void LargeTextArea::cut() {
  if (!hasSelection() || !table_->indexed()) return;
  copy();
  eraseSelection();
}

void LargeTextArea::paste() {
  table_->closeStep();
  typeText(QApplication::clipboard()->text());
  table_->closeStep();
}

void LargeTextArea::selectAll() {
  anchor_ = 0;
  moveCaret(table_->size(), true);
}

bool LargeTextArea::event(QEvent* e) {
  // The panel's keys (Esc, Ctrl+S ...) stay the panel's; ours are ours.
  if (e->type() == QEvent::ShortcutOverride) {
    auto* key = static_cast<QKeyEvent*>(e);
    if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
        key->matches(QKeySequence::Cut) || key->matches(QKeySequence::Copy) ||
        key->matches(QKeySequence::Paste) || key->matches(QKeySequence::SelectAll)) {
      e->accept();
      return true;
    }
  }
  return CellGridArea::event(e);
}

void LargeTextArea::inputMethodEvent(QInputMethodEvent* event) {
  typeText(event->commitString());
  event->accept();
}

void LargeTextArea::keyPressEvent(QKeyEvent* event) {
  const bool select = event->modifiers() & Qt::ShiftModifier;
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  const std::size_t last = table_->lineCount() - 1;
  const std::size_t page = static_cast<std::size_t>(rowsInView());
  if (event->matches(QKeySequence::SelectAll)) return selectAll();
  if (event->matches(QKeySequence::Copy) || (ctrl && event->key() == Qt::Key_Insert)) return copy();
  if (event->matches(QKeySequence::Cut) || (select && event->key() == Qt::Key_Delete)) return cut();
  if (event->matches(QKeySequence::Paste) || (select && event->key() == Qt::Key_Insert)) return paste();
  if (event->matches(QKeySequence::Undo)) return undo();
  if (event->matches(QKeySequence::Redo)) return redo();

  const std::size_t line = lineOfCaret();
  std::size_t to = caret_;
  bool vertical = false;
  std::size_t toLine = line;
  switch (event->key()) {
  case Qt::Key_Left:
    if (caret_ > table_->lineStart(line))
      to = table_->characterStart(caret_ - 1);
    else if (line > 0)
      to = table_->lineEnd(line - 1);
    break;
  case Qt::Key_Right:
    if (caret_ < table_->lineEnd(line))
      to = table_->characterEnd(caret_);
    else if (line < last)
      to = table_->lineStart(line + 1);
    break;
  case Qt::Key_Up:
    toLine = line > 0 ? line - 1 : 0;
    vertical = true;
    break;
  case Qt::Key_Down:
    toLine = std::min(last, line + 1);
    vertical = true;
    break;
  case Qt::Key_PageUp:
    toLine = line > page ? line - page : 0;
    vertical = true;
    break;
  case Qt::Key_PageDown:
    toLine = std::min(last, line + page);
    vertical = true;
    break;
  case Qt::Key_Home: to = ctrl ? 0 : table_->lineStart(line); break;
  case Qt::Key_End: to = ctrl ? table_->size() : table_->lineEnd(line); break;
  case Qt::Key_Return:
  case Qt::Key_Enter:
    table_->closeStep();
    replaceSelection("\r\n", false);
    table_->closeStep();
    return;
  case Qt::Key_Backspace:
    if (hasSelection()) return eraseSelection();
    if (caret_ == 0 || !table_->indexed()) return;
    table_->closeStep();
    // Back over a whole line end, CR LF or more.
    anchor_ =
        caret_ == table_->lineStart(line) ? table_->lineEnd(line - 1) : table_->characterStart(caret_ - 1);
    replaceSelection({}, false);
    return;
  case Qt::Key_Delete:
    if (hasSelection()) return eraseSelection();
    if (caret_ >= table_->size() || !table_->indexed()) return;
    table_->closeStep();
    anchor_ = caret_ == table_->lineEnd(line) ? table_->lineStart(line + 1) : table_->characterEnd(caret_);
    std::swap(anchor_, caret_);
    replaceSelection({}, false);
    return;
  default:
    if (!ctrl && !event->text().isEmpty() && event->text().at(0).isPrint()) {
      typeText(event->text());
      return;
    }
    // Not ours: the keys of the panel (Esc, Ctrl+S, F-keys) go on.
    event->ignore();
    return;
  }
  if (vertical)
    to = offsetAt(toLine, wantedColumn_);
  else
    wantedColumn_ = columnOf(to);
  moveCaret(to, select);
}

} // namespace kestrovan::editor
