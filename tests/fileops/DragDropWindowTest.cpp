// Drags inside the list and drops from the desktop on the real main window.
// A drag of the list's own starts as a hand starts it (the mouse pressed on
// the list and moved past the drag distance); what it carries is what the
// program put into it, and the window system's events reach the list in the
// order Qt gives them (enter, moves, drop).

#include "FileOpsWindow.h"
#include "editor/PipeUnblocker.h"
#include "files/ui/ListDragDrop.h"
#include "platform/DirectoryEnum.h"
#include "platform/Paths.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QProcess>
#include <QUrl>

#include <memory>

using namespace kestrovan;
using base::MessageAnswer;
using test::readFile;
using test::writeFile;

namespace {

std::vector<std::string> namesIn(const std::string& folder) {
  std::vector<std::string> n = platform::listNames(folder);
  std::sort(n.begin(), n.end());
  return n;
}

// The mouse pressed at `from` on the list and moved past the drag distance.
// What the drag the program started carries, or null when none started. The
// offscreen platform ends a drag at once; its events follow through carry().
std::unique_ptr<QMimeData> startDrag(test::FileOpsWindow& w, QPoint from) {
  QWidget* list = w.list();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // no drag left over
  EXPECT_EQ(list->findChild<QDrag*>(), nullptr);
  const QPoint to = from + QPoint(QApplication::startDragDistance() + 5, 0);
  QTest::mousePress(list, Qt::LeftButton, Qt::NoModifier, from);
  QTest::mouseMove(list, to);
  std::unique_ptr<QMimeData> carried;
  if (auto* drag = list->findChild<QDrag*>(); drag && drag->mimeData()) {
    carried = std::make_unique<QMimeData>();
    for (const QString& format : drag->mimeData()->formats())
      carried->setData(format, drag->mimeData()->data(format));
  }
  QTest::mouseRelease(list, Qt::LeftButton, Qt::NoModifier, to);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return carried;
}

struct Passage {
  bool entered = false;
  bool dropped = false;
  std::vector<std::string> dragLines; // after the enter and after each move
};

// The drag over the list as Qt delivers it: it enters where the pointer is,
// then moves; an ignored enter brings no moves, and the drop comes only
// where the last move was taken.
Passage carry(test::FileOpsWindow& w, const QMimeData& data, QPoint enterAt, const std::vector<QPoint>& moves,
              Qt::DropAction action = Qt::MoveAction) {
  Passage p;
  QWidget* list = w.list();
  QDragEnterEvent enter(enterAt, action, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(list, &enter);
  p.entered = enter.isAccepted();
  p.dragLines.push_back(w.dragLine());
  if (!p.entered) return p;
  Qt::DropAction taken = enter.dropAction();
  QPoint at = enterAt;
  for (const QPoint& next : moves) {
    at = next;
    QDragMoveEvent move(at, action, &data, Qt::LeftButton, Qt::NoModifier);
    move.setDropAction(taken);
    move.setAccepted(taken != Qt::IgnoreAction);
    QApplication::sendEvent(list, &move);
    taken = move.isAccepted() ? move.dropAction() : Qt::IgnoreAction;
    p.dragLines.push_back(w.dragLine());
  }
  if (taken == Qt::IgnoreAction) return p;
  QDropEvent drop(at, action, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(list, &drop);
  p.dropped = drop.isAccepted();
  return p;
}

QPoint pastTheDragDistance(QPoint from) { return from + QPoint(QApplication::startDragDistance() + 5, 0); }

} // namespace

TEST(DragDropWindow, AFileDraggedFromItsRowReachesAFolderRowAndIsMovedThere) {
  test::FileOpsWindow w;
  writeFile(w.data.file("O1.NC"), "one");
  writeFile(w.data.file("O2.NC"), "two");
  mkdir(w.data.file("SUB").c_str(), 0755);
  w.open();
  const QPoint onO2 = w.rowPoint(w.rowOf("O2.NC"));
  std::unique_ptr<QMimeData> data = startDrag(w, onO2);
  ASSERT_NE(data, nullptr) << "no drag started on a file row";
  const std::string to = " ﾄﾞﾗｯｸﾞ先のﾃﾞｨﾚｸﾄﾘ ";
  const Passage p = carry(w, *data, pastTheDragDistance(onO2),
                          {w.rowPoint(w.rowOf("O1.NC")), w.rowPoint(0), w.rowPoint(w.rowOf("SUB"))});
  // Taken in on its own file row; over a file row nothing, over ".." the
  // parent, over the folder row the folder.
  ASSERT_TRUE(p.entered);
  EXPECT_EQ(p.dragLines, (std::vector<std::string>{"", "", to + platform::parentFolder(w.data.path()),
                                                   to + w.data.file("SUB")}));
  EXPECT_TRUE(p.dropped);
  EXPECT_EQ(w.dragLine(), "");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !test::fileExists(w.data.file("O2.NC")); }, 3000));
  EXPECT_EQ(readFile(w.data.file("SUB/O2.NC")), "two");
  EXPECT_EQ(readFile(w.data.file("O1.NC")), "one");
  EXPECT_EQ(w.dialogs.shown.back().text, "ファイルを移動しました。");

  // Let go over a file row: nothing moves.
  const QPoint onO1 = w.rowPoint(w.rowOf("O1.NC"));
  data = startDrag(w, onO1);
  ASSERT_NE(data, nullptr);
  EXPECT_FALSE(carry(w, *data, pastTheDragDistance(onO1), {onO1}).dropped);
  QApplication::processEvents();
  EXPECT_EQ(namesIn(w.data.path()), (std::vector<std::string>{"O1.NC", "SUB"}));
}

