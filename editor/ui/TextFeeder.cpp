#include "editor/ui/TextFeeder.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

namespace kestrovan::editor {

TextFeeder::TextFeeder(QPlainTextEdit* view) : QObject(view), view_(view) {}

void TextFeeder::start(QString text, std::function<void()> done) {
  abandon();
  text_ = std::move(text);
  next_ = 0;
  done_ = std::move(done);
  wasReadOnly_ = view_->isReadOnly();
  QTextDocument* document = view_->document();
  document->setUndoRedoEnabled(false);
  view_->clear();
  if (text_.size() > kFirstPiece) {
    view_->setReadOnly(true);
    // The caret still moves and selects by keys meanwhile.
    view_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  }
  feedOne(kFirstPiece);
  view_->moveCursor(QTextCursor::Start);
  if (feeding())
    schedule();
  else
    finish();
}

void TextFeeder::finish() {
  while (feeding())
    feedOne(text_.size());
  if (!done_) return;
  text_.clear();
  next_ = 0;
  view_->setReadOnly(wasReadOnly_);
  view_->document()->setUndoRedoEnabled(true);
  std::function<void()> done = std::move(done_);
  done_ = nullptr;
  done();
}

void TextFeeder::abandon() {
  next_ = text_.size();
  finish();
}

// The next piece, up to `size` characters and on to the end of its line.
void TextFeeder::feedOne(qsizetype size) {
  qsizetype end = next_ + size;
  if (end >= text_.size()) {
    end = text_.size();
  } else {
    const qsizetype newline = text_.indexOf(QLatin1Char('\n'), end);
    end = newline < 0 ? text_.size() : newline + 1;
  }
  QTextCursor cursor(view_->document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(text_.mid(next_, end - next_));
  view_->document()->setModified(false); // text being read is no change
  next_ = end;
}

void TextFeeder::schedule() {
  if (scheduled_) return;
  scheduled_ = true;
  QTimer::singleShot(0, this, [this] {
    scheduled_ = false;
    if (!feeding()) return;
    feedOne(kPiece);
    if (feeding())
      schedule();
    else
      finish();
  });
}

} // namespace kestrovan::editor
