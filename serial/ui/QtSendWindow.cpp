#include "serial/ui/QtSendWindow.h"

#include "host/Host.h"
#include "platform/Cp932.h"
#include "serial/ProgramFile.h"
#include "serial/SendTime.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTimer>

namespace kestrovan::serial {

QtSendWindow::QtSendWindow(host::Host& host) : host_(host), estimateTimer_(new QTimer(this)) {
  estimateTimer_->setInterval(10000);
  connect(estimateTimer_, &QTimer::timeout, this, [this] {
    if (worker_) worker_->tick();
  });
}

// One view line per program line as the send walks them, so that a line
// number means the same line in both. The bytes are shown as CP932 text; the
// program itself is never converted.
void QtSendWindow::showProgram(const ProgramFile& program) {
  std::string text;
  text.reserve(program.text.size());
  ProgramLines lines(program.text);
  ProgramLine line;
  bool first = true;
  while (lines.next(line)) {
    if (!first) text += '\n';
    text.append(line.text);
    first = false;
  }
  host_.transferView()->setPlainText(QString::fromStdString(platform::cp932ToUtf8(text)));
}

void QtSendWindow::clearProgram() {
  host_.transferView()->clear();
  sinceViewMoved_.invalidate();
}

void QtSendWindow::selectProgramLine(std::size_t index) {
  constexpr qint64 kViewIntervalMs = 40;
  if (sinceViewMoved_.isValid() && sinceViewMoved_.elapsed() < kViewIntervalMs) return;
  sinceViewMoved_.start();
  QPlainTextEdit* view = host_.transferView();
  QTextBlock block = view->document()->findBlockByNumber(static_cast<int>(index));
  if (!block.isValid()) return;
  QTextCursor cursor(block);
  cursor.select(QTextCursor::LineUnderCursor);
  view->setTextCursor(cursor);
  // The sent line second from the top, so the operator sees what came before.
  view->verticalScrollBar()->setValue(std::max(0, static_cast<int>(index) - 1));
}

void QtSendWindow::setRemainingLine(const std::string& text) {
  host_.remainingLine()->setText(QString::fromStdString(text));
}

void QtSendWindow::setProgress(std::int64_t value, std::int64_t maximum) {
  host_.setProgress(maximum > 0 ? static_cast<int>(std::min<std::int64_t>(1000, value * 1000 / maximum)) : 0,
                    1000);
}

void QtSendWindow::selectMarkedFile(std::size_t index) {
  host_.transferList()->setCurrentRow(static_cast<int>(index));
}

void QtSendWindow::hideTransferPanel() { host_.hideTransferPanel(); }

void QtSendWindow::startEstimateTimer(TSendTime& worker) {
  worker_ = &worker;
  estimateTimer_->start();
}

void QtSendWindow::stopEstimateTimer() {
  estimateTimer_->stop();
  worker_ = nullptr;
}

void QtSendWindow::screenSaverOff() { host_.setScreenSaverEnabled(false); }

void QtSendWindow::closeMainWindow() { host_.closeWindow(); }

} // namespace kestrovan::serial
