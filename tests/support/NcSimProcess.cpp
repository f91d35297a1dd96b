#include "support/NcSimProcess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kestrovan::test {
namespace {
long long msSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
      .count();
}
} // namespace

NcSimProcess::NcSimProcess(const std::string& executable, const std::vector<std::string>& args) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(executable.c_str()));
  for (const std::string& a : args)
    argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  int rc = posix_spawn(&pid_, executable.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[1]);
  out_ = pipeFds[0];
  if (rc != 0) {
    pid_ = -1;
    return;
  }
  readLine(path_, 10000);
}

NcSimProcess::~NcSimProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
  }
  if (out_ >= 0) close(out_);
}

void NcSimProcess::signal(int sig) {
  if (pid_ > 0) kill(pid_, sig);
}

bool NcSimProcess::readLine(std::string& line, int timeoutMs) {
  const auto start = std::chrono::steady_clock::now();
  for (;;) {
    std::size_t nl = buffer_.find('\n');
    if (nl != std::string::npos) {
      line = buffer_.substr(0, nl);
      buffer_.erase(0, nl + 1);
      return true;
    }
    long long left = timeoutMs - msSince(start);
    if (left <= 0 || out_ < 0) return false;
    pollfd p{out_, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left)) <= 0) continue;
    char buf[512];
    ssize_t n = read(out_, buf, sizeof buf);
    if (n <= 0) return false; // the program ended
    buffer_.append(buf, static_cast<std::size_t>(n));
  }
}

bool NcSimProcess::waitFor(const std::string& prefix, int timeoutMs) {
  for (const std::string& e : events_)
    if (e.rfind(prefix, 0) == 0) return true;
  const auto start = std::chrono::steady_clock::now();
  std::string line;
  while (msSince(start) < timeoutMs) {
    if (!readLine(line, static_cast<int>(timeoutMs - msSince(start)))) return false;
    events_.push_back(line);
    if (line.rfind(prefix, 0) == 0) return true;
  }
  return false;
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
