#include "support/ProgramProcess.h"

#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace kestrovan::test {

ProgramProcess::ProgramProcess(const std::string& binary, const TempDir& home, const TempDir& runtime,
                               std::vector<std::string> args) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    std::string v(*e);
    if (v.rfind("KESTROVAN_HOME=", 0) == 0 || v.rfind("XDG_RUNTIME_DIR=", 0) == 0 ||
        v.rfind("QT_QPA_PLATFORM=", 0) == 0 || v.rfind("HOME=", 0) == 0)
      continue;
    env.push_back(v);
  }
  env.push_back("KESTROVAN_HOME=" + home.path());
  env.push_back("XDG_RUNTIME_DIR=" + runtime.path());
  env.push_back("HOME=" + home.path());
  env.push_back("QT_QPA_PLATFORM=offscreen");
  std::vector<std::string> argv{binary};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> a, e;
  for (auto& s : argv)
    a.push_back(s.data());
  a.push_back(nullptr);
  for (auto& s : env)
    e.push_back(s.data());
  e.push_back(nullptr);
  if (posix_spawn(&pid_, binary.c_str(), nullptr, nullptr, a.data(), e.data()) != 0) pid_ = -1;
}

ProgramProcess::~ProgramProcess() {
  if (pid_ > 0 && !status_) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
}

std::optional<int> ProgramProcess::waitExit(std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!status_ && pid_ > 0) {
    int st = 0;
    if (waitpid(pid_, &st, WNOHANG) == pid_) {
      status_ = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
      break;
    }
    if (std::chrono::steady_clock::now() > end) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return status_;
}

void ProgramProcess::terminate() {
  if (pid_ > 0) kill(pid_, SIGTERM);
}

} // namespace kestrovan::test
