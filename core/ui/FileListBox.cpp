#include "core/ui/FileListBox.h"

#include "files/ColumnLayout.h"

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

files::ColumnLayout FileListBox::layout() const {
  return {static_cast<int>(rows_.size()), rowsPerColumn(), columns_, firstColumn_};
}

void FileListBox::scrollIntoView(int row) { firstColumn_ = layout().firstColumnShowing(row); }

int FileListBox::rowAt(QPoint pos) const {
  return layout().rowAt(pos.x(), pos.y(), width(), kRowHeight).value_or(-1);
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
  files::ListMove move;
  switch (event->key()) {
  case Qt::Key_Up: move = files::ListMove::Up; break;
  case Qt::Key_Down: move = files::ListMove::Down; break;
  case Qt::Key_Left: move = files::ListMove::Left; break;
  case Qt::Key_Right: move = files::ListMove::Right; break;
  default: return QWidget::keyPressEvent(event);
  }
  const std::optional<int> row = layout().moved(selected_, move);
  if (!row) return QWidget::keyPressEvent(event);
  selectRow(*row);
  Q_EMIT selectionMoved(*row);
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
