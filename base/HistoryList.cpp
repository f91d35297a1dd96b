#include "base/HistoryList.h"

#include "platform/Cp932.h"
#include "platform/FileReader.h"

#include <algorithm>
#include <string_view>

namespace kestrovan::base {
namespace {

// A line that begins with this mark holds its entry as it is (UTF-8, or the
// bytes of a name that is no UTF-8), for an entry CP932 cannot hold exactly:
// a wave dash would come back as a full-width tilde, "café" as "caf?", and a
// path built from either names another folder.
constexpr std::string_view kAsIsMark = "\xEF\xBB\xBF";

std::string entryOfLine(std::string_view line) {
  if (line.substr(0, kAsIsMark.size()) == kAsIsMark) return std::string(line.substr(kAsIsMark.size()));
  return platform::cp932ToUtf8(line);
}

std::string lineOfEntry(const std::string& entry) {
  const platform::Cp932Encoding cp932 = platform::utf8ToCp932Exact(entry);
  if (cp932.complete() && platform::cp932ToUtf8(cp932.bytes) == entry) return cp932.bytes;
  return std::string(kAsIsMark) + entry;
}

} // namespace

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
    const std::size_t mark =
        std::string_view(line).substr(0, kAsIsMark.size()) == kAsIsMark ? kAsIsMark.size() : 0;
    if (!tooLong && line.size() <= kLongestEntry + mark) list.entries_.push_back(entryOfLine(line));
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
        if (line.size() > kLongestEntry + kAsIsMark.size() + 1) {
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
    text += lineOfEntry(e) + "\r\n";
  return platform::writeFileAtomically(path, text);
}

void HistoryList::add(const std::string& entry) {
  auto later = std::find(entries_.begin(), entries_.end(), entry);
  if (later != entries_.end()) entries_.erase(later);
  entries_.insert(entries_.begin(), entry);
  if (entries_.size() > kHistoryLimit) entries_.resize(kHistoryLimit);
}

} // namespace kestrovan::base
