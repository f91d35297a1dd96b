#include "platform/FileReader.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrovan::platform {

FileReader::FileReader(const std::string& path) {
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) error_ = errno;
}

FileReader::~FileReader() {
  if (fd_ >= 0) ::close(fd_);
}

std::optional<std::uint64_t> FileReader::size() {
  struct stat st {};
  if (fd_ < 0 || ::fstat(fd_, &st) != 0 || st.st_size < 0) return std::nullopt;
  return static_cast<std::uint64_t>(st.st_size);
}

long long FileReader::read(char* buffer, std::size_t capacity) {
  if (fd_ < 0) return -1;
  for (;;) {
    ssize_t n = ::read(fd_, buffer, capacity);
    if (n >= 0) return n;
    if (errno == EINTR) continue;
    error_ = errno;
    return -1;
  }
}

} // namespace kestrovan::platform
