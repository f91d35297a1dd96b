#include "serial/ui/QtTransferScreen.h"

#include "base/Dialogs.h"
#include "serial/ui/AutoForm.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTimer>

namespace kestrovan::serial {

QtTransferScreen::QtTransferScreen(host::Host& host) : host_(host) {
  qApp->installEventFilter(this);
  selectorDialog_ = [this] {
    TAutoForm dialog(host_.window(), host_.dialogs());
    return dialog.ask();
  };
}

QtTransferScreen::~QtTransferScreen() { qApp->removeEventFilter(this); }

void QtTransferScreen::beginTransfer() {
  running_ = true;
  host_.beginBusy(*this);
  dsrShown_ = ctsShown_ = -1;
  sinceEvents_.invalidate();
  keyDown_ = false;
  pressedSince_ = false;
}

void QtTransferScreen::endTransfer() {
  running_ = false;
  releaseStopKeys();
  host_.endBusy();
}

bool QtTransferScreen::eventFilter(QObject*, QEvent* event) {
  if (!running_) return false;
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
  auto* k = static_cast<QKeyEvent*>(event);
  if (k->key() != Qt::Key_F3 && k->key() != Qt::Key_Escape) return false;
  if (event->type() == QEvent::KeyPress) {
    keyDown_ = true;
    pressedSince_ = true;
  } else if (!k->isAutoRepeat()) {
    keyDown_ = false;
  }
  return true;
}

void QtTransferScreen::setStatusPanel(int index, const std::string& text) {
  host_.setStatusPanel(index, text);
}

void QtTransferScreen::showMessageLine(const std::string& text, MessageColour colour) {
  host_.showMessage(text,
                    colour == MessageColour::Red ? host::MessageColour::Red : host::MessageColour::Lime);
}

void QtTransferScreen::addTransferLine(const std::string& line) {
  host_.transferView()->appendPlainText(QString::fromStdString(line));
}

bool QtTransferScreen::askYesNo(const std::string& text) {
  return host_.dialogs().show({"警告", text, base::MessageButtons::YesNo, base::MessageIcon::Warning}) ==
         base::MessageAnswer::Yes;
}

// A tap is kept until a poll that asks for taps takes it: a look at whether
// the key is down now, between the window's events and that poll, must not
// use it up, or a quick press during a wait would be lost.
bool QtTransferScreen::stopKeyDown(StopKeyPoll poll) {
  if (poll == StopKeyPoll::DownNow) return keyDown_;
  const bool down = keyDown_ || pressedSince_;
  pressedSince_ = false;
  return down;
}

bool QtTransferScreen::stopKeyPending() { return keyDown_ || pressedSince_; }

bool QtTransferScreen::requestStop() {
  if (running_) {
    keyDown_ = true;
    pressedSince_ = true;
  }
  return true;
}

void QtTransferScreen::releaseStopKeys() {
  keyDown_ = false;
  pressedSince_ = false;
}

// Every few milliseconds is often enough for the window and the stop keys,
// and keeps a fast line from spending its time repainting.
void QtTransferScreen::processPendingEvents() {
  constexpr qint64 kEventIntervalMs = 5;
  if (sinceEvents_.isValid() && sinceEvents_.elapsed() < kEventIntervalMs) return;
  QApplication::processEvents(QEventLoop::AllEvents);
  sinceEvents_.start();
}

void QtTransferScreen::sleepMs(int ms) {
  if (ms <= 0) return processPendingEvents();
  sinceEvents_.invalidate();
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

void QtTransferScreen::setDsrLamp(bool on) {
  if (dsrShown_ == int(on)) return;
  dsrShown_ = on;
  host_.setDsrLamp(on);
}

void QtTransferScreen::setCtsLamp(bool on) {
  if (ctsShown_ == int(on)) return;
  ctsShown_ = on;
  host_.setCtsLamp(on);
}

void QtTransferScreen::setModemLampsUnknown() {
  if (dsrShown_ == kUnknownLamp && ctsShown_ == kUnknownLamp) return;
  dsrShown_ = ctsShown_ = kUnknownLamp;
  host_.setModemLampsUnknown();
}

std::optional<std::string> QtTransferScreen::askSelectorNumber() {
  return selectorDialog_ ? selectorDialog_() : std::nullopt;
}

void QtTransferScreen::setScreenSaverEnabled(bool enabled) { host_.setScreenSaverEnabled(enabled); }

void QtTransferScreen::clearPromptLine() { host_.clearPromptLine(); }

void QtTransferScreen::showReceivePanel(const std::string& title) {
  host_.showTransferPanel(title, 24, 96, 650, "green", {.remainingLine = false, .list = true});
  host_.transferList()->clear();
}

void QtTransferScreen::hideTransferPanel() { host_.hideTransferPanel(); }

void QtTransferScreen::clearTransferView() { host_.transferView()->clear(); }

void QtTransferScreen::clearProgramList() { host_.transferList()->clear(); }

void QtTransferScreen::addProgramHeader(const std::string& header) {
  QListWidget* list = host_.transferList();
  list->addItem(QString::fromStdString(header));
  list->setCurrentRow(list->count() - 1);
}

void QtTransferScreen::setProgress(int value) { host_.setProgress(value, kReceiveProgressRange); }

} // namespace kestrovan::serial
