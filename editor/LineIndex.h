#pragma once
// Where each line of a program's bytes begins, so that a view can show any
// line of a 100 MB program or any part of a 5 MB line without decoding or
// copying the rest. The index is built in pieces (scan), so that the event
// loop keeps running while a long program is indexed; the lines found so far
// can be shown meanwhile, the last of them possibly not yet complete.
//
// Line ends are those of the file loader: a line feed with any carriage
// returns right before it, or a carriage return on its own. Text that ends
// with a line end has no empty line after it; empty text is one empty line.
// The index holds offsets only: the bytes stay with their owner, and may
// still be coming in (extend) while the lines read so far are indexed.

#include <cstddef>
#include <string_view>
#include <vector>

namespace kestrovan::editor {

class LineIndex {
public:
  LineIndex() = default;
  // All of the program's text.
  explicit LineIndex(std::string_view text);

  // The text read so far, which begins with what the index had before (it
  // may have moved); `whole` once nothing more will come.
  void extend(std::string_view text, bool whole);

  // Indexes about `bytes` more of the text (at least up to the next byte
  // that is no line end); true once all of it is indexed.
  bool scan(std::size_t bytes);
  bool complete() const { return whole_ && pos_ >= text_.size(); }
  std::size_t indexedBytes() const { return pos_; }

  // The lines found so far (at least one).
  std::size_t lineCount() const { return count_; }
  // The bytes of line `i` without its line end; of the last line found
  // while the index is incomplete, the part indexed so far.
  std::string_view line(std::size_t i) const;
  // Where line `i` begins in the text.
  std::size_t lineStart(std::size_t i) const { return chunks_[i / kChunk][i % kChunk]; }
  // The length in bytes of the longest line found so far.
  std::size_t longestLine() const;

private:
  void push(std::size_t start);
  std::size_t lastStart() const { return lineStart(count_ - 1); }

  // The line starts in chunks of a fixed size: a growing index is never
  // copied whole (a copy of 40 MB stalled the window for half a second).
  static constexpr std::size_t kChunk = 64 * 1024;
  std::string_view text_;
  std::vector<std::vector<std::size_t>> chunks_{{0}};
  std::size_t count_ = 1;
  std::size_t pos_ = 0;
  std::size_t longest_ = 0;
  bool lastEnded_ = false; // the line begun at lastStart() has ended
  bool whole_ = true;
};

} // namespace kestrovan::editor
