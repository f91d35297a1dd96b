#include "host/DialogKeys.h"

#include "host/Host.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>

namespace kestrovan::host {
namespace {

bool isEnter(const QKeyEvent& k) {
  return (k.key() == Qt::Key_Return || k.key() == Qt::Key_Enter) &&
         (k.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

// A text area takes Enter as a line break, as it does in every program.
bool takesLineBreaks(const QWidget* w) {
  if (const auto* t = qobject_cast<const QPlainTextEdit*>(w)) return !t->isReadOnly();
  if (const auto* t = qobject_cast<const QTextEdit*>(w)) return !t->isReadOnly();
  return false;
}

class DialogKeyRule : public QObject {
public:
  DialogKeyRule(QDialog& dialog, DialogKeys keys)
      : QObject(&dialog), dialog_(dialog), keys_(std::move(keys)) {
    // Watching the application sees a key at the focus widget before the
    // widget (or a filter on one of its parts) does.
    qApp->installEventFilter(this);
    dialog_.installEventFilter(this);
  }
  ~DialogKeyRule() override {
    if (qApp) qApp->removeEventFilter(this);
  }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress && dialog_.isVisible()) return keyPress(watched, event);
    if (watched == &dialog_ && event->type() == QEvent::Hide && keys_.host) returnKeyboardToList(*keys_.host);
    return false;
  }

private:
  bool keyPress(QObject* watched, QEvent* event) {
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || !(w == &dialog_ || dialog_.isAncestorOf(w))) return false;
    if (!isEnter(*static_cast<QKeyEvent*>(event))) return false;
    if (auto* button = qobject_cast<QPushButton*>(w)) {
      if (button->isEnabled()) button->click();
      return true;
    }
    if (takesLineBreaks(w)) return false;
    if (std::find(keys_.ownEnter.begin(), keys_.ownEnter.end(), w) != keys_.ownEnter.end()) return false;
    if (!keys_.enter) return false;
    keys_.enter();
    return true;
  }

  QDialog& dialog_;
  DialogKeys keys_;
};

} // namespace

void installDialogKeys(QDialog& dialog, DialogKeys keys) { new DialogKeyRule(dialog, std::move(keys)); }

void returnKeyboardToList(Host& host) {
  QPointer<QWidget> window = host.window();
  // After the hide has run its course: Qt moves the activation itself while
  // the dialog goes.
  QTimer::singleShot(0, window, [window, &host] {
    if (!window || !window->isVisible() || QApplication::activeModalWidget()) return;
    window->activateWindow();
    host.focusList();
  });
}

} // namespace kestrovan::host
