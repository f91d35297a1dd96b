#pragma once
// Folder enumeration: names with their kind, size, time and attributes, in
// the order the file system hands them out.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrovan::platform {

struct DirEntry {
  std::string name;          // as stored on disk (UTF-8 on POSIX)
  bool isFolder = false;     // a folder, or a link that leads to one
  std::uint64_t size = 0;    // full 64-bit size in bytes; 0 for a folder
  std::int64_t modified = 0; // last write, seconds since 1970-01-01 UTC
  bool readOnly = false;     // the owner may not write it
  bool hidden = false;       // the name begins with "."
};

// A wildcard search in the manner of the desktop's find-first/find-next:
// `pattern` is a folder, "/", and a wildcard for the names ("/data/*.*").
// Matching names come in enumeration order. A folder other than the root "/"
// also holds the two entries "." and "..", as on a desktop file system, so an
// empty folder still "has" entries while a name filter that matches nothing
// does not. Each entry is examined only when the search reaches it.
class DirectorySearch {
public:
  // Opens the folder and looks for the first match.
  explicit DirectorySearch(std::string_view pattern);
  ~DirectorySearch();
  DirectorySearch(const DirectorySearch&) = delete;
  DirectorySearch& operator=(const DirectorySearch&) = delete;

  // False when the folder cannot be read or nothing (more) matches.
  bool found() const { return found_; }
  // The current match; valid while found().
  DirEntry& entry() { return entry_; }
  // Moves to the next match; false at the end.
  bool next();

private:
  struct Dir;
  std::unique_ptr<Dir> dir_;
  bool root_ = false;
  bool found_ = false;
  std::string wildcard_;
  DirEntry entry_;
};

// Every match of a search at once; nothing when the search finds nothing.
std::optional<std::vector<DirEntry>> searchDirectory(std::string_view pattern);

// Every entry of a folder except "." and "..", in enumeration order. Empty
// when the folder cannot be read.
std::vector<DirEntry> listDirectory(const std::string& folder);

// Only the names of a folder's entries (no "." and ".."): cheap, no stat.
std::vector<std::string> listNames(const std::string& folder);

// The same, telling a folder that cannot be read (error: the errno of
// opening or reading it) from an empty one.
struct NameList {
  std::vector<std::string> names;
  int error = 0;
};
NameList readNames(const std::string& folder);

// Kind, size, time and attributes of one path; nothing when it does not exist.
std::optional<DirEntry> entryInfo(const std::string& path);

} // namespace kestrovan::platform
