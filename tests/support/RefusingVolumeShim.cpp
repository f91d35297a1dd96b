// Preloaded into a test process, this makes every volume behave as USB sticks
// and network shares mounted through FUSE do: renameat2 with RENAME_NOREPLACE
// fails with EINVAL and hard links fail with EPERM.
//
// Two more faults a test can ask for through the environment, where running
// as root would otherwise read and write everything:
// - KESTROVAN_SHIM_UNREADABLE: paths (":" between them) of folders and files
//   that cannot be read: opendir and open of them fail with EACCES, as for
//   an entry without read permission. Looking at them (stat) and renaming
//   them work, as they do there.
// - KESTROVAN_SHIM_READ_ONLY: a folder standing for a read-only volume of
//   its own. Whatever would write below it (open for writing or creating,
//   working copies, mkdir, unlink, rmdir, rename, symlink) fails with EROFS;
//   a rename between it and any other folder fails with EXDEV, as between
//   two volumes, before the kernel sees it.
// Everything else reaches the kernel unchanged.

#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

template <class F> F next(const char* name) { return reinterpret_cast<F>(dlsym(RTLD_NEXT, name)); }

// `path` as an absolute path with its folder resolved; the entry itself need
// not exist.
std::string resolved(int dirFd, const char* path) {
  std::string full;
  if (path[0] == '/') {
    full = path;
  } else {
    char base[PATH_MAX] = {};
    if (dirFd == AT_FDCWD) {
      if (!getcwd(base, sizeof base)) return {};
    } else {
      const std::string link = "/proc/self/fd/" + std::to_string(dirFd);
      if (readlink(link.c_str(), base, sizeof base - 1) < 0) return {};
    }
    full = std::string(base) + "/" + path;
  }
  while (full.size() > 1 && full.back() == '/')
    full.pop_back();
  const std::size_t slash = full.rfind('/');
  const std::string folder = slash == 0 ? "/" : full.substr(0, slash);
  const std::string name = full.substr(slash + 1);
  char real[PATH_MAX] = {};
  if (!realpath(folder.c_str(), real)) return full;
  const std::string r(real);
  return name == "." || name == ".." ? full : (r == "/" ? r + name : r + "/" + name);
}

bool onReadOnlyVolume(int dirFd, const char* path) {
  const char* root = std::getenv("KESTROVAN_SHIM_READ_ONLY");
  if (!root || !*root || !path) return false;
  char real[PATH_MAX] = {};
  if (!realpath(root, real)) return false;
  const std::string r(real);
  const std::string p = resolved(dirFd, path);
  return p == r || (p.size() > r.size() && p.compare(0, r.size(), r) == 0 && p[r.size()] == '/');
}

bool unreadable(int dirFd, const char* path) {
  const char* marked = std::getenv("KESTROVAN_SHIM_UNREADABLE");
  if (!marked || !*marked || !path) return false;
  struct stat st {};
  if (fstatat(dirFd, path, &st, 0) != 0) return false;
  std::string list(marked);
  for (std::size_t from = 0; from <= list.size();) {
    std::size_t to = list.find(':', from);
    if (to == std::string::npos) to = list.size();
    struct stat m {};
    if (to > from && stat(list.substr(from, to - from).c_str(), &m) == 0 && m.st_dev == st.st_dev &&
        m.st_ino == st.st_ino)
      return true;
    from = to + 1;
  }
  return false;
}

int refuse(int error) {
  errno = error;
  return -1;
}

bool writes(int flags) { return (flags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC)) != 0; }

int openChecked(int dirFd, const char* path, int flags, mode_t mode) {
  if (unreadable(dirFd, path)) return refuse(EACCES);
  if (writes(flags) && onReadOnlyVolume(dirFd, path)) return refuse(EROFS);
  return static_cast<int>(syscall(SYS_openat, dirFd, path, flags, mode));
}

mode_t modeOf(int flags, va_list args) {
  return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? static_cast<mode_t>(va_arg(args, int)) : 0;
}

