#include "platform/FileCopy.h"

#include "platform/Paths.h"
#include "platform/UniqueFd.h"
#include "platform/WorkingCopy.h"
#include "platform/WriteAll.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kestrovan::platform {
namespace {

// One piece of at most `length` bytes; the number copied, 0 at the end of
// the source, -1 with errno. Falls back to read and write for good once the
// kernel cannot copy between the two files.
class PieceCopier {
public:
  PieceCopier(int in, int out) : in_(in), out_(out) {}

  ssize_t copy(std::size_t length) {
    if (kernel_) {
      for (;;) {
        const ssize_t n = copy_file_range(in_, nullptr, out_, nullptr, length, 0);
        if (n >= 0) return n;
        if (errno == EINTR) continue;
        if (errno != EXDEV && errno != ENOSYS && errno != EOPNOTSUPP && errno != EINVAL && errno != EBADF)
          return -1;
        kernel_ = false;
        break;
      }
    }
    if (buffer_.empty()) buffer_.resize(1 << 20);
    for (;;) {
      const ssize_t n = read(in_, buffer_.data(), std::min(length, buffer_.size()));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return n;
      if (!writeAll(out_, {buffer_.data(), static_cast<std::size_t>(n)})) return -1;
      return n;
    }
  }

private:
  int in_;
  int out_;
  bool kernel_ = true;
  std::vector<char> buffer_;
};

} // namespace

CopyResult copyFile(const std::string& from, const std::string& to, const CopyOptions& options,
                    const CopyProgress& progress) {
  UniqueFd in(open(from.c_str(), O_RDONLY | O_CLOEXEC));
  if (!in) return {CopyEnd::Failed, errno};
  struct stat st {};
  if (fstat(in.get(), &st) != 0) return {CopyEnd::Failed, errno};
  if (!S_ISREG(st.st_mode)) return {CopyEnd::Failed, EINVAL};
  if (!options.replace && pathExists(to)) return {CopyEnd::Failed, EEXIST};

  std::string temp = workingCopyTemplate(to);
  UniqueFd out(mkostemp(temp.data(), O_CLOEXEC));
  if (!out) return {CopyEnd::Failed, errno};
  auto end = [&](CopyEnd how, int err) {
    out.reset();
    unlink(temp.c_str());
    return CopyResult{how, err};
  };

  PieceCopier copier(in.get(), out.get());
  std::uint64_t copied = 0;
  if (progress && !progress(copied)) return end(CopyEnd::Stopped, 0);
  for (;;) {
    const ssize_t n = copier.copy(static_cast<std::size_t>(kCopyPiece));
    if (n < 0) return end(CopyEnd::Failed, errno);
    if (n == 0) break;
    copied += static_cast<std::uint64_t>(n);
    if (progress && !progress(copied)) return end(CopyEnd::Stopped, 0);
  }

  // The permission bits and the times of the source; a copy that cannot
  // have them is still a good copy.
  fchmod(out.get(), st.st_mode & 07777);
  const struct timespec times[2] = {st.st_atim, st.st_mtim};
  futimens(out.get(), times);
  if (options.durable && fsync(out.get()) != 0) return end(CopyEnd::Failed, errno);
  if (close(out.release()) != 0) return end(CopyEnd::Failed, errno);

  const int renamed =
      options.replace ? (rename(temp.c_str(), to.c_str()) == 0 ? 0 : errno) : renameNoReplace(temp, to);
  if (renamed != 0) {
    unlink(temp.c_str());
    return {CopyEnd::Failed, renamed};
  }
  return {CopyEnd::Done, 0};
}

WriteResult copyFileReplacing(const std::string& from, const std::string& to) {
  const CopyResult r = copyFile(from, to, {.replace = true, .durable = true});
  return {static_cast<bool>(r), r.error};
}

} // namespace kestrovan::platform