TEST(DragDropWindow, MarkedFilesDroppedOnAFolderRowAreMovedThere) {
  test::FileOpsWindow w;
  writeFile(w.data.file("O1.NC"), "one");
  writeFile(w.data.file("O2.NC"), "two");
  writeFile(w.data.file("O3.NC"), "three");
  mkdir(w.data.file("SUB").c_str(), 0755);
  w.open();
  w.mark({"O1.NC", "O3.NC"});
  const QPoint onO2 = w.rowPoint(w.rowOf("O2.NC"));
  std::unique_ptr<QMimeData> data = startDrag(w, onO2); // the marks go, not the row pressed
  ASSERT_NE(data, nullptr);
  const Passage p = carry(w, *data, pastTheDragDistance(onO2), {w.rowPoint(w.rowOf("SUB"))});
  EXPECT_TRUE(p.dropped);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !test::fileExists(w.data.file("O3.NC")); }, 3000));
  EXPECT_EQ(namesIn(w.data.file("SUB")), (std::vector<std::string>{"O1.NC", "O3.NC"}));
  EXPECT_EQ(readFile(w.data.file("O2.NC")), "two");
  EXPECT_EQ(w.dialogs.shown.back().text, "ファイルを移動しました。");
  EXPECT_EQ(w.rowOf("O1.NC"), -1);
  EXPECT_EQ(w.form->fileList().marks().count(), 0);
}

TEST(DragDropWindow, ARefreshByTheFolderWatchDuringTheDragStillMovesEveryMarkedFile) {
  test::FileOpsWindow w;
  writeFile(w.data.file("O1.NC"), "one");
  writeFile(w.data.file("O2.NC"), "two");
  writeFile(w.data.file("O3.NC"), "three");
  mkdir(w.data.file("SUB").c_str(), 0755);
  w.open();
  w.mark({"O1.NC", "O3.NC"});
  const QPoint onO3 = w.rowPoint(w.rowOf("O3.NC"));
  std::unique_ptr<QMimeData> data = startDrag(w, onO3);
  ASSERT_NE(data, nullptr);
  // Meanwhile another program writes into the folder; the watch refreshes
  // the list, which clears the marks.
  ASSERT_EQ(QProcess::execute("touch", {QString::fromStdString(w.data.file("O4.NC"))}), 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.rowOf("O4.NC") != -1; }, 5000));
  EXPECT_EQ(w.form->fileList().marks().count(), 0);
  const Passage p = carry(w, *data, pastTheDragDistance(onO3), {w.rowPoint(w.rowOf("SUB"))});
  EXPECT_TRUE(p.dropped);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !w.dialogs.shown.empty(); }, 3000));
  EXPECT_EQ(namesIn(w.data.file("SUB")), (std::vector<std::string>{"O1.NC", "O3.NC"}));
  EXPECT_EQ(namesIn(w.data.path()), (std::vector<std::string>{"O2.NC", "O4.NC", "SUB"}));
  EXPECT_EQ(w.dialogs.shown.back().text, "ファイルを移動しました。");
}

