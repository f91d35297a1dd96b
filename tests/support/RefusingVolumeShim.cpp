// Preloaded into a test process, this makes every volume behave as USB sticks
// and network shares mounted through FUSE do: renameat2 with RENAME_NOREPLACE
// fails with EINVAL and hard links fail with EPERM. Everything else reaches
// the kernel unchanged.

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

extern "C" {

int renameat2(int oldDir, const char* oldPath, int newDir, const char* newPath, unsigned int flags) {
  if (flags & RENAME_NOREPLACE) {
    errno = EINVAL;
    return -1;
  }
  return static_cast<int>(syscall(SYS_renameat2, oldDir, oldPath, newDir, newPath, flags));
}

int link(const char*, const char*) {
  errno = EPERM;
  return -1;
}

int linkat(int, const char*, int, const char*, int) {
  errno = EPERM;
  return -1;
}

} // extern "C"
