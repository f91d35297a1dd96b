#pragma once
// A read-only view of a program's bytes, drawn from a line index: only the
// lines in view are decoded from CP932 and drawn, and of a very long line
// only its columns in view, so that a 100 MB program or a 5 MB line shows at
// once. The index is built in pieces from the event loop, the window alive
// and its keys working meanwhile. One column a byte, as on a text screen.
//
// The caret moves and selects by the arrows, Home/End, PageUp/PageDown (with
// Ctrl for the whole text, with Shift to select) and the mouse; Ctrl+A
// selects all, Ctrl+C and Ctrl+Insert copy. Other keys go on to the parent.

#include "editor/LineIndex.h"
#include "editor/ProgramBytes.h"

#include "editor/ui/CellGridArea.h"

#include <cstddef>
#include <string>

namespace kestrovan::editor {

class ProgramView : public CellGridArea {
public:
  explicit ProgramView(QWidget* parent = nullptr);

  // Shows the program from its first line; the view keeps its bytes. The
  // first piece is read and indexed at once, the rest from the event loop.
  void setProgram(ProgramBytes bytes);
  // Drops the program and what is left to index.
  void clear();
  void setNcColouring(bool on);
  bool ncColouring() const { return colouring_; }

  bool indexed() const { return index_.complete(); }
  std::size_t lineCount() const { return index_.lineCount(); }
  // Line `i` decoded (for tests and copying; the view itself decodes only
  // what it draws).
  QString lineText(std::size_t i) const;
  const std::string& bytes() const { return source_.text(); }

  struct Position {
    std::size_t line = 0;
    std::size_t column = 0; // a byte of the line where a character begins
    auto operator<=>(const Position&) const = default;
  };
  Position caret() const { return caret_; }
  QString selectedText() const;
  // Characters decoded for drawing since the program was set.
  std::size_t decodedCharacters() const { return decoded_; }

  // One pass of the reading and indexing takes this many bytes.
  static constexpr std::size_t kFirstPiece = 256 * 1024;
  static constexpr std::size_t kPiece = 1024 * 1024;
  // A longer line is data rather than a program block: it stays plain.
  static constexpr std::size_t kLongestColoured = 4096;

protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void updateScrollBars() override;

private:
  void indexMore();
  std::size_t lineLength(std::size_t line) const { return index_.line(line).size(); }
  void moveCaret(Position to, bool select);
  void ensureCaretVisible();
  Position positionAt(const QPoint& point) const;
  std::size_t columnLeftOf(const Position& p) const;
  std::size_t columnRightOf(const Position& p) const;
  std::size_t snap(std::size_t line, std::size_t column) const;
  void copy() const;

  ProgramBytes source_;
  LineIndex index_;
  bool colouring_ = false;
  bool scheduled_ = false;
  int generation_ = 0; // a new program drops the passes scheduled for the one before
  Position caret_;
  Position anchor_;
  std::size_t wantedColumn_ = 0;
  mutable std::size_t decoded_ = 0;
};

} // namespace kestrovan::editor