int renameChecked(int oldDir, const char* oldPath, int newDir, const char* newPath, unsigned int flags) {
  const bool from = onReadOnlyVolume(oldDir, oldPath);
  const bool to = onReadOnlyVolume(newDir, newPath);
  if (from != to) return refuse(EXDEV);
  if (from) return refuse(EROFS);
  return static_cast<int>(syscall(SYS_renameat2, oldDir, oldPath, newDir, newPath, flags));
}

} // namespace

extern "C" {

int renameat2(int oldDir, const char* oldPath, int newDir, const char* newPath, unsigned int flags) {
  if (flags & RENAME_NOREPLACE) return refuse(EINVAL);
  return renameChecked(oldDir, oldPath, newDir, newPath, flags);
}
int renameat(int oldDir, const char* oldPath, int newDir, const char* newPath) {
  return renameChecked(oldDir, oldPath, newDir, newPath, 0);
}
int rename(const char* oldPath, const char* newPath) {
  return renameChecked(AT_FDCWD, oldPath, AT_FDCWD, newPath, 0);
}

int link(const char*, const char*) { return refuse(EPERM); }
int linkat(int, const char*, int, const char*, int) { return refuse(EPERM); }

DIR* opendir(const char* path) {
  if (unreadable(AT_FDCWD, path)) {
    errno = EACCES;
    return nullptr;
  }
  return next<DIR* (*)(const char*)>("opendir")(path);
}

int open(const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = modeOf(flags, args);
  va_end(args);
  return openChecked(AT_FDCWD, path, flags, mode);
}
int open64(const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = modeOf(flags, args);
  va_end(args);
  return openChecked(AT_FDCWD, path, flags, mode);
}
int openat(int dirFd, const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = modeOf(flags, args);
  va_end(args);
  return openChecked(dirFd, path, flags, mode);
}
int openat64(int dirFd, const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = modeOf(flags, args);
  va_end(args);
  return openChecked(dirFd, path, flags, mode);
}

int mkostemp(char* pattern, int flags) {
  if (onReadOnlyVolume(AT_FDCWD, pattern)) return refuse(EROFS);
  return next<int (*)(char*, int)>("mkostemp")(pattern, flags);
}
int mkstemp(char* pattern) {
  if (onReadOnlyVolume(AT_FDCWD, pattern)) return refuse(EROFS);
  return next<int (*)(char*)>("mkstemp")(pattern);
}

int mkdir(const char* path, mode_t mode) {
  if (onReadOnlyVolume(AT_FDCWD, path)) return refuse(EROFS);
  return static_cast<int>(syscall(SYS_mkdirat, AT_FDCWD, path, mode));
}
int mkdirat(int dirFd, const char* path, mode_t mode) {
  if (onReadOnlyVolume(dirFd, path)) return refuse(EROFS);
  return static_cast<int>(syscall(SYS_mkdirat, dirFd, path, mode));
}

int unlink(const char* path) {
  if (onReadOnlyVolume(AT_FDCWD, path)) return refuse(EROFS);
  return static_cast<int>(syscall(SYS_unlinkat, AT_FDCWD, path, 0));
}
int unlinkat(int dirFd, const char* path, int flags) {
  if (onReadOnlyVolume(dirFd, path)) return refuse(EROFS);
  return static_cast<int>(syscall(SYS_unlinkat, dirFd, path, flags));
}
int rmdir(const char* path) {
  if (onReadOnlyVolume(AT_FDCWD, path)) return refuse(EROFS);
  return static_cast<int>(syscall(SYS_unlinkat, AT_FDCWD, path, AT_REMOVEDIR));
}

int symlink(const char* target, const char* path) {
  if (onReadOnlyVolume(AT_FDCWD, path)) return refuse(EROFS);
  return static_cast<int>(syscall(SYS_symlinkat, target, AT_FDCWD, path));
}
int symlinkat(const char* target, int dirFd, const char* path) {
  if (onReadOnlyVolume(dirFd, path)) return refuse(EROFS);
  return static_cast<int>(syscall(SYS_symlinkat, target, dirFd, path));
}

} // extern "C"
