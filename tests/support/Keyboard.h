#pragma once
// Keys as a keyboard sends them: to the widget that has the focus, or to the
// active window when nothing in it has the focus. A window test never hands a
// key to a widget of its own choosing; a dialog whose Enter works only when
// its line edit is handed the key is broken for every operator.

#include <QApplication>
#include <QContextMenuEvent>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <string>

namespace kestrovan::test::keyboard {

// Where the next key goes; null when no window is active.
//
// An open popup (a menu, a drop-down list) takes every key, as the
// platform's keyboard grab gives them to it.
//
// When a dialog or box closes, a window manager activates the window left
// under it. The offscreen platform has no window manager and activates
// nothing, so when no window is active and exactly one plain window or dialog
// is showing, it is activated here as a window manager would; which of its
// widgets then has the keyboard is the program's own doing.
inline QWidget* target() {
  // An open menu or drop-down list grabs the keyboard: keys go to it (to
  // the widget in it that has the focus) whatever the window's focus is.
  if (QWidget* popup = QApplication::activePopupWidget())
    return popup->focusWidget() ? popup->focusWidget() : popup;
  if (QWidget* w = QApplication::focusWidget()) return w;
  if (QWidget* w = QApplication::activeWindow()) return w;
  QWidget* left = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    const Qt::WindowType type = w->windowType();
    if (!w->isVisible() || (type != Qt::Window && type != Qt::Dialog)) continue;
    if (left) return nullptr; // which one a window manager would pick is its own choice
    left = w;
  }
  if (!left) return nullptr;
  QApplication::setActiveWindow(left);
  QApplication::processEvents();
  if (QWidget* w = QApplication::focusWidget()) return w;
  return QApplication::activeWindow();
}

// Lets posted events run first (a dialog that opened on the last key takes the
// focus through the event loop).
inline void settle() { QApplication::processEvents(); }

inline void press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  settle();
  QWidget* w = target();
  ASSERT_NE(w, nullptr) << "no widget has the keyboard";
  QTest::keyClick(w, key, mods);
  settle();
}

// A key going down or up on its own (Shift held for the second key set, F3 or
// Esc held during a transfer), and a key sent at once without letting queued
// events run first. All go to the focus like the others.
inline void hold(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QWidget* w = target();
  ASSERT_NE(w, nullptr) << "no widget has the keyboard";
  QTest::keyPress(w, key, mods);
}

inline void letGo(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QWidget* w = target();
  ASSERT_NE(w, nullptr) << "no widget has the keyboard";
  QTest::keyRelease(w, key, mods);
}

inline void pressNow(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QWidget* w = target();
  ASSERT_NE(w, nullptr) << "no widget has the keyboard";
  QTest::keyClick(w, key, mods);
}

// The context-menu key. The desktop's platform turns it into a context-menu
// request for the focus widget at its caret (the offscreen platform does not);
// the request goes where the platform sends it.
inline void menuKey() {
  settle();
  QWidget* w = target();
  ASSERT_NE(w, nullptr) << "no widget has the keyboard";
  const QPoint at = w->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
  QContextMenuEvent event(QContextMenuEvent::Keyboard, at, w->mapToGlobal(at));
  QApplication::sendEvent(w, &event);
  settle();
}

inline void type(const std::string& utf8) {
  for (const QChar c : QString::fromStdString(utf8)) {
    settle();
    QWidget* w = target();
    ASSERT_NE(w, nullptr) << "no widget has the keyboard";
    if (c.unicode() < 0x80) {
      QTest::keyClick(w, c.toLatin1());
    } else {
      // Other text arrives as an input method's commit would: one key event
      // carrying the character.
      QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
      QApplication::sendEvent(w, &press);
      QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
      QApplication::sendEvent(w, &release);
    }
  }
  settle();
}

// The class and object name of what has the keyboard, for failure messages.
inline std::string focusName() {
  QWidget* w = target();
  if (!w) return "(nothing)";
  return std::string(w->metaObject()->className()) + " " + w->objectName().toStdString();
}

} // namespace kestrovan::test::keyboard
