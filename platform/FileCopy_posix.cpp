#include "platform/FileCopy.h"

#include "platform/UniqueFd.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrovan::platform {

WriteResult copyFileReplacing(const std::string& from, const std::string& to) {
  UniqueFd in(open(from.c_str(), O_RDONLY | O_CLOEXEC));
  if (!in) return {false, errno};
  struct stat st {};
  if (fstat(in.get(), &st) != 0) return {false, errno};

  std::string temp = to + ".XXXXXX";
  UniqueFd out(mkstemp(temp.data()));
  if (!out) return {false, errno};
  fchmod(out.get(), st.st_mode & 0777);
  auto fail = [&](int err) {
    unlink(temp.c_str());
    return WriteResult{false, err};
  };
  char buffer[1 << 16];
  for (;;) {
    ssize_t n = read(in.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(errno);
    }
    if (n == 0) break;
    for (ssize_t done = 0; done < n;) {
      ssize_t w = write(out.get(), buffer + done, static_cast<size_t>(n - done));
      if (w < 0) {
        if (errno == EINTR) continue;
        return fail(errno);
      }
      done += w;
    }
  }
  if (fsync(out.get()) != 0 || close(out.release()) != 0) return fail(errno);
  if (rename(temp.c_str(), to.c_str()) != 0) return fail(errno);
  return {true, 0};
}

} // namespace kestrovan::platform
