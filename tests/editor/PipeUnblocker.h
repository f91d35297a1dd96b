#pragma once
// A named pipe in the program folder, for the commands that must not wait on
// one. Should a reading block on it all the same, a writer opens and closes
// the pipe after a few seconds, so that the reading ends and the test fails
// instead of hanging.

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace kestrovan::test {

class PipeUnblocker {
public:
  explicit PipeUnblocker(std::string path) : path_(std::move(path)) {
    made_ = ::mkfifo(path_.c_str(), 0644) == 0;
    thread_ = std::thread([this] {
      const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(4);
      while (!stop_ && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
      // Only a reader waiting in open lets a non-blocking writer in.
      while (!stop_) {
        const int fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) {
          ::close(fd);
          blocked_ = true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
      }
    });
  }
  ~PipeUnblocker() {
    stop_ = true;
    thread_.join();
  }
  bool made() const { return made_; }
  // Whether a reading had to be freed from the pipe.
  bool blocked() const { return blocked_; }

private:
  std::string path_;
  bool made_ = false;
  std::atomic<bool> stop_{false};
  std::atomic<bool> blocked_{false};
  std::thread thread_;
};

} // namespace kestrovan::test
