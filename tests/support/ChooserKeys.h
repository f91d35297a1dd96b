#pragma once
// An operator in a file or folder chooser, with the keys only: Tab until the
// list has the keyboard, Down until the cursor is on a name as the screen
// shows it, Enter. A chooser that does not list a name fails here rather
// than waiting for ever.

#include "support/Keyboard.h"

#include <QAbstractItemView>
#include <QDialog>
#include <QTimer>

#include <functional>

namespace kestrovan::test::chooser {

// Tab until a list has the keyboard; null when none takes it.
inline QAbstractItemView* tabToList() {
  for (int i = 0; i < 12; ++i) {
    keyboard::settle();
    if (auto* view = qobject_cast<QAbstractItemView*>(keyboard::target())) return view;
    keyboard::press(Qt::Key_Tab);
  }
  ADD_FAILURE() << "no list takes the keyboard";
  return nullptr;
}

// Down in the list that has the keyboard until the cursor is on the row shown
// as `shown`; false when the list has no such row.
inline bool downTo(const QString& shown) {
  QAbstractItemView* view = tabToList();
  if (!view) return false;
  for (int i = 0; i <= view->model()->rowCount(view->rootIndex()); ++i) {
    if (view->currentIndex().data().toString() == shown) return true;
    keyboard::press(Qt::Key_Down);
  }
  ADD_FAILURE() << "not listed: " << shown.toStdString();
  return false;
}

// Runs `keys` on the next modal dialog other than `except` as soon as it
// shows, while the code that opened it waits in it.
inline void whenModal(QObject* owner, std::function<void(QDialog*)> keys, QWidget* except = nullptr) {
  auto* timer = new QTimer(owner);
  QObject::connect(timer, &QTimer::timeout, owner, [timer, keys, except] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog || dialog == except || !dialog->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    keyboard::settle();
    keys(dialog);
  });
  timer->start(1);
}

} // namespace kestrovan::test::chooser
