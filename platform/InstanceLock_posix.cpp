#include "platform/InstanceLock.h"

#include "platform/Paths.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace kestrovan::platform {

std::string instanceLockFolder() {
  if (const char* rt = std::getenv("XDG_RUNTIME_DIR"); rt && *rt && isDirectory(rt)) return rt;
  if (const char* tmp = std::getenv("TMPDIR"); tmp && *tmp && isDirectory(tmp)) return tmp;
  return "/tmp";
}

std::string instanceLockFileName(const std::string& exeFileName) {
  const char* rt = std::getenv("XDG_RUNTIME_DIR");
  if (rt && *rt && isDirectory(rt)) return exeFileName + ".lock";
  return exeFileName + "-" + std::to_string(getuid()) + ".lock";
}

InstanceLock InstanceLock::acquire(const std::string& folder, const std::string& name) {
  std::string path = joinPath(folder, name);
  UniqueFd fd(open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
  if (!fd) return InstanceLock(Outcome::Unavailable, path, UniqueFd());
  while (flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    if (errno == EWOULDBLOCK) return InstanceLock(Outcome::HeldByAnother, path, UniqueFd());
    return InstanceLock(Outcome::Unavailable, path, UniqueFd());
  }
  return InstanceLock(Outcome::Acquired, path, std::move(fd));
}

} // namespace kestrovan::platform
