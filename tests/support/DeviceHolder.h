#pragma once
// Another program holding a serial device: a child process that opens it,
// locks it (flock) and makes it exclusive (TIOCEXCL), as a terminal program
// does, and keeps it until the holder goes.

#include <csignal>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kestrovan::test {

class DeviceHolder {
public:
  explicit DeviceHolder(const std::string& device) {
    int ready[2];
    if (pipe(ready) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(ready[0]);
      const int fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
      const char c = fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0 && ioctl(fd, TIOCEXCL) == 0 ? 'y' : 'n';
      if (write(ready[1], &c, 1) != 1) _exit(1);
      for (;;)
        pause();
    }
    close(ready[1]);
    char c = 0;
    holding_ = pid_ > 0 && read(ready[0], &c, 1) == 1 && c == 'y';
    close(ready[0]);
  }
  ~DeviceHolder() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  DeviceHolder(const DeviceHolder&) = delete;
  DeviceHolder& operator=(const DeviceHolder&) = delete;
  bool holding() const { return holding_; }

private:
  pid_t pid_ = -1;
  bool holding_ = false;
};

} // namespace kestrovan::test
