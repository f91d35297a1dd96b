#include "files/FileSort.h"

#include <algorithm>

namespace kestrovan::files {
namespace {

// Primary weight of one byte: symbols, then digits, then letters (folded),
// then the bytes of non-ASCII characters in code point order.
int primaryWeight(unsigned char c) {
  if (c >= '0' && c <= '9') return 0x100 + c;
  if (c >= 'a' && c <= 'z') return 0x200 + (c - 'a' + 'A');
  if (c >= 'A' && c <= 'Z') return 0x200 + c;
  if (c >= 0x80) return 0x300 + c;
  return c;
}

bool isLower(unsigned char c) { return c >= 'a' && c <= 'z'; }

int sign(long long v) { return (v > 0) - (v < 0); }

} // namespace

SortKey sortKeyFromSetting(std::string_view fileSort) {
  if (fileSort == "S") return SortKey::Size;
  if (fileSort == "T") return SortKey::Date;
  return SortKey::Name;
}

SortDirection sortDirectionFromSetting(std::string_view sortMuki) {
  return sortMuki == "U" ? SortDirection::U : SortDirection::D;
}

int compareNames(std::string_view a, std::string_view b) {
  if (a == b) return 0; // common for date texts; saves both passes
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const int wa = primaryWeight(static_cast<unsigned char>(a[i]));
    const int wb = primaryWeight(static_cast<unsigned char>(b[i]));
    if (wa != wb) return wa < wb ? -1 : 1;
  }
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  // Same letters: the first difference in case decides, lower case first.
  for (std::size_t i = 0; i < n; ++i) {
    if (a[i] == b[i]) continue;
    return isLower(static_cast<unsigned char>(a[i])) ? -1 : 1;
  }
  return 0;
}

int compareFileEntries(const FileEntry& a, const FileEntry& b, SortKey key, SortDirection dir) {
  const bool up = dir == SortDirection::U;
  switch (key) {
  case SortKey::Size:
    // Full 64-bit sizes: a 4 GiB file must not sort as a small one.
    if (a.size == b.size) return 0;
    return (a.size > b.size) != up ? -1 : 1;
  case SortKey::Date:
    return sign(up ? compareNames(b.dateText, a.dateText) : compareNames(a.dateText, b.dateText));
  case SortKey::Name:
  default: return sign(up ? compareNames(b.name, a.name) : compareNames(a.name, b.name));
  }
}

void sortFileEntries(std::vector<FileEntry>& files, SortKey key, SortDirection dir) {
  std::stable_sort(files.begin(), files.end(), [key, dir](const FileEntry& a, const FileEntry& b) {
    return compareFileEntries(a, b, key, dir) < 0;
  });
}

} // namespace kestrovan::files
