#include "editor/LineStarts.h"

#include <algorithm>
#include <tuple>

namespace kestrovan::editor {

void LineStarts::clear() {
  chunks_.clear();
  firstIndex_.clear();
  count_ = 0;
}

void LineStarts::append(std::size_t offset) {
  if (chunks_.empty() || chunks_.back().offsets.size() >= kChunk) {
    firstIndex_.push_back(count_);
    chunks_.emplace_back();
    chunks_.back().offsets.reserve(kChunk);
  }
  Chunk& chunk = chunks_.back();
  chunk.offsets.push_back(offset - chunk.shift);
  ++count_;
}

std::pair<std::size_t, std::size_t> LineStarts::locate(std::size_t i) const {
  const auto it = std::upper_bound(firstIndex_.begin(), firstIndex_.end(), i);
  const auto c = static_cast<std::size_t>(it - firstIndex_.begin()) - 1;
  return {c, i - firstIndex_[c]};
}

std::size_t LineStarts::at(std::size_t i) const {
  const auto [c, k] = locate(i);
  return chunks_[c].value(k);
}

std::size_t LineStarts::countUpTo(std::size_t offset) const {
  // The first chunk whose first offset lies above `offset`; the count ends in
  // the chunk before it.
  std::size_t lo = 0, hi = chunks_.size();
  while (lo < hi) {
    const std::size_t mid = (lo + hi) / 2;
    if (chunks_[mid].value(0) <= offset)
      lo = mid + 1;
    else
      hi = mid;
  }
  if (lo == 0) return 0;
  const Chunk& chunk = chunks_[lo - 1];
  std::size_t a = 0, b = chunk.offsets.size();
  while (a < b) {
    const std::size_t mid = (a + b) / 2;
    if (chunk.value(mid) <= offset)
      a = mid + 1;
    else
      b = mid;
  }
  return firstIndex_[lo - 1] + a;
}

void LineStarts::replace(std::size_t from, std::size_t to, std::ptrdiff_t delta,
                         const std::vector<std::size_t>& fresh) {
  const std::size_t first = from == 0 ? 0 : countUpTo(from - 1); // the first that goes
  const std::size_t end = countUpTo(to);                         // the first that stays above
  const auto step = static_cast<std::size_t>(delta);

  if (chunks_.empty()) {
    for (std::size_t offset : fresh)
      append(offset);
    return;
  }
  // Where the removal begins; at the very end, after the last chunk's last.
  std::size_t c = 0, k = 0;
  if (first < count_) {
    std::tie(c, k) = locate(first);
  } else {
    c = chunks_.size() - 1;
    k = chunks_[c].offsets.size();
  }
  // Take out what goes, chunk by chunk from `c`.
  std::size_t toRemove = end - first;
  std::size_t d = c, dk = k;
  while (toRemove > 0) {
    Chunk& chunk = chunks_[d];
    const std::size_t n = std::min(toRemove, chunk.offsets.size() - dk);
    chunk.offsets.erase(chunk.offsets.begin() + static_cast<std::ptrdiff_t>(dk),
                        chunk.offsets.begin() + static_cast<std::ptrdiff_t>(dk + n));
    toRemove -= n;
    if (toRemove > 0) {
      ++d;
      dk = 0;
    }
  }
  // Those above move: the rest of chunk `d` one by one, the chunks after it
  // by their shift.
  for (std::size_t j = dk; j < chunks_[d].offsets.size(); ++j)
    chunks_[d].offsets[j] += step;
  for (std::size_t j = d + 1; j < chunks_.size(); ++j)
    chunks_[j].shift += step;
  // The removal left chunk `c` from `k` on (when c < d, the chunks between
  // are empty now, and chunk `d` holds only what stays from its beginning).
  if (c < d) {
    // Bring what is left of chunk `d` into `c`, so that `c` ends where the
    // fresh offsets go.
    Chunk& into = chunks_[c];
    for (std::size_t j = 0; j < chunks_[d].offsets.size(); ++j)
      into.offsets.push_back(chunks_[d].value(j) - into.shift);
    chunks_[d].offsets.clear();
  }
  Chunk& into = chunks_[c];
  std::vector<std::size_t> local;
  local.reserve(fresh.size());
  for (std::size_t offset : fresh)
    local.push_back(offset - into.shift);
  into.offsets.insert(into.offsets.begin() + static_cast<std::ptrdiff_t>(k), local.begin(), local.end());
  // Split chunks grown too large, drop the empty ones.
  std::vector<Chunk> chunks;
  chunks.reserve(chunks_.size());
  for (Chunk& chunk : chunks_) {
    if (chunk.offsets.empty()) continue;
    if (chunk.offsets.size() <= 2 * kChunk) {
      chunks.push_back(std::move(chunk));
      continue;
    }
    for (std::size_t j = 0; j < chunk.offsets.size(); j += kChunk) {
      Chunk part;
      part.shift = chunk.shift;
      const std::size_t e = std::min(chunk.offsets.size(), j + kChunk);
      part.offsets.assign(chunk.offsets.begin() + static_cast<std::ptrdiff_t>(j),
                          chunk.offsets.begin() + static_cast<std::ptrdiff_t>(e));
      chunks.push_back(std::move(part));
    }
  }
  chunks_ = std::move(chunks);
  renumber();
}

void LineStarts::renumber() {
  firstIndex_.resize(chunks_.size());
  count_ = 0;
  for (std::size_t j = 0; j < chunks_.size(); ++j) {
    firstIndex_[j] = count_;
    count_ += chunks_[j].offsets.size();
  }
}

} // namespace kestrovan::editor
