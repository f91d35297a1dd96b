#include "platform/StagedFile.h"

#include "platform/WorkingCopy.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrovan::platform {

StagedFile::StagedFile(std::string target) : target_(std::move(target)) {
  temp_ = workingCopyTemplate(target_);
  fd_.reset(mkstemp(temp_.data()));
  if (!fd_) {
    error_ = errno;
    temp_.clear();
    return;
  }
  // The permissions of the file it replaces, else the usual ones.
  struct stat st {};
  if (stat(target_.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
    fchmod(fd_.get(), st.st_mode & 07777);
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd_.get(), 0666 & ~mask);
  }
}

StagedFile::StagedFile(StagedFile&& other) noexcept
    : target_(std::move(other.target_)), temp_(std::move(other.temp_)), fd_(std::move(other.fd_)),
      error_(other.error_) {
  other.temp_.clear();
}

StagedFile::~StagedFile() { discard(); }

void StagedFile::discard() {
  fd_.reset();
  if (!temp_.empty()) unlink(temp_.c_str());
  temp_.clear();
}

bool StagedFile::append(std::string_view bytes) {
  if (error_ != 0) return false;
  while (!bytes.empty()) {
    const ssize_t n = write(fd_.get(), bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      error_ = errno;
      discard();
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool StagedFile::commit() {
  if (error_ != 0) return false;
  if (fsync(fd_.get()) != 0 || close(fd_.release()) != 0 || rename(temp_.c_str(), target_.c_str()) != 0) {
    error_ = errno;
    discard();
    return false;
  }
  temp_.clear();
  return true;
}

bool sameFile(const std::string& a, const std::string& b) {
  struct stat sa {
  }, sb{};
  if (stat(a.c_str(), &sa) != 0 || stat(b.c_str(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

} // namespace kestrovan::platform
