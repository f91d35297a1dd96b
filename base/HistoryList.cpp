#include "base/HistoryList.h"

#include "platform/Cp932.h"

#include <algorithm>

namespace kestrovan::base {

HistoryList HistoryList::load(const std::string& path) {
  const platform::FileContents read = platform::readWholeFile(path);
  HistoryList list;
  if (!read.ok) return list;
  const std::string text = platform::cp932ToUtf8(read.bytes);
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    list.entries_.push_back(std::move(line));
    start = end + 1;
  }
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
