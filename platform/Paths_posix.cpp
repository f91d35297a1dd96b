#include "platform/Paths.h"

#include "platform/Rename.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrovan::platform {

bool isRootFolder(std::string_view path) {
  return !path.empty() && path.find_first_not_of('/') == std::string_view::npos;
}

bool isAbsolutePath(std::string_view path) { return !path.empty() && path.front() == '/'; }

std::string stripTrailingSeparator(std::string_view path) {
  if (isRootFolder(path)) return "/";
  while (path.size() > 1 && path.back() == '/')
    path.remove_suffix(1);
  return std::string(path);
}

std::string joinPath(std::string_view folder, std::string_view name) {
  std::string path = stripTrailingSeparator(folder);
  if (path.empty()) return std::string(name);
  if (path != "/") path.push_back('/');
  path.append(name);
  return path;
}

std::string parentFolder(std::string_view path) {
  std::string p = stripTrailingSeparator(path);
  if (p == "/") return p;
  size_t slash = p.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return p.substr(0, slash);
}

std::string baseNameOf(std::string_view path) {
  std::string p = stripTrailingSeparator(path);
  if (p == "/") return p;
  size_t slash = p.rfind('/');
  return slash == std::string::npos ? p : p.substr(slash + 1);
}

std::string removeExtension(std::string_view fileName) {
  size_t dot = fileName.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return std::string(fileName);
  return std::string(fileName.substr(0, dot));
}

std::string pathFrom(std::string_view folder, std::string_view path) {
  if (isAbsolutePath(path)) return std::string(path);
  std::string result = stripTrailingSeparator(folder);
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view part = path.substr(start, end - start);
    if (!part.empty() && part != ".") result = joinPath(result, part);
    start = end + 1;
  }
  return result;
}

std::string currentFolder() {
  std::string buffer(256, '\0');
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return {};
    buffer.resize(buffer.size() * 2);
  }
  buffer.resize(std::char_traits<char>::length(buffer.c_str()));
  return buffer;
}

bool pathExists(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0;
}

bool isDirectory(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isRegularFile(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool isReadOnlyFile(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & S_IWUSR) == 0;
}

bool isExecutableFile(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

int renameNoReplace(const std::string& from, const std::string& to) {
  static const NoReplaceCalls calls{
      [](const std::string& a, const std::string& b) {
        return renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_NOREPLACE) == 0 ? 0 : errno;
      },
      [](const std::string& a, const std::string& b) { return link(a.c_str(), b.c_str()) == 0 ? 0 : errno; },
      [](const std::string& p) { return unlink(p.c_str()) == 0 ? 0 : errno; },
      [](const std::string& p) {
        struct stat st {};
        return lstat(p.c_str(), &st) == 0;
      },
      [](const std::string& a, const std::string& b) {
        return rename(a.c_str(), b.c_str()) == 0 ? 0 : errno;
      }};
  return renameNoReplaceWith(calls, from, to);
}

bool createFolderPath(const std::string& path) {
  std::string p = stripTrailingSeparator(path);
  if (!isAbsolutePath(p)) return false;
  for (size_t slash = p.find('/', 1); slash != std::string::npos; slash = p.find('/', slash + 1)) {
    std::string prefix = p.substr(0, slash);
    if (!isDirectory(prefix)) mkdir(prefix.c_str(), 0777);
  }
  if (!isDirectory(p)) mkdir(p.c_str(), 0777);
  return isDirectory(p);
}

} // namespace kestrovan::platform
