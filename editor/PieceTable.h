#pragma once
// A program's bytes as an editor changes them: the bytes read from the file
// stay as they are, typed and pasted bytes go to a buffer that only grows, and
// the text is the list of pieces of either that make it up. An edit of a
// 100 MB program costs no copy of it, undo and redo only put pieces back, and
// a save writes the pieces one after the other, so that what was not edited
// goes back to the disk byte for byte (line ends included).
//
// Offsets are byte offsets. An edit must leave every character whole: it is
// refused when it would begin or end inside a two-byte CP932 character, or
// join a byte before it with one after it into a character. The lines are
// those of the file loader (a line feed with any carriage returns right before
// it, or a carriage return on its own) and are kept current through edits.

#include "editor/LineStarts.h"
#include "editor/ProgramBytes.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrovan::editor {

class PieceTable {
public:
  // Text that is all there: its lines are indexed at once, or, with
  // `indexNow` false, piece by piece by indexMore (edits wait for that).
  explicit PieceTable(std::string original = {}, bool indexNow = true);
  // A program read from its file piece by piece by indexMore, as the file
  // loader reads it (up to the first NUL byte).
  explicit PieceTable(ProgramBytes source);

  // Reads and indexes about `bytes` more of the original; true once all of
  // it is in and indexed. The lines read so far can be shown meanwhile.
  bool indexMore(std::size_t bytes);
  bool indexed() const { return source_.done() && indexed_ >= original().size(); }
  // Whether the file held more than was read: the bytes from a NUL on, which
  // a save would not write back.
  bool cutShort() const { return source_.done() && original().size() < source_.size(); }

  std::size_t size() const { return size_; }
  // The bytes in [from, from + length) (clipped at the end).
  std::string bytes(std::size_t from, std::size_t length) const;
  std::string text() const { return bytes(0, size_); }
  unsigned char byteAt(std::size_t offset) const;
  // The pieces of the text in order, for writing it out.
  std::vector<std::string_view> pieces() const;

  // Lines (at least one; text ending in a line end has no empty line after
  // it). While the original is still being indexed, the lines found so far.
  std::size_t lineCount() const;
  std::size_t lineStart(std::size_t line) const;
  // Where the line's own bytes end (before its line end).
  std::size_t lineEnd(std::size_t line) const;
  std::size_t lineLength(std::size_t line) const { return lineEnd(line) - lineStart(line); }
  // The line that holds `offset` (the last line for the end of the text; a
  // line end belongs to the line it ends).
  std::size_t lineOf(std::size_t offset) const;

  // Whether a character begins (or the text ends) at `offset`.
  bool isCharacterBoundary(std::size_t offset) const;
  // The beginning of the character that holds `offset`, and the beginning of
  // the one after it.
  std::size_t characterStart(std::size_t offset) const;
  std::size_t characterEnd(std::size_t offset) const;

  // Replaces `length` bytes at `offset` with `bytes`, as one step of undo;
  // false (nothing changed) when the edit would split or join characters, lies
  // outside the text, or the original is not indexed yet. Typing (one insert
  // right after the one before) joins the step before.
  bool replace(std::size_t offset, std::size_t length, std::string_view bytes);
  bool insert(std::size_t offset, std::string_view bytes) { return replace(offset, 0, bytes); }
  bool erase(std::size_t offset, std::size_t length) { return replace(offset, length, {}); }
  // Ends the step that typing would join.
  void closeStep() { joinable_ = false; }

  bool canUndo() const { return !undo_.empty(); }
  bool canRedo() const { return !redo_.empty(); }
  // Undo and redo give where the text changed: its offset and the length of
  // what is there now.
  struct Change {
    std::size_t offset = 0;
    std::size_t length = 0;
  };
  bool undo(Change* change = nullptr);
  bool redo(Change* change = nullptr);

  // Whether the text differs (by its steps) from the one last saved.
  bool modified() const { return savedDepth_ != static_cast<std::ptrdiff_t>(undo_.size()); }
  void markSaved();

  std::size_t pieceCount() const { return pieces_.size(); }
  // The longest line of the original in bytes (line end included), of what
  // is indexed so far.
  std::size_t longestOriginalLine() const { return longest_; }

private:
  enum class Source : std::uint8_t { Original, Added };
  struct Piece {
    Source source = Source::Original;
    std::size_t start = 0;
    std::size_t length = 0;
  };
  struct Step {
    std::size_t offset = 0;
    std::vector<Piece> removed;
    std::vector<Piece> inserted;
  };

  std::string_view view(const Piece& piece) const;
  static std::size_t lengthOf(const std::vector<Piece>& pieces);
  // The piece that holds `offset` (pieces_.size() at the end).
  std::size_t pieceAt(std::size_t offset) const;
  // Makes a piece begin at `offset`; gives its index.
  std::size_t splitAt(std::size_t offset);
  // Swaps `length` bytes at `offset` for `inserted`; gives what was there.
  std::vector<Piece> swap(std::size_t offset, std::size_t length, const std::vector<Piece>& inserted);
  void renumber();
  // Whether byte `p` ends a line.
  bool endsLine(std::size_t p) const;
  bool tryJoin(std::size_t offset, std::string_view bytes);

  const std::string& original() const { return source_.text(); }
  // The original's piece follows it while it is read.
  void followSource();

  ProgramBytes source_;
  std::string added_;
  std::vector<Piece> pieces_;
  std::vector<std::size_t> pieceStart_; // offset of each piece in the text
  std::size_t size_ = 0;
  LineStarts starts_;
  std::size_t indexed_ = 0;
  std::size_t longest_ = 0;
  std::vector<Step> undo_;
  std::vector<Step> redo_;
  std::ptrdiff_t savedDepth_ = 0; // -1: the saved text is no longer reachable
  bool joinable_ = false;
};

} // namespace kestrovan::editor
