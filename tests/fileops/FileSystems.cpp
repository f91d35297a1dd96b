#include "FileSystems.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrovan::test {

bool mountSmallTmpfs(const std::string& folder, std::size_t bytes) {
  static bool own = false;
  if (!own) {
    if (unshare(CLONE_NEWNS) != 0) return false;
    // Nothing mounted here reaches the rest of the system.
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return false;
    own = true;
  }
  const std::string options = "size=" + std::to_string(bytes);
  return mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
}

namespace {
bool setImmutable(const std::string& folder, bool on) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return false;
  int flags = 0;
  bool ok = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  if (ok) {
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ok = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  }
  close(fd);
  return ok;
}
} // namespace

ReadOnlyFolder::ReadOnlyFolder(std::string folder) : folder_(std::move(folder)) {
  chmod(folder_.c_str(), 0555);
  if (geteuid() != 0) {
    ok_ = true;
    return;
  }
  immutable_ = setImmutable(folder_, true);
  ok_ = immutable_;
}

ReadOnlyFolder::~ReadOnlyFolder() {
  if (immutable_) setImmutable(folder_, false);
  chmod(folder_.c_str(), 0755);
}

} // namespace kestrovan::test
