#include "files/ui/ListDragDrop.h"

#include "base/SettingsRecord.h"
#include "files/ui/CopyMoveCommands.h"
#include "files/FileList.h"
#include "host/Host.h"
#include "platform/Paths.h"

#include <algorithm>

#include <QApplication>
#include <QByteArray>
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

QByteArray encodeListDrag(const ListDrag& drag) {
  QByteArray data = QByteArray::fromStdString(drag.folder);
  data.append('\0');
  for (const std::string& name : drag.names) {
    data.append(QByteArray::fromStdString(name));
    data.append('\0');
  }
  return data;
}

std::optional<ListDrag> decodeListDrag(const QByteArray& data) {
  if (data.isEmpty() || data.back() != '\0') return std::nullopt;
  ListDrag drag;
  qsizetype from = data.indexOf('\0');
  drag.folder = data.left(from).toStdString();
  for (++from; from < data.size();) {
    const qsizetype end = data.indexOf('\0', from);
    drag.names.push_back(data.mid(from, end - from).toStdString());
    from = end + 1;
  }
  if (drag.names.empty()) return std::nullopt;
  return drag;
}

std::optional<std::string> ListDragDrop::dropTarget(int row, const std::vector<std::string>& names) const {
  const FileList& list = host_.fileList();
  switch (list.rowKind(row)) {
  case RowKind::Parent: return platform::parentFolder(list.folder());
  case RowKind::Folder: {
    // A folder dropped on itself would go into itself.
    const std::string& name = list.entryAt(row)->name;
    if (std::find(names.begin(), names.end(), name) != names.end()) return std::nullopt;
    return list.entryPath(row);
  }
  case RowKind::File:
  case RowKind::None: break;
  }
  return std::nullopt;
}

std::optional<ListDrag> ListDragDrop::ours(const QDropEvent* event) const {
  const QMimeData* data = event->mimeData();
  if (!data || !data->hasFormat(kListDragType)) return std::nullopt;
  std::optional<ListDrag> drag = decodeListDrag(data->data(kListDragType));
  if (!drag || drag->folder != host_.fileList().folder()) return std::nullopt;
  return drag;
}

bool ListDragDrop::eventFilter(QObject* watched, QEvent* event) {
  if (watched != host_.listWidget()) return QObject::eventFilter(watched, event);
  switch (event->type()) {
  case QEvent::MouseButtonPress: {
    auto* m = static_cast<QMouseEvent*>(event);
    pressed_ = m->button() == Qt::LeftButton;
    pressedAt_ = m->position().toPoint();
    pressedRow_ = host_.listRowAt(pressedAt_);
    return false;
  }
  case QEvent::MouseButtonRelease: pressed_ = false; return false;
  case QEvent::MouseMove: return mouseMove(static_cast<QMouseEvent*>(event));
  case QEvent::DragEnter: {
    // A drag of the list's own is taken in wherever it enters (its own
    // file row, most often): an ignored enter brings no moves, so no folder
    // row could be reached. Each move then decides for its row.
    auto* e = static_cast<QDragEnterEvent*>(event);
    if (const std::optional<ListDrag> drag = ours(e)) {
      const std::optional<std::string> target =
          dropTarget(host_.listRowAt(e->position().toPoint()), drag->names);
      host_.setDragLine(target ? kDragLinePrefix + *target : std::string());
      e->setDropAction(Qt::MoveAction);
      e->accept();
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
  // Only a file or folder row starts a drag: a press on the empty space
  // below the rows leaves the selection where it was, and that row is not
  // what the operator took hold of.
  FileList& list = host_.fileList();
  const RowKind pressedKind = list.rowKind(pressedRow_);
  if (pressedKind != RowKind::File && pressedKind != RowKind::Folder) return false;
  ListDrag carried{list.folder(), {}};
  const bool marked = list.marks().count() > 0;
  if (marked) {
    for (int row : list.marks().rows())
      if (const FileEntry* e = list.entryAt(row)) carried.names.push_back(e->name);
  } else {
    carried.names.push_back(list.entryAt(pressedRow_)->name);
  }
  auto* drag = new QDrag(host_.listWidget());
  auto* data = new QMimeData;
  data->setData(kListDragType, encodeListDrag(carried));
  drag->setMimeData(data);
  const QPixmap cursor = marked ? dragManyCursor() : dragMoveCursor();
  drag->setDragCursor(cursor, Qt::MoveAction);
  drag->setDragCursor(cursor, Qt::IgnoreAction);
  drag->exec(Qt::MoveAction);
  host_.setDragLine("");
  return true;
}

bool ListDragDrop::dragMove(QDragMoveEvent* e) {
  const std::optional<ListDrag> drag = ours(e);
  if (!drag) {
    if (e->mimeData() && e->mimeData()->hasUrls())
      e->acceptProposedAction();
    else
      e->ignore();
    return true;
  }
  const std::optional<std::string> target = dropTarget(host_.listRowAt(e->position().toPoint()), drag->names);
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
  const std::optional<ListDrag> drag = ours(e);
  if (!drag) {
    std::vector<std::string> paths;
    if (e->mimeData())
      for (const QUrl& url : e->mimeData()->urls())
        if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
    e->acceptProposedAction();
    // The copy runs once the drop is over, so the desktop's drag ends at once.
    if (!paths.empty()) QTimer::singleShot(0, this, [this, paths] { commands_.copyDroppedFiles(paths); });
    return true;
  }
  const std::optional<std::string> target = dropTarget(host_.listRowAt(e->position().toPoint()), drag->names);
  if (!target) {
    e->ignore();
    return true;
  }
  e->setDropAction(Qt::MoveAction);
  e->accept();
  // What the drag carried, whatever became of the marks meanwhile.
  FileList& list = host_.fileList();
  std::vector<std::string> sources;
  for (const std::string& name : drag->names)
    sources.push_back(platform::joinPath(drag->folder, name));
  list.clearMarks();
  QTimer::singleShot(
      0, this, [this, sources, to = *target] { commands_.CopyOrMoveFiles(sources, to, TransferMode::Move); });
  return true;
}

} // namespace kestrovan::files
