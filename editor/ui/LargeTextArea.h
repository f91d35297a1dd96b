#pragma once
// The editor's text area for programs too large for a text document (a
// 100 MB program, a 5 MB line): drawn from a piece table as the file view
// draws a program, only the lines and columns in view decoded, one column a
// byte. The file is read and indexed piece by piece from the event loop, the
// window alive meanwhile; edits wait for the whole.
//
// Keys: the arrows, Home/End, PageUp/PageDown (Ctrl for the whole text,
// Shift to select); typing (insert or overwrite), Backspace, Delete, Enter (a
// CR LF line end); Ctrl+A, cut (Ctrl+X, Shift+Delete), copy (Ctrl+C,
// Ctrl+Insert), paste (Ctrl+V, Shift+Insert), undo (Ctrl+Z), redo (Ctrl+Y).
// Other keys go on to the parent. Text that CP932 cannot hold is refused
// and told, with nothing changed.

#include "editor/PieceTable.h"
#include "editor/ProgramBytes.h"

#include "editor/ui/CellGridArea.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace kestrovan::editor {

class LargeTextArea : public CellGridArea {
public:
  explicit LargeTextArea(QWidget* parent = nullptr);

  // Shows the program from its first line; the first piece is read at once,
  // the rest from the event loop.
  void open(ProgramBytes bytes);
  void clear();
  // Reads and indexes the rest at once (before a save).
  void finishLoading();
  bool loaded() const { return table_->indexed(); }

  PieceTable& table() { return *table_; }
  const PieceTable& table() const { return *table_; }

  void setOverwrite(bool on);
  bool overwrite() const { return overwrite_; }

  // Byte offsets in the text.
  std::size_t caret() const { return caret_; }
  std::size_t anchor() const { return anchor_; }
  bool hasSelection() const { return caret_ != anchor_; }
  void select(std::size_t from, std::size_t to); // the caret at `to`
  QString selectedText() const;

  void undo();
  void redo();
  void cut();
  void copy() const;
  void paste();
  void eraseSelection();
  void selectAll();
  // Types UTF-8 text at the caret (over the selection), as a keyboard does.
  void typeText(const QString& text);

  // What the area tells its owner.
  std::function<void()> changed;               // the text or its modified state
  std::function<void()> caretMoved;            // the caret or the selection
  std::function<void()> loadedWhole;           // the last piece is in
  std::function<void(const QString&)> refused; // an edit that was not made, and why

  // One pass of the reading and indexing takes this many bytes.
  static constexpr std::size_t kFirstPiece = 256 * 1024;
  static constexpr std::size_t kPiece = 1024 * 1024;

protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  bool event(QEvent* event) override;
  void updateScrollBars() override;

private:
  void loadMore();
  std::size_t lineOfCaret() const { return table_->lineOf(caret_); }
  std::size_t columnOf(std::size_t offset) const;
  std::size_t offsetAt(std::size_t line, std::size_t column) const;
  std::size_t offsetAt(const QPoint& point) const;
  void moveCaret(std::size_t to, bool select);
  void ensureCaretVisible();
  // Replaces the selection (or, overwriting, the character at the caret)
  // with CP932 bytes; the caret after them.
  bool replaceSelection(const std::string& bytes, bool overwriting);
  void edited(std::size_t caret);
  void refuse(const QString& why);

  std::unique_ptr<PieceTable> table_;
  bool overwrite_ = false;
  bool scheduled_ = false;
  int generation_ = 0;
  std::size_t caret_ = 0;
  std::size_t anchor_ = 0;
  std::size_t wantedColumn_ = 0;
  std::size_t widest_ = 0; // the longest line seen, for the scroll bar
};

} // namespace kestrovan::editor
