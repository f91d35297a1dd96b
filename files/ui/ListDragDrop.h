#pragma once
// Drag and drop on the file list. The list is its own drag source: a row
// pressed and dragged moves the pressed entry, or the marked files, into
// the folder row or ".." row it is dropped on, the drag line telling where
// (the program's DRAGMOVE cursor, or the multi-item cursor with marks).
// Files dropped from the desktop are copied into the data folder.
//
// The drag carries the names it moves from its start: a refresh of the list
// while it is under way (the folder watch) clears the marks, and the drop
// still moves what was dragged. A drag starts only on a file or folder row.

#include <QObject>
#include <QPoint>

#include <optional>
#include <string>
#include <vector>

class QByteArray;
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
// started in, then each name they move, every one ended by a NUL byte.
inline constexpr const char* kListDragType = "application/x-kestrovan-list-rows";

// What a list drag carries.
struct ListDrag {
  std::string folder;
  std::vector<std::string> names;
};
QByteArray encodeListDrag(const ListDrag& drag);
std::optional<ListDrag> decodeListDrag(const QByteArray& data);

// The drag cursors: DRAGMOVE (one entry) and the multi-item cursor.
QPixmap dragMoveCursor();
QPixmap dragManyCursor();

class ListDragDrop : public QObject {
public:
  ListDragDrop(host::Host& host, CopyMoveCommands& commands);

  // Where a drag of `names` over `row` would move them to; nothing where a
  // drop is refused.
  std::optional<std::string> dropTarget(int row, const std::vector<std::string>& names) const;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  bool mouseMove(QMouseEvent* event);
  bool dragMove(QDragMoveEvent* event);
  bool drop(QDropEvent* event);
  // The list drag of this folder the event carries; nothing for any other.
  std::optional<ListDrag> ours(const QDropEvent* event) const;

  host::Host& host_;
  CopyMoveCommands& commands_;
  QPoint pressedAt_;
  int pressedRow_ = -1; // the row under the press
  bool pressed_ = false;
};

} // namespace kestrovan::files
