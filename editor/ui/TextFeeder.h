#pragma once
// Puts a long text into a text view piece by piece, so that the first lines
// show at once and the window stays alive while a 20 MB program goes in: the
// first piece at once, each further one from the event loop. Every piece ends
// at a line end. The view is read-only and its undo off until the last piece
// is in; finish() puts the rest in at once, for whatever needs the whole text.

#include <QObject>
#include <QString>

#include <functional>

class QPlainTextEdit;

namespace kestrovan::editor {

class TextFeeder : public QObject {
public:
  explicit TextFeeder(QPlainTextEdit* view);

  // Replaces the view's text by `text`; `done` runs once it is all in.
  void start(QString text, std::function<void()> done);
  // Puts in what is left now (nothing when all is in).
  void finish();
  // Drops what is left (the text is about to be replaced).
  void abandon();
  bool feeding() const { return next_ < text_.size(); }

  static constexpr qsizetype kFirstPiece = 64 * 1024;
  static constexpr qsizetype kPiece = 512 * 1024;

private:
  void feedOne(qsizetype size);
  void schedule();

  QPlainTextEdit* view_;
  QString text_;
  qsizetype next_ = 0;
  std::function<void()> done_;
  bool wasReadOnly_ = false;
  bool scheduled_ = false;
};

} // namespace kestrovan::editor
