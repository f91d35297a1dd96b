#pragma once
// Drag and drop on the file list. The list is its own drag source: a row
// pressed and dragged moves the selected entry, or the marked files, into
// the folder row or ".." row it is dropped on, the drag line telling where
// (the program's DRAGMOVE cursor, or the multi-item cursor with marks).
// Files dropped from the desktop are copied into the data folder.

#include <QObject>
#include <QPoint>

#include <optional>
#include <string>

class QDragMoveEvent;
class QDropEvent;
class QMouseEvent;
class QPixmap;

namespace kestrovan::host {
class Host;
}

namespace kestrovan::files {

class CopyMoveCommands;

// The list's own drags carry this type; its data is the data folder they
// started in.
inline constexpr const char* kListDragType = "application/x-kestrovan-list-rows";

// The drag cursors: DRAGMOVE (one entry) and the multi-item cursor.
QPixmap dragMoveCursor();
QPixmap dragManyCursor();

class ListDragDrop : public QObject {
public:
  ListDragDrop(host::Host& host, CopyMoveCommands& commands);

  // Where a drag from the list over `row` would move to; nothing where a
  // drop is refused.
  std::optional<std::string> dropTarget(int row) const;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  bool mouseMove(QMouseEvent* event);
  bool dragMove(QDragMoveEvent* event);
  bool drop(QDropEvent* event);
  bool ours(const QDropEvent* event) const;

  host::Host& host_;
  CopyMoveCommands& commands_;
  QPoint pressedAt_;
  bool pressed_ = false;
};

} // namespace kestrovan::files
