#include "support/NcSimProcess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kestrovan::test {

NcSimProcess::NcSimProcess(const std::string& executable, const std::vector<std::string>& args) {
  int pipeFds[2];
  // Close-on-exec: another test's program started meanwhile must not hold
  // this pipe's write end open, or its end would never be seen here.
  if (pipe2(pipeFds, O_CLOEXEC) != 0) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(executable.c_str()));
  for (const std::string& a : args)
    argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  int rc = posix_spawn(&pid_, executable.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[1]);
  if (rc != 0) pid_ = -1;
  // Without a program the read end reports its end at once.
  reader_ = std::thread([this, fd = pipeFds[0]] { readOutput(fd); });
  if (pid_ > 0) readLine(path_, 10000);
}

NcSimProcess::~NcSimProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
  }
  // The program is gone, so its output ends and the reader with it.
  if (reader_.joinable()) reader_.join();
}

void NcSimProcess::readOutput(int fd) {
  std::string buffer;
  char buf[4096];
  for (;;) {
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    buffer.append(buf, static_cast<std::size_t>(n));
    std::size_t nl = buffer.find('\n');
    if (nl == std::string::npos) continue;
    std::lock_guard<std::mutex> lock(mutex_);
    for (; nl != std::string::npos; nl = buffer.find('\n')) {
      lines_.push_back(buffer.substr(0, nl));
      buffer.erase(0, nl + 1);
    }
    arrived_.notify_all();
  }
  close(fd);
  std::lock_guard<std::mutex> lock(mutex_);
  if (!buffer.empty()) lines_.push_back(buffer); // a last line without its line feed
  ended_ = true;
  arrived_.notify_all();
}

void NcSimProcess::signal(int sig) {
  if (pid_ > 0) kill(pid_, sig);
}

bool NcSimProcess::readLine(std::string& line, int timeoutMs) {
  std::unique_lock<std::mutex> lock(mutex_);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  if (!arrived_.wait_until(lock, deadline, [this] { return !lines_.empty() || ended_; })) return false;
  if (lines_.empty()) return false; // the program ended
  line = std::move(lines_.front());
  lines_.pop_front();
  return true;
}

bool NcSimProcess::waitFor(const std::string& prefix, int timeoutMs, int occurrence) {
  int seen = 0;
  for (const std::string& e : events_)
    if (e.rfind(prefix, 0) == 0 && seen++ == occurrence) return true;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  std::string line;
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || !readLine(line, static_cast<int>(left.count()))) return false;
    events_.push_back(line);
    if (line.rfind(prefix, 0) == 0 && seen++ == occurrence) return true;
  }
}

std::vector<std::string> NcSimProcess::finish(int timeoutMs) {
  if (!waitFor("END", timeoutMs)) signal(SIGTERM);
  std::string line;
  while (readLine(line, 2000))
    events_.push_back(line);
  if (pid_ > 0) {
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
  }
  return events_;
}

long eventNumber(const std::vector<std::string>& events, const std::string& name, int occurrence) {
  for (const std::string& e : events) {
    if (e.rfind(name + " ", 0) != 0) continue;
    if (occurrence-- > 0) continue;
    return std::stol(e.substr(e.rfind(' ') + 1));
  }
  return -1;
}

} // namespace kestrovan::test