TEST(DragDropWindow, APressOnTheEmptySpaceBelowTheRowsStartsNoDrag) {
  test::FileOpsWindow w;
  writeFile(w.data.file("O1.NC"), "one");
  mkdir(w.data.file("SUB").c_str(), 0755);
  w.open();
  w.select("O1.NC");
  const int below = static_cast<int>(w.form->fileList().rows().size()) + 2;
  ASSERT_LT(below, w.list()->rowsPerColumn());
  const QPoint empty = w.rowPoint(below);
  ASSERT_EQ(w.list()->rowAt(empty), -1);
  std::unique_ptr<QMimeData> data = startDrag(w, empty);
  EXPECT_EQ(data, nullptr) << "a drag started where no row was pressed";
  if (data) carry(w, *data, pastTheDragDistance(empty), {w.rowPoint(w.rowOf("SUB"))});
  QApplication::processEvents();
  EXPECT_EQ(readFile(w.data.file("O1.NC")), "one");
  EXPECT_EQ(namesIn(w.data.file("SUB")), std::vector<std::string>{});
}

TEST(DragDropWindow, FilesDroppedFromTheDesktopAreCopiedInAfterTheOverwriteQuestion) {
  test::FileOpsWindow w;
  test::TempDir desktop;
  writeFile(desktop.file("O8.NC"), "eight");
  writeFile(desktop.file("O9.NC"), "nine");
  mkdir(desktop.file("DIR").c_str(), 0755);
  writeFile(w.data.file("O9.NC"), "old");
  w.open();
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(desktop.file("O8.NC"))),
                QUrl::fromLocalFile(QString::fromStdString(desktop.file("O9.NC"))),
                QUrl::fromLocalFile(QString::fromStdString(desktop.file("DIR")))});
  // No: the file there stays; the others come in.
  w.dialogs.answers = {MessageAnswer::No};
  EXPECT_TRUE(carry(w, data, w.rowPoint(0), {w.rowPoint(0)}, Qt::CopyAction).dropped);
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.message() == "ファイルコピー完了"; }, 3000));
  ASSERT_EQ(w.dialogs.shown.size(), 1u);
  EXPECT_EQ(w.dialogs.shown[0].title, "ファイルの上書きの確認");
  EXPECT_EQ(w.dialogs.shown[0].text, w.data.file("O9.NC") + " は既にあります。\n置き換えますか？");
  EXPECT_EQ(readFile(w.data.file("O9.NC")), "old");
  EXPECT_EQ(readFile(w.data.file("O8.NC")), "eight");
  EXPECT_FALSE(test::fileExists(w.data.file("DIR")));

  // Yes: replaced.
  w.dialogs.answers = {MessageAnswer::Yes, MessageAnswer::Yes};
  EXPECT_TRUE(carry(w, data, w.rowPoint(0), {w.rowPoint(0)}, Qt::CopyAction).dropped);
  ASSERT_TRUE(QTest::qWaitFor([&] { return readFile(w.data.file("O9.NC")) == "nine"; }, 3000));
  EXPECT_EQ(w.dialogs.shown.size(), 3u); // O8.NC and O9.NC were asked about
  EXPECT_EQ(readFile(w.data.file("O8.NC")), "eight");
}

TEST(DragDropWindow, ANamedPipeDroppedFromTheDesktopIsRefusedWithoutBeingOpened) {
  test::FileOpsWindow w;
  test::TempDir desktop;
  test::PipeUnblocker pipe(desktop.file("P.NC"));
  ASSERT_TRUE(pipe.made());
  writeFile(desktop.file("O1.NC"), "one");
  w.open();
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(desktop.file("P.NC"))),
                QUrl::fromLocalFile(QString::fromStdString(desktop.file("O1.NC")))});
  EXPECT_TRUE(carry(w, data, w.rowPoint(0), {w.rowPoint(0)}, Qt::CopyAction).dropped);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !w.dialogs.shown.empty() || w.message() == "ファイルコピー完了"; },
                              10000));
  EXPECT_FALSE(pipe.blocked()) << "the window waited in open() on the pipe";
  ASSERT_EQ(w.dialogs.shown.size(), 1u);
  EXPECT_EQ(w.dialogs.shown[0].text, desktop.file("P.NC") + " はコピーできない種類のファイルです。");
  EXPECT_FALSE(test::fileExists(w.data.file("P.NC")));
  EXPECT_NE(w.message(), "ファイルコピー完了");
  EXPECT_TRUE(w.list()->isEnabled());
}
