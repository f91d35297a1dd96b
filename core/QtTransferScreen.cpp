#include "core/QtTransferScreen.h"

#include "base/Dialogs.h"
#include "core/AutoForm.h"
#include "core/MainForm.h"
#include "core/ScreenSaverControl.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTimer>

namespace kestrovan::core {

QtTransferScreen::QtTransferScreen(TForm1& form, base::Dialogs& dialogs) : form_(form), dialogs_(dialogs) {
  qApp->installEventFilter(this);
  selectorDialog_ = [this] {
    TAutoForm dialog(&form_, dialogs_);
    return dialog.ask();
  };
}

QtTransferScreen::~QtTransferScreen() { qApp->removeEventFilter(this); }

void QtTransferScreen::beginTransfer() {
  running_ = true;
  dsrShown_ = ctsShown_ = -1;
  sinceEvents_.invalidate();
  keyDown_ = false;
  pressedSince_ = false;
}

void QtTransferScreen::endTransfer() {
  running_ = false;
  releaseStopKeys();
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
  form_.setStatusPanel(index, text);
}

void QtTransferScreen::showMessageLine(const std::string& text, serial::MessageColour colour) {
  form_.showMessage(text, colour == serial::MessageColour::Red ? kRed : kLime);
}

void QtTransferScreen::addTransferLine(const std::string& line) {
  form_.screen().RichEdit1->appendPlainText(QString::fromStdString(line));
}

bool QtTransferScreen::askYesNo(const std::string& text) {
  return dialogs_.show({"警告", text, base::MessageButtons::YesNo, base::MessageIcon::Warning}) ==
         base::MessageAnswer::Yes;
}

bool QtTransferScreen::stopKeyDown(serial::StopKeyPoll poll) {
  const bool down = keyDown_ || (poll == serial::StopKeyPoll::DownOrPressedSinceLastPoll && pressedSince_);
  pressedSince_ = false;
  return down;
}

bool QtTransferScreen::stopKeyPending() { return keyDown_ || pressedSince_; }

void QtTransferScreen::requestStop() {
  if (!running_) return;
  keyDown_ = true;
  pressedSince_ = true;
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
  form_.screen().LampDSR->setStyleSheet(QString("color: %1; background: #202020;").arg(on ? "blue" : "red"));
}

void QtTransferScreen::setCtsLamp(bool on) { form_.screen().LampCTS->setText(on ? "CTS ●" : "CTS ○"); }

std::optional<std::string> QtTransferScreen::askSelectorNumber() {
  return selectorDialog_ ? selectorDialog_() : std::nullopt;
}

void QtTransferScreen::setScreenSaverEnabled(bool enabled) { form_.screenSaver().setEnabled(enabled); }

void QtTransferScreen::clearPromptLine() {
  form_.screen().Edit1->clear();
  form_.screen().Edit1->setEnabled(false);
}

void QtTransferScreen::showReceivePanel(const std::string& title) {
  form_.showTransferPanel(title, 24, 96, 650, "green", {.remainingLine = false, .list = true});
  form_.screen().transferFiles->clear();
}

void QtTransferScreen::hideTransferPanel() { form_.hideTransferPanel(); }

void QtTransferScreen::clearTransferView() { form_.screen().RichEdit1->clear(); }

void QtTransferScreen::clearProgramList() { form_.screen().transferFiles->clear(); }

void QtTransferScreen::addProgramHeader(const std::string& header) {
  QListWidget* list = form_.screen().transferFiles;
  list->addItem(QString::fromStdString(header));
  list->setCurrentRow(list->count() - 1);
}

void QtTransferScreen::setProgress(int value) {
  QProgressBar* bar = form_.screen().progressBar;
  bar->setRange(0, serial::kReceiveProgressRange);
  bar->setValue(value);
}

} // namespace kestrovan::core
