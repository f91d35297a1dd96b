#include "platform/AtomicFile.h"

#include "platform/UniqueFd.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrovan::platform {

WriteResult writeFileAtomically(const std::string& path, std::string_view bytes) {
  std::string temp = path + ".XXXXXX";
  UniqueFd fd(mkstemp(temp.data()));
  if (!fd) return {false, errno};

  // Keep the permissions of the file being replaced; a new file gets the
  // usual 0666 less the umask rather than mkstemp's 0600.
  struct stat st {};
  if (stat(path.c_str(), &st) == 0) {
    fchmod(fd.get(), st.st_mode & 07777);
  } else {
    mode_t mask = umask(0);
    umask(mask);
    fchmod(fd.get(), 0666 & ~mask);
  }

  const char* p = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    ssize_t n = write(fd.get(), p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      int err = errno;
      unlink(temp.c_str());
      return {false, err};
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  if (fsync(fd.get()) != 0 || close(fd.release()) != 0) {
    int err = errno;
    unlink(temp.c_str());
    return {false, err};
  }
  if (rename(temp.c_str(), path.c_str()) != 0) {
    int err = errno;
    unlink(temp.c_str());
    return {false, err};
  }
  return {true, 0};
}

ReadResult readWholeFile(const std::string& path) {
  ReadResult result;
  UniqueFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) {
    result.error = errno;
    return result;
  }
  char buffer[65536];
  for (;;) {
    ssize_t n = read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      result.error = errno;
      result.bytes.clear();
      return result;
    }
    if (n == 0) break;
    result.bytes.append(buffer, static_cast<size_t>(n));
  }
  result.ok = true;
  return result;
}

} // namespace kestrovan::platform
