#include "platform/EntryOps.h"

#include "platform/Paths.h"
#include "platform/WorkingCopy.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kestrovan::platform {

namespace {
EntryStat entryOf(const struct stat& st) {
  EntryStat e;
  e.kind = S_ISREG(st.st_mode)   ? EntryKind::File
           : S_ISDIR(st.st_mode) ? EntryKind::Folder
           : S_ISLNK(st.st_mode) ? EntryKind::Link
                                 : EntryKind::Other;
  e.size = static_cast<std::uint64_t>(st.st_size);
  e.device = static_cast<std::uint64_t>(st.st_dev);
  e.inode = static_cast<std::uint64_t>(st.st_ino);
  e.readOnly = S_ISREG(st.st_mode) && (st.st_mode & S_IWUSR) == 0;
  return e;
}
} // namespace

std::optional<EntryStat> statEntry(const std::string& path) {
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0) return std::nullopt;
  return entryOf(st);
}

std::optional<EntryStat> statFollowing(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return std::nullopt;
  return entryOf(st);
}

int makeFolder(const std::string& path) { return mkdir(path.c_str(), 0700) == 0 ? 0 : errno; }
int removeFile(const std::string& path) { return unlink(path.c_str()) == 0 ? 0 : errno; }
int removeEmptyFolder(const std::string& path) { return rmdir(path.c_str()) == 0 ? 0 : errno; }
int renameReplacing(const std::string& from, const std::string& to) {
  return rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int copyLink(const std::string& from, const std::string& to, bool replace) {
  std::vector<char> target(PATH_MAX + 1);
  const ssize_t n = readlink(from.c_str(), target.data(), target.size() - 1);
  if (n < 0) return errno;
  target[static_cast<std::size_t>(n)] = '\0';
  if (!replace) return symlink(target.data(), to.c_str()) == 0 ? 0 : errno;
  // Made under a name of its own, then renamed over the old entry.
  for (int i = 1; i < 1000; ++i) {
    const std::string temp =
        joinPath(parentFolder(to), "." + cutName(baseNameOf(to), NAME_MAX - 9) + ".link" + std::to_string(i));
    if (symlink(target.data(), temp.c_str()) != 0) {
      if (errno == EEXIST) continue;
      return errno;
    }
    if (rename(temp.c_str(), to.c_str()) == 0) return 0;
    const int err = errno;
    unlink(temp.c_str());
    return err;
  }
  return EEXIST;
}

void copyFolderAttributes(const std::string& from, const std::string& to) {
  struct stat st {};
  if (stat(from.c_str(), &st) != 0) return;
  chmod(to.c_str(), st.st_mode & 07777);
  const struct timespec times[2] = {st.st_atim, st.st_mtim};
  utimensat(AT_FDCWD, to.c_str(), times, 0);
}

std::string canonicalPath(const std::string& path) {
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) ? std::string(resolved) : std::string();
}

std::string resolvedPath(const std::string& path) {
  std::string existing = path;
  std::string rest;
  for (;;) {
    if (std::string real = canonicalPath(existing); !real.empty())
      return rest.empty() ? real : joinPath(real, rest);
    const std::string parent = parentFolder(existing);
    if (parent == existing) return path;
    rest = rest.empty() ? baseNameOf(existing) : joinPath(baseNameOf(existing), rest);
    existing = parent;
  }
}

} // namespace kestrovan::platform
