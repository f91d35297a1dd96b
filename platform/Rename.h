#pragma once
// Renaming an entry within its folder without ever replacing another one:
// a name in use fails (EEXIST) and both entries stay as they were. A change
// of letter case only (o1000.nc to O1000.NC) also works on file systems that
// ignore case (FAT on a USB stick), where the new name already finds the
// entry itself and the system would do nothing.

#include <functional>
#include <string>

namespace kestrovan::platform {

// 0, or the errno of the failure.
int renameEntry(const std::string& from, const std::string& to);

// What renameEntry needs of the file system, so that a file system the
// machine does not have (one that ignores case) can stand in.
struct RenameCalls {
  std::function<int(const std::string& from, const std::string& to)> renameNoReplace; // 0 or errno
  std::function<bool(const std::string& a, const std::string& b)> sameEntry; // both names lead to one entry
  std::function<bool(const std::string& path)> exists;
};
int renameEntryWith(const RenameCalls& calls, const std::string& from, const std::string& to);

// The no-replace rename (platform/Paths.h renameNoReplace) over the calls it
// makes. Where the file system has no no-replace rename (FUSE volumes: exFAT
// sticks, SMB shares) it gives the file a second name with a hard link, which
// fails when the name is taken, and removes the old one. Where it has no hard
// links either (the same volumes; folders everywhere) it looks whether the
// name is free and renames: another process that takes the name between the
// look and the rename loses its entry to ours, which is as far as such a file
// system lets any program go.
struct NoReplaceCalls {
  std::function<int(const std::string& from, const std::string& to)> renameNoReplace; // renameat2 or errno
  std::function<int(const std::string& from, const std::string& to)> link;            // 0 or errno
  std::function<int(const std::string& path)> unlink;                                 // 0 or errno
  std::function<bool(const std::string& path)> exists; // an entry of that name, links not followed
  std::function<int(const std::string& from, const std::string& to)> rename; // replacing; 0 or errno
};
int renameNoReplaceWith(const NoReplaceCalls& calls, const std::string& from, const std::string& to);

} // namespace kestrovan::platform
