#include "files/MarkList.h"

#include <algorithm>

namespace kestrovan::files {

bool MarkList::add(int row) {
  if (full()) return false;
  const auto free = std::find(slots_.begin(), slots_.end(), -1);
  if (free == slots_.end()) return false;
  *free = row;
  ++count_;
  return true;
}

void MarkList::remove(int row) {
  if (!contains(row)) return;
  std::replace(slots_.begin(), slots_.end(), row, -1);
  --count_;
}

bool MarkList::contains(int row) const {
  return row >= 0 && std::find(slots_.begin(), slots_.end(), row) != slots_.end();
}

void MarkList::clear() {
  slots_.fill(-1);
  count_ = 0;
}

void MarkList::compact() {
  const auto end = std::stable_partition(slots_.begin(), slots_.end(), [](int r) { return r >= 0; });
  std::fill(end, slots_.end(), -1);
}

std::vector<int> MarkList::rows() const {
  std::vector<int> out;
  for (int r : slots_)
    if (r >= 0) out.push_back(r);
  return out;
}

} // namespace kestrovan::files
