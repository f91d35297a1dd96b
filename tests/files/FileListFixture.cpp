#include "FileListFixture.h"

#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrovan::files::test {

void setTime(const std::string& path, std::int64_t mtime) {
  const timespec times[2] = {{static_cast<time_t>(mtime), 0}, {static_cast<time_t>(mtime), 0}};
  if (utimensat(AT_FDCWD, path.c_str(), times, 0) != 0) throw std::runtime_error("utimensat " + path);
}

void makeFile(const std::string& path, std::uint64_t size, std::int64_t mtime) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) throw std::runtime_error("open " + path);
  const int rc = ::ftruncate(fd, static_cast<off_t>(size));
  ::close(fd);
  if (rc != 0) throw std::runtime_error("ftruncate " + path);
  setTime(path, mtime);
}

void makeFolder(const std::string& path, std::int64_t mtime) {
  if (::mkdir(path.c_str(), 0755) != 0) throw std::runtime_error("mkdir " + path);
  setTime(path, mtime);
}

unsigned modeOf(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) throw std::runtime_error("stat " + path);
  return st.st_mode & 07777;
}

std::int64_t mtimeOf(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) throw std::runtime_error("stat " + path);
  return st.st_mtim.tv_sec;
}

TokyoTime::TokyoTime() {
  ::setenv("TZ", "JST-9", 1);
  ::tzset();
}

TokyoTime::~TokyoTime() {
  ::setenv("TZ", "UTC", 1);
  ::tzset();
}

FileListTest::FileListTest() {
  // Date texts are local time; pin the zone so expected texts are fixed.
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  options.dirPath = dir.path();
}

} // namespace kestrovan::files::test
