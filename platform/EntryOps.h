#pragma once
// The file-system steps of copying, moving and deleting entries, one call
// each: what an entry is (links not followed), folders made and removed,
// renames, links copied as links, a folder's permission bits and times.

#include <cstdint>
#include <optional>
#include <string>

namespace kestrovan::platform {

enum class EntryKind { File, Folder, Link, Other };

struct EntryStat {
  EntryKind kind = EntryKind::Other;
  std::uint64_t size = 0;
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  bool readOnly = false; // a file whose owner may not write it
};

// Nothing when there is no entry of that name.
std::optional<EntryStat> statEntry(const std::string& path);
// What the path leads to, links followed; nothing when it leads nowhere (no
// entry, or a link that points at nothing).
std::optional<EntryStat> statFollowing(const std::string& path);
inline bool sameEntry(const EntryStat& a, const EntryStat& b) {
  return a.device == b.device && a.inode == b.inode;
}

// Each returns 0 or the errno of the failure.
int makeFolder(const std::string& path); // a new folder, owner rwx
int removeFile(const std::string& path); // a file or a link
int removeEmptyFolder(const std::string& path);
int renameReplacing(const std::string& from, const std::string& to); // rename(): replaces `to`
// A symbolic link `to` that says what `from` says; replaces `to` when asked.
int copyLink(const std::string& from, const std::string& to, bool replace);
// The permission bits and times of folder `from` on folder `to`.
void copyFolderAttributes(const std::string& from, const std::string& to);

// The path with every link and "." or ".." resolved; empty when it does not
// exist.
std::string canonicalPath(const std::string& path);
// The same for a path that may not exist yet: resolved as far as it exists,
// the rest as written.
std::string resolvedPath(const std::string& path);

} // namespace kestrovan::platform
