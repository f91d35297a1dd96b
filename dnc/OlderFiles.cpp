#include "dnc/OlderFiles.h"

#include "platform/Paths.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace kestrovan::dnc {

std::string olderFileName(const std::string& name, const platform::CivilTime& when, int attempt) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", when.year, when.month, when.day, when.hour,
                when.minute, when.second);
  std::string out = name + "." + stamp;
  if (attempt > 1) out += "-" + std::to_string(attempt);
  return out;
}

bool keepOlderFile(const std::string& path, const platform::CivilTime& when, std::string& error) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (!fs::exists(fs::symlink_status(path, ec))) return true;
  const fs::path file(path);
  const fs::path old = file.parent_path() / "old";
  fs::create_directory(old, ec);
  if (!fs::is_directory(old, ec)) {
    error = "cannot make the folder " + old.string();
    return false;
  }
  for (int attempt = 1; attempt < 1000; ++attempt) {
    const std::string to = (old / olderFileName(file.filename().string(), when, attempt)).string();
    const int err = platform::renameNoReplace(path, to);
    if (err == 0) return true;
    if (err != EEXIST) {
      error = "cannot move " + path + " to " + to + ": " + std::strerror(err);
      return false;
    }
  }
  error = "no free name in " + old.string();
  return false;
}

} // namespace kestrovan::dnc
