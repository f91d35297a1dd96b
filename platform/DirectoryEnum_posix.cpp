#include "platform/DirectoryEnum.h"

#include "platform/Paths.h"
#include "platform/Wildcard.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace kestrovan::platform {
namespace {

class DirHandle {
public:
  explicit DirHandle(const std::string& path) : dir_(opendir(path.c_str())) {}
  ~DirHandle() {
    if (dir_) closedir(dir_);
  }
  DirHandle(const DirHandle&) = delete;
  DirHandle& operator=(const DirHandle&) = delete;
  DIR* get() const { return dir_; }

private:
  DIR* dir_;
};

bool isDotEntry(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

void fillFromStat(DirEntry& e, const struct stat& st) {
  e.isFolder = S_ISDIR(st.st_mode);
  e.size = e.isFolder ? 0 : static_cast<std::uint64_t>(st.st_size);
  e.modified = static_cast<std::int64_t>(st.st_mtim.tv_sec);
  e.readOnly = (st.st_mode & S_IWUSR) == 0;
}

// Links are followed, as the desktop reports the target; a dangling link is
// still listed (as a file, with the link's own data).
DirEntry makeEntry(int dirFd, const char* name) {
  DirEntry e;
  e.name = name;
  e.hidden = name[0] == '.';
  struct stat st {};
  if (fstatat(dirFd, name, &st, 0) == 0 || fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) == 0)
    fillFromStat(e, st);
  return e;
}

} // namespace

struct DirectorySearch::Dir {
  explicit Dir(const std::string& path) : handle(path) {}
  DirHandle handle;
};

DirectorySearch::DirectorySearch(std::string_view pattern) {
  const std::size_t slash = pattern.rfind('/');
  const std::string folder = slash == std::string_view::npos ? std::string(".")
                             : slash == 0                    ? std::string("/")
                                                             : std::string(pattern.substr(0, slash));
  wildcard_ = slash == std::string_view::npos ? pattern : pattern.substr(slash + 1);
  root_ = isRootFolder(folder);
  dir_ = std::make_unique<Dir>(folder);
  if (dir_->handle.get()) next();
}

DirectorySearch::~DirectorySearch() = default;

bool DirectorySearch::next() {
  found_ = false;
  DIR* dir = dir_->handle.get();
  if (!dir) return false;
  while (const dirent* d = readdir(dir)) {
    // The root of a desktop volume has no "." and ".." entries.
    if (root_ && isDotEntry(d->d_name)) continue;
    if (!wildcardMatch(wildcard_, d->d_name)) continue;
    entry_ = makeEntry(dirfd(dir), d->d_name);
    found_ = true;
    return true;
  }
  return false;
}

std::optional<std::vector<DirEntry>> searchDirectory(std::string_view pattern) {
  DirectorySearch search(pattern);
  if (!search.found()) return std::nullopt;
  std::vector<DirEntry> out;
  do {
    out.push_back(std::move(search.entry()));
  } while (search.next());
  return out;
}

std::vector<DirEntry> listDirectory(const std::string& folder) {
  std::vector<DirEntry> out;
  DirHandle dir(folder);
  if (!dir.get()) return out;
  const int fd = dirfd(dir.get());
  while (const dirent* d = readdir(dir.get()))
    if (!isDotEntry(d->d_name)) out.push_back(makeEntry(fd, d->d_name));
  return out;
}

std::vector<std::string> listNames(const std::string& folder) {
  std::vector<std::string> out;
  DirHandle dir(folder);
  if (!dir.get()) return out;
  while (const dirent* d = readdir(dir.get()))
    if (!isDotEntry(d->d_name)) out.emplace_back(d->d_name);
  return out;
}

NameList readNames(const std::string& folder) {
  NameList out;
  DirHandle dir(folder);
  if (!dir.get()) {
    out.error = errno;
    return out;
  }
  for (;;) {
    errno = 0;
    const dirent* d = readdir(dir.get());
    if (!d) break;
    if (!isDotEntry(d->d_name)) out.names.emplace_back(d->d_name);
  }
  out.error = errno;
  return out;
}

std::optional<DirEntry> entryInfo(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0 && lstat(path.c_str(), &st) != 0) return std::nullopt;
  DirEntry e;
  e.name = baseNameOf(path);
  e.hidden = !e.name.empty() && e.name[0] == '.';
  fillFromStat(e, st);
  return e;
}

} // namespace kestrovan::platform
