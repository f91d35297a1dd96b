#include "files/ListDragDrop.h"

#include "base/SettingsRecord.h"
#include "files/CopyMoveCommands.h"
#include "files/FileList.h"
#include "host/Host.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace kestrovan::files {
namespace {

constexpr const char* kDragLinePrefix = " ﾄﾞﾗｯｸﾞ先のﾃﾞｨﾚｸﾄﾘ ";

void drawDocument(QPainter& p, int x, int y) {
  p.setPen(Qt::black);
  p.setBrush(Qt::white);
  p.drawRect(x, y, 10, 13);
  for (int line = 0; line < 3; ++line)
    p.drawLine(x + 2, y + 4 + line * 3, x + 8, y + 4 + line * 3);
}

// An arrow at the top left, the document(s) below it.
QPixmap cursorWith(int documents) {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  const QPoint arrow[] = {{0, 0}, {0, 14}, {4, 10}, {7, 16}, {9, 15}, {6, 9}, {11, 9}};
  p.setPen(Qt::black);
  p.setBrush(Qt::white);
  p.drawPolygon(arrow, 7);
  for (int i = documents - 1; i >= 0; --i)
    drawDocument(p, 12 + i * 4, 14 + i * 3);
  return pixmap;
}

} // namespace

QPixmap dragMoveCursor() { return cursorWith(1); }
QPixmap dragManyCursor() { return cursorWith(3); }

ListDragDrop::ListDragDrop(host::Host& host, CopyMoveCommands& commands) : host_(host), commands_(commands) {
  QWidget* list = host.listWidget();
  list->setAcceptDrops(true);
  list->installEventFilter(this);
}

std::optional<std::string> ListDragDrop::dropTarget(int row) const {
  const FileList& list = host_.fileList();
  const int dragged = host_.selectedRow();
  if (list.rowKind(dragged) == RowKind::Parent) return std::nullopt;
  switch (list.rowKind(row)) {
  case RowKind::Parent: return platform::parentFolder(list.folder());
  case RowKind::Folder:
    // A folder dropped on itself would go into itself.
    if (row == dragged && list.marks().count() == 0) return std::nullopt;
    return list.entryPath(row);
  case RowKind::File:
  case RowKind::None: break;
  }
  return std::nullopt;
}

bool ListDragDrop::ours(const QDropEvent* event) const {
  const QMimeData* data = event->mimeData();
  return data && data->hasFormat(kListDragType) &&
         data->data(kListDragType).toStdString() == host_.fileList().folder();
}

bool ListDragDrop::eventFilter(QObject* watched, QEvent* event) {
  if (watched != host_.listWidget()) return QObject::eventFilter(watched, event);
  switch (event->type()) {
  case QEvent::MouseButtonPress: {
    auto* m = static_cast<QMouseEvent*>(event);
    pressed_ = m->button() == Qt::LeftButton;
    pressedAt_ = m->position().toPoint();
    return false;
  }
  case QEvent::MouseButtonRelease: pressed_ = false; return false;
  case QEvent::MouseMove: return mouseMove(static_cast<QMouseEvent*>(event));
  case QEvent::DragEnter: {
    auto* e = static_cast<QDragEnterEvent*>(event);
    if (ours(e)) {
      e->acceptProposedAction();
      dragMove(e);
    } else if (e->mimeData() && e->mimeData()->hasUrls()) {
      e->acceptProposedAction();
    }
    return true;
  }
  case QEvent::DragMove: return dragMove(static_cast<QDragMoveEvent*>(event));
  case QEvent::DragLeave: host_.setDragLine(""); return true;
  case QEvent::Drop: return drop(static_cast<QDropEvent*>(event));
  default: break;
  }
  return false;
}

bool ListDragDrop::mouseMove(QMouseEvent* m) {
  if (!pressed_ || !(m->buttons() & Qt::LeftButton)) return false;
  if ((m->position().toPoint() - pressedAt_).manhattanLength() < QApplication::startDragDistance())
    return false;
  pressed_ = false;
  const FileList& list = host_.fileList();
  if (list.rowKind(host_.selectedRow()) == RowKind::None) return false;
  auto* drag = new QDrag(host_.listWidget());
  auto* data = new QMimeData;
  data->setData(kListDragType, QByteArray::fromStdString(list.folder()));
  drag->setMimeData(data);
  const QPixmap cursor = list.marks().count() > 0 ? dragManyCursor() : dragMoveCursor();
  drag->setDragCursor(cursor, Qt::MoveAction);
  drag->setDragCursor(cursor, Qt::IgnoreAction);
  drag->exec(Qt::MoveAction);
  host_.setDragLine("");
  return true;
}

bool ListDragDrop::dragMove(QDragMoveEvent* e) {
  if (!ours(e)) {
    if (e->mimeData() && e->mimeData()->hasUrls())
      e->acceptProposedAction();
    else
      e->ignore();
    return true;
  }
  const std::optional<std::string> target = dropTarget(host_.listRowAt(e->position().toPoint()));
  if (!target) {
    host_.setDragLine("");
    e->ignore();
    return true;
  }
  host_.setDragLine(kDragLinePrefix + *target);
  e->setDropAction(Qt::MoveAction);
  e->accept();
  return true;
}

bool ListDragDrop::drop(QDropEvent* e) {
  host_.setDragLine("");
  if (!ours(e)) {
    std::vector<std::string> paths;
    if (e->mimeData())
      for (const QUrl& url : e->mimeData()->urls())
        if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
    e->acceptProposedAction();
    // The copy runs once the drop is over, so the desktop's drag ends at once.
    if (!paths.empty()) QTimer::singleShot(0, this, [this, paths] { commands_.copyDroppedFiles(paths); });
    return true;
  }
  const std::optional<std::string> target = dropTarget(host_.listRowAt(e->position().toPoint()));
  if (!target) {
    e->ignore();
    return true;
  }
  e->setDropAction(Qt::MoveAction);
  e->accept();
  FileList& list = host_.fileList();
  std::vector<std::string> sources;
  if (list.marks().count() > 0) {
    for (const std::string& name : list.takeMarkedNames())
      sources.push_back(platform::joinPath(list.folder(), name));
  } else {
    sources.push_back(list.entryPath(host_.selectedRow()));
  }
  QTimer::singleShot(
      0, this, [this, sources, to = *target] { commands_.CopyOrMoveFiles(sources, to, TransferMode::Move); });
  return true;
}

} // namespace kestrovan::files
