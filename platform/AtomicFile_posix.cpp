#include "platform/AtomicFile.h"

#include "platform/Paths.h"
#include "platform/UniqueFd.h"
#include "platform/WorkingCopy.h"
#include "platform/WriteAll.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrovan::platform {

namespace {

// The file a path leads to: symbolic links followed, one after the other
// (relative ones from the folder of the link), to the first path that is no
// link, whether it exists yet or not. Nothing after too many links (a circle).
std::optional<std::string> linkTarget(std::string path) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::string target(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
    const ssize_t n = readlink(path.c_str(), target.data(), target.size());
    if (n < 0 || static_cast<size_t>(n) >= target.size()) return std::nullopt;
    target.resize(static_cast<size_t>(n));
    path = isAbsolutePath(target) ? target : joinPath(parentFolder(path), target);
  }
  return std::nullopt;
}

} // namespace

WriteResult writeFileAtomically(const std::string& linkOrPath, std::string_view bytes) {
  return writeFileAtomically(linkOrPath, std::vector<std::string_view>{bytes});
}

WriteResult writeFileAtomically(const std::string& linkOrPath, const std::vector<std::string_view>& parts) {
  // A settings file kept elsewhere and linked in stays linked: the file the
  // link leads to is replaced, its temporary file beside it.
  const std::optional<std::string> resolved = linkTarget(linkOrPath);
  if (!resolved) return {false, ELOOP};
  const std::string& path = *resolved;
  std::string temp = workingCopyTemplate(path);
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

  for (std::string_view bytes : parts) {
    if (!writeAll(fd.get(), bytes)) {
      int err = errno;
      unlink(temp.c_str());
      return {false, err};
    }
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

FileContents readWholeFile(const std::string& path) {
  FileContents result;
  UniqueFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) {
    result.error = errno;
    return result;
  }
  struct stat st {};
  if (fstat(fd.get(), &st) == 0 && st.st_size > 0) result.bytes.reserve(static_cast<size_t>(st.st_size));
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
