#include "platform/Rename.h"

#include "platform/Paths.h"

#include <sys/stat.h>

namespace kestrovan::platform {

int renameEntry(const std::string& from, const std::string& to) {
  static const RenameCalls calls{
      [](const std::string& a, const std::string& b) { return renameNoReplace(a, b); },
      [](const std::string& a, const std::string& b) {
        struct stat sa {
        }, sb{};
        return lstat(a.c_str(), &sa) == 0 && lstat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
               sa.st_ino == sb.st_ino;
      },
      [](const std::string& p) {
        struct stat st {};
        return lstat(p.c_str(), &st) == 0;
      }};
  return renameEntryWith(calls, from, to);
}

} // namespace kestrovan::platform
