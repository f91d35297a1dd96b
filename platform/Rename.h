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

} // namespace kestrovan::platform
