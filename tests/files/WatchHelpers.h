#pragma once
// For tests and benchmarks of the folder watch: what the process holds of the
// system's name-change notification (its instances and the watches of each,
// read from /proc), and a counter of the watcher's reports.

#include <chrono>
#include <condition_variable>
#include <dirent.h>
#include <fstream>
#include <mutex>
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

// Counts the reports of a watcher, which come on the watcher's thread.
class Reports {
public:
  void operator()() {
    const std::lock_guard lock(mutex_);
    ++count_;
    cv_.notify_all();
  }
  // Waits until more than `seen` reports have come, at most `limit`.
  bool moreThan(long seen, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    std::unique_lock lock(mutex_);
    return cv_.wait_for(lock, limit, [&] { return count_ > seen; });
  }
  long count() {
    const std::lock_guard lock(mutex_);
    return count_;
  }

private:
  std::mutex mutex_;
  std::condition_variable cv_;
  long count_ = 0;
};

} // namespace kestrovan::files::test
