#pragma once
// What the process holds of the system's name-change notification: its
// instances, and the watches each instance has, read from /proc.

#include <dirent.h>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace kestrovan::files::test {

// One element per inotify instance open in this process: its number of watches.
inline std::vector<int> inotifyInstances() {
  std::vector<int> instances;
  DIR* dir = opendir("/proc/self/fd");
  if (!dir) return instances;
  while (const dirent* e = readdir(dir)) {
    const std::string fd = e->d_name;
    if (fd == "." || fd == "..") continue;
    char target[256] = {};
    const ssize_t n = readlink(("/proc/self/fd/" + fd).c_str(), target, sizeof target - 1);
    if (n <= 0 || std::string(target, static_cast<std::size_t>(n)) != "anon_inode:inotify") continue;
    std::ifstream info("/proc/self/fdinfo/" + fd);
    int watches = 0;
    for (std::string line; std::getline(info, line);)
      if (line.rfind("inotify wd:", 0) == 0) ++watches;
    instances.push_back(watches);
  }
  closedir(dir);
  return instances;
}

} // namespace kestrovan::files::test
