#include "core/FileListBox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include <algorithm>

namespace kestrovan::core {
namespace {
const QColor kAqua(0, 255, 255);
} // namespace

FileListBox::FileListBox(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  QFont f("IPAGothic");
  f.setPixelSize(16);
  f.setStyleHint(QFont::Monospace);
  setFont(f);
}

void FileListBox::setRows(std::vector<QString> rows) {
  rows_ = std::move(rows);
  firstColumn_ = 0;
  if (selected_ >= static_cast<int>(rows_.size())) selected_ = -1;
  update();
}

void FileListBox::setRowText(int row, const QString& text) {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return;
  rows_[static_cast<size_t>(row)] = text;
  update();
}

void FileListBox::setColumns(int columns) {
  columns_ = std::max(1, columns);
  scrollIntoView(selected_);
  update();
}

int FileListBox::rowsPerColumn() const { return std::max(1, height() / kRowHeight); }

int FileListBox::columnWidth() const { return width() / columns_; }

void FileListBox::selectRow(int row) {
  if (row >= static_cast<int>(rows_.size())) row = static_cast<int>(rows_.size()) - 1;
  selected_ = row < 0 ? -1 : row;
  scrollIntoView(selected_);
  update();
}

void FileListBox::scrollIntoView(int row) {
  if (row < 0) return;
  const int column = row / rowsPerColumn();
  if (column < firstColumn_) firstColumn_ = column;
  if (column >= firstColumn_ + columns_) firstColumn_ = column - columns_ + 1;
}

int FileListBox::rowAt(QPoint pos) const {
  if (pos.x() < 0 || pos.y() < 0 || pos.x() >= width()) return -1;
  const int line = pos.y() / kRowHeight;
  if (line >= rowsPerColumn()) return -1;
  const int row = (firstColumn_ + pos.x() / columnWidth()) * rowsPerColumn() + line;
  return row < static_cast<int>(rows_.size()) ? row : -1;
}

void FileListBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::black);
  p.setFont(font());
  const int perColumn = rowsPerColumn();
  const int colWidth = columnWidth();
  for (int c = 0; c < columns_; ++c) {
    for (int line = 0; line < perColumn; ++line) {
      const int row = (firstColumn_ + c) * perColumn + line;
      if (row >= static_cast<int>(rows_.size())) return;
      const QString& text = rows_[static_cast<size_t>(row)];
      const QRect cell(c * colWidth, line * kRowHeight, colWidth, kRowHeight);
      const QColor color = (isFolderRow_ && isFolderRow_(row)) ? kAqua : QColor(Qt::white);
      // The mark column is hidden unless it holds "*".
      const int left = text.startsWith('*') ? 5 : 12;
      const QRect clip(cell.left() + left, cell.top(), cell.width() - left - 5, cell.height());
      p.save();
      p.setClipRect(clip);
      if (row == selected_) {
        p.fillRect(clip, color);
        p.setPen(Qt::black);
      } else {
        p.setPen(color);
      }
      p.drawText(cell.adjusted(5, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
      p.restore();
      if (row == selected_ && hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = clip;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &p, this);
      }
    }
  }
}

// Up and Down move within the run of rows, Left and Right a column across.
// Every other key belongs to the main window's dispatcher.
void FileListBox::keyPressEvent(QKeyEvent* event) {
  const int count = static_cast<int>(rows_.size());
  if (count == 0) return QWidget::keyPressEvent(event);
  int row = selected_;
  switch (event->key()) {
  case Qt::Key_Up: row = std::max(0, row - 1); break;
  case Qt::Key_Down: row = std::min(count - 1, row + 1); break;
  case Qt::Key_Left: row = row - rowsPerColumn() >= 0 ? row - rowsPerColumn() : row; break;
  case Qt::Key_Right: row = std::min(count - 1, row + rowsPerColumn()); break;
  default: return QWidget::keyPressEvent(event);
  }
  if (row < 0) row = 0;
  selectRow(row);
  Q_EMIT selectionMoved(row);
}

void FileListBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const int row = rowAt(event->position().toPoint());
  if (row < 0) return;
  selectRow(row);
  Q_EMIT rowClicked(row, event->modifiers());
}

void FileListBox::mouseDoubleClickEvent(QMouseEvent* event) {
  const int row = rowAt(event->position().toPoint());
  if (row >= 0) Q_EMIT rowDoubleClicked(row);
}

void FileListBox::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  scrollIntoView(selected_);
}

} // namespace kestrovan::core
