#include "platform/Trash.h"

#include "platform/DirectoryEnum.h"
#include "platform/LocalTime.h"
#include "platform/Paths.h"
#include "platform/UniqueFd.h"
#include "platform/WorkingCopy.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kestrovan::platform {
namespace {

struct TrashDir {
  std::string root;   // holds files/ and info/
  std::string topdir; // empty for the home trash: Path= is absolute there
};

// The trash folders made for one entry, removed again (while empty) when
// the entry does not go there after all: a volume gets no trash folder that
// holds nothing.
class MadeFolders {
public:
  MadeFolders() = default;
  MadeFolders(const MadeFolders&) = delete;
  MadeFolders& operator=(const MadeFolders&) = delete;
  ~MadeFolders() {
    for (auto it = made_.rbegin(); it != made_.rend(); ++it)
      rmdir(it->c_str());
  }
  // An existing folder, or one made now; false when there is none.
  bool ensure(const std::string& path) {
    if (isDirectory(path)) return true;
    if (mkdir(path.c_str(), 0700) == 0) {
      made_.push_back(path);
      return true;
    }
    return errno == EEXIST && isDirectory(path);
  }
  void keep() { made_.clear(); }

private:
  std::vector<std::string> made_;
};

std::string homeTrashRoot() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data && isAbsolutePath(data)) return joinPath(data, "Trash");
  const char* home = std::getenv("HOME");
  return joinPath(joinPath(home ? home : "/", ".local/share"), "Trash");
}

std::optional<dev_t> deviceOf(const std::string& path) {
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0) return std::nullopt;
  return st.st_dev;
}

// The device of a path, or of its nearest folder that exists: where a
// folder made there would lie.
std::optional<dev_t> deviceBelow(std::string path) {
  for (;;) {
    if (const std::optional<dev_t> d = deviceOf(path)) return d;
    if (path == "/" || path == ".") return std::nullopt;
    path = parentFolder(path);
  }
}

bool makeTrashFolders(const std::string& root, MadeFolders& made) {
  return made.ensure(root) && made.ensure(joinPath(root, "files")) && made.ensure(joinPath(root, "info"));
}

// The top folder of the file system that holds `path`.
std::string topFolderOf(const std::string& path, dev_t device) {
  std::string top = parentFolder(path);
  while (top != "/") {
    const std::string up = parentFolder(top);
    if (deviceOf(up) != device) break;
    top = up;
  }
  return top;
}

std::optional<TrashDir> trashFor(const std::string& path, MadeFolders& made) {
  const std::optional<dev_t> device = deviceOf(path);
  if (!device) return std::nullopt;
  const std::string home = homeTrashRoot();
  if (deviceBelow(home) == device && createFolderPath(parentFolder(home)) && makeTrashFolders(home, made) &&
      deviceOf(home) == device)
    return TrashDir{home, {}};

  const std::string top = topFolderOf(path, *device);
  const std::string uid = std::to_string(getuid());
  // $topdir/.Trash shared by all users: a real folder with the sticky bit.
  struct stat st {};
  const std::string shared = joinPath(top, ".Trash");
  if (lstat(shared.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX)) {
    const std::string mine = joinPath(shared, uid);
    if (makeTrashFolders(mine, made) && deviceOf(mine) == device) return TrashDir{mine, top};
  }
  // $topdir/.Trash-$uid: ours, a real folder.
  const std::string own = joinPath(top, ".Trash-" + uid);
  if (lstat(own.c_str(), &st) != 0 && !made.ensure(own)) return std::nullopt;
  if (lstat(own.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid()) return std::nullopt;
  if (makeTrashFolders(own, made) && deviceOf(own) == device) return TrashDir{own, top};
  return std::nullopt;
}

// The name an entry is stored under: its own, then with ".2", ".3", ...; a
// name too long to have ".trashinfo" added is cut (its info file's Path=
// keeps the whole name, which a restore uses).
std::string storedName(const std::string& name, int n) {
  constexpr std::size_t kInfo = sizeof ".trashinfo" - 1;
  const std::string suffix = n == 1 ? std::string() : "." + std::to_string(n);
  return cutName(name, NAME_MAX - kInfo - suffix.size()) + suffix;
}

// Path= of the info file: percent-encoded bytes, "/" kept.
std::string percentEncoded(const std::string& path) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : path) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       c == '/' || c == '-' || c == '_' || c == '.' || c == '~';
    if (plain) {
      out.push_back(static_cast<char>(c));
    } else {
      out.push_back('%');
      out.push_back(hex[c >> 4]);
      out.push_back(hex[c & 15]);
    }
  }
  return out;
}

std::string deletionDate() {
  const std::optional<CivilTime> t = toLocalTime(static_cast<std::int64_t>(std::time(nullptr)));
  if (!t) return "1970-01-01T00:00:00";
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", t->year, t->month, t->day, t->hour,
                t->minute, t->second);
  return text;
}

} // namespace

TrashResult moveToTrash(const std::string& path) {
  if (!deviceOf(path)) return {TrashEnd::Failed, errno};
  MadeFolders made;
  const std::optional<TrashDir> trash = trashFor(path, made);
  if (!trash) return {TrashEnd::NoTrash, errno};

  // The info file is created first and exclusively: it reserves the name.
  const std::string name = baseNameOf(path);
  std::string stored;
  std::string infoPath;
  UniqueFd info;
  for (int n = 1; n < 10000 && !info; ++n) {
    stored = storedName(name, n);
    infoPath = joinPath(joinPath(trash->root, "info"), stored + ".trashinfo");
    if (pathExists(joinPath(joinPath(trash->root, "files"), stored))) continue;
    info.reset(open(infoPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (!info && errno != EEXIST) return {TrashEnd::NoTrash, errno};
  }
  if (!info) return {TrashEnd::NoTrash, EEXIST};

  const std::string origin =
      trash->topdir.empty() ? path : path.substr(trash->topdir.size() + (trash->topdir == "/" ? 0 : 1));
  const std::string text =
      "[Trash Info]\nPath=" + percentEncoded(origin) + "\nDeletionDate=" + deletionDate() + "\n";
  const bool written = write(info.get(), text.data(), text.size()) == static_cast<ssize_t>(text.size());
  const int writeError = errno;
  if (close(info.release()) != 0 || !written) {
    unlink(infoPath.c_str());
    return {TrashEnd::NoTrash, written ? errno : writeError};
  }
  const int moved = renameNoReplace(path, joinPath(joinPath(trash->root, "files"), stored));
  if (moved != 0) {
    unlink(infoPath.c_str());
    return {moved == EXDEV ? TrashEnd::NoTrash : TrashEnd::Failed, moved};
  }
  made.keep();
  return {TrashEnd::Trashed, 0};
}

bool isTrashFolderName(std::string_view name) {
  if (name == ".Trash") return true;
  constexpr std::string_view own = ".Trash-";
  if (name.size() <= own.size() || name.substr(0, own.size()) != own) return false;
  for (const char c : name.substr(own.size()))
    if (c < '0' || c > '9') return false;
  return true;
}

int removeForGood(const std::string& path) {
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0) return errno;
  if (S_ISDIR(st.st_mode)) {
    for (const std::string& child : listNames(path))
      if (const int r = removeForGood(joinPath(path, child)); r != 0) return r;
    return rmdir(path.c_str()) == 0 ? 0 : errno;
  }
  return unlink(path.c_str()) == 0 ? 0 : errno;
}

} // namespace kestrovan::platform
