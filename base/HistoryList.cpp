#include "base/HistoryList.h"

#include "platform/Cp932.h"
#include "platform/FileReader.h"

#include <algorithm>
#include <string_view>

namespace kestrovan::base {

HistoryList HistoryList::load(const std::string& path) {
  HistoryList list;
  platform::FileReader file(path);
  if (!file.isOpen()) return list;
  // Read only as far as the list goes: a file grown to 100,000 lines or
  // holding a line of megabytes (edited by hand, or damaged) costs no more
  // than twenty entries do.
  std::string line;
  bool tooLong = false;
  auto endLine = [&] {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!tooLong && line.size() <= kLongestEntry) list.entries_.push_back(platform::cp932ToUtf8(line));
    line.clear();
    tooLong = false;
  };
  std::vector<char> buffer(64 * 1024);
  while (list.entries_.size() < kHistoryLimit) {
    const long long n = file.read(buffer.data(), buffer.size());
    if (n < 0) return HistoryList();
    if (n == 0) {
      if (!line.empty() || tooLong) endLine();
      break;
    }
    std::string_view piece(buffer.data(), static_cast<std::size_t>(n));
    while (!piece.empty() && list.entries_.size() < kHistoryLimit) {
      const std::size_t newline = piece.find('\n');
      const std::string_view part = piece.substr(0, newline);
      if (!tooLong) {
        line.append(part);
        // The CR of the CR LF may still follow.
        if (line.size() > kLongestEntry + 1) {
          tooLong = true;
          line.clear();
        }
      }
      if (newline == std::string_view::npos) break;
      endLine();
      piece.remove_prefix(newline + 1);
    }
  }
  if (list.entries_.size() > kHistoryLimit) list.entries_.resize(kHistoryLimit);
  return list;
}

platform::WriteResult HistoryList::save(const std::string& path) const {
  std::string text;
  for (const std::string& e : entries_)
    text += e + "\r\n";
  return platform::writeFileAtomically(path, platform::utf8ToCp932(text));
}

void HistoryList::add(const std::string& entry) {
  auto later = std::find(entries_.begin(), entries_.end(), entry);
  if (later != entries_.end()) entries_.erase(later);
  entries_.insert(entries_.begin(), entry);
  if (entries_.size() > kHistoryLimit) entries_.resize(kHistoryLimit);
}

} // namespace kestrovan::base
