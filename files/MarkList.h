#pragma once
// The marked file rows, in the order they were marked. Operations on marked
// files (send, join, rename) take them in that order, so it is kept through
// unmarking (a freed slot holds -1) and through compaction.

#include <array>
#include <vector>

namespace kestrovan::files {

class MarkList {
public:
  static constexpr int kCapacity = 100;

  MarkList() { clear(); }

  int count() const { return count_; }
  bool full() const { return count_ >= kCapacity; }

  // Stores the row in the first free slot. Refused (false) when full.
  bool add(int row);
  // Frees every slot that holds the row; the count goes down by one.
  void remove(int row);
  bool contains(int row) const;
  // Count 0, every slot free.
  void clear();
  // Moves the marked rows to the front in their order; free slots follow.
  void compact();
  // The marked rows in marking order (the compacted list).
  std::vector<int> rows() const;
  const std::array<int, kCapacity>& slots() const { return slots_; }

private:
  std::array<int, kCapacity> slots_{};
  int count_ = 0;
};

} // namespace kestrovan::files
