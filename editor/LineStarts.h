#pragma once
// The offsets at which lines begin in an edited text (each one right after a
// line end), kept current through edits without walking all of them: they are
// held in chunks, each with an amount added to all of its offsets, so that an
// edit near the beginning of a 100 MB program moves the offsets after it by
// changing one number a chunk.

#include <cstddef>
#include <utility>
#include <vector>

namespace kestrovan::editor {

class LineStarts {
public:
  void clear();
  // Adds an offset above all those held (while the text is first indexed).
  void append(std::size_t offset);

  std::size_t count() const { return count_; }
  // The `i`th offset, from the lowest.
  std::size_t at(std::size_t i) const;
  // How many offsets are at or below `offset`.
  std::size_t countUpTo(std::size_t offset) const;
  std::size_t last() const { return at(count_ - 1); }

  // An edit: the offsets in [from, to] go, those above `to` move by `delta`,
  // and `fresh` (ascending, all of them above the offsets below `from` and
  // below the moved ones) come in.
  void replace(std::size_t from, std::size_t to, std::ptrdiff_t delta, const std::vector<std::size_t>& fresh);

private:
  struct Chunk {
    std::vector<std::size_t> offsets; // plus `shift` each
    std::size_t shift = 0;            // modulo arithmetic: may stand for a negative amount
    std::size_t value(std::size_t k) const { return offsets[k] + shift; }
  };
  // The chunk holding the `i`th offset and the index in it.
  std::pair<std::size_t, std::size_t> locate(std::size_t i) const;
  void renumber();

  static constexpr std::size_t kChunk = 4096;
  std::vector<Chunk> chunks_;
  std::vector<std::size_t> firstIndex_; // of each chunk's first offset
  std::size_t count_ = 0;
};

} // namespace kestrovan::editor
