#include "editor/LineIndex.h"

#include <algorithm>

namespace kestrovan::editor {

LineIndex::LineIndex(std::string_view text) : text_(text) {}

void LineIndex::extend(std::string_view text, bool whole) {
  text_ = text;
  whole_ = whole;
}

void LineIndex::push(std::size_t start) {
  if (chunks_.back().size() == kChunk) {
    chunks_.emplace_back();
    chunks_.back().reserve(kChunk);
  }
  chunks_.back().push_back(start);
  ++count_;
}

bool LineIndex::scan(std::size_t bytes) {
  const char* const data = text_.data();
  const std::size_t size = text_.size();
  const std::size_t stop = bytes >= size - pos_ ? size : pos_ + bytes;
  std::size_t p = pos_;
  // A plain loop: line ends are rare among the bytes.
  while (p < stop) {
    const char c = data[p];
    if (c != '\n' && c != '\r') {
      ++p;
      continue;
    }
    std::size_t after = p + 1;
    if (c == '\r') {
      // Carriage returns right before a line feed belong to its line end.
      std::size_t q = p;
      while (q < size && data[q] == '\r')
        ++q;
      // Whether a line feed follows is for the text still to come to say.
      if (q == size && !whole_) break;
      if (q < size && data[q] == '\n') after = q + 1;
    }
    longest_ = std::max(longest_, p - lastStart());
    // A line end at the very end of the text begins no further line; while
    // more may come, the next line begins there for now.
    if (after < size || !whole_)
      push(after);
    else
      lastEnded_ = true;
    p = after;
  }
  pos_ = p;
  if (complete()) {
    if (count_ > 1 && lastStart() == size && size > 0) {
      chunks_.back().pop_back();
      if (chunks_.back().empty()) chunks_.pop_back();
      --count_;
      lastEnded_ = true;
    }
    if (!lastEnded_) longest_ = std::max(longest_, size - lastStart());
  }
  return complete();
}

std::string_view LineIndex::line(std::size_t i) const {
  const std::size_t start = lineStart(i);
  std::size_t end = i + 1 < count_ ? lineStart(i + 1) : pos_;
  // The text of a line holds no line end, so what ends the range is its own.
  while (end > start && (text_[end - 1] == '\n' || text_[end - 1] == '\r'))
    --end;
  return text_.substr(start, end - start);
}

std::size_t LineIndex::longestLine() const {
  if (complete() || lastEnded_) return longest_;
  return std::max(longest_, pos_ - lastStart());
}

} // namespace kestrovan::editor
