#pragma once
// The history lists of the dialogs that remember what was typed: Path.lst
// (destination folders of copy, move and split), FIND.LST (names of the name
// filter) and NAME.lst (names of the join). One format for all three: a
// CP932 text file in the program folder, one entry per line ended by CR LF,
// the most recently used first, at most 20 after an accepted entry. An entry
// CP932 cannot hold exactly (a wave dash, "é", a name that is bytes of no
// UTF-8) is written as it is behind a UTF-8 byte order mark, so that it comes
// back unchanged.

#include "platform/AtomicFile.h"

#include <string>
#include <vector>

namespace kestrovan::base {

inline constexpr std::size_t kHistoryLimit = 20;
// The longest entry read from a file, in bytes: the longest path there is.
inline constexpr std::size_t kLongestEntry = 4095;
inline constexpr const char* kPathHistoryFile = "Path.lst";
inline constexpr const char* kFindHistoryFile = "FIND.LST";
inline constexpr const char* kNameHistoryFile = "NAME.lst";

class HistoryList {
public:
  HistoryList() = default;
  explicit HistoryList(std::vector<std::string> entries) : entries_(std::move(entries)) {}

  // The file's first 20 lines (UTF-8) when it exists; an empty list when it
  // does not or cannot be read. A last line without its CR LF counts; an
  // empty last line after the final CR LF does not; a line longer than
  // kLongestEntry bytes is skipped.
  static HistoryList load(const std::string& path);
  // Writes the whole list, each entry followed by CR LF, replacing the file
  // atomically (what was there stays whole when the write fails).
  platform::WriteResult save(const std::string& path) const;

  // The text accepted (as typed, not trimmed) goes in front; the first later
  // entry equal to it (exactly) goes; entries past the 20th are dropped.
  void add(const std::string& entry);

  const std::vector<std::string>& entries() const { return entries_; }
  bool empty() const { return entries_.empty(); }

private:
  std::vector<std::string> entries_;
};

} // namespace kestrovan::base
