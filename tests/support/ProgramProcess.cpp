#include "support/ProgramProcess.h"

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace kestrovan::test {

ProgramProcess::ProgramProcess(const std::string& binary, const TempDir& home, const TempDir& runtime,
                               std::vector<std::string> args, const ProgramStart& start) {
  std::vector<std::string> own{"KESTROVAN_HOME=" + home.path(), "XDG_RUNTIME_DIR=" + runtime.path(),
                               "HOME=" + home.path(), "QT_QPA_PLATFORM=offscreen"};
  auto nameOf = [](const std::string& v) { return v.substr(0, v.find('=') + 1); };
  for (const std::string& v : start.environment) {
    std::erase_if(own, [&](const std::string& o) { return nameOf(o) == nameOf(v); });
    own.push_back(v);
  }
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    std::string v(*e);
    if (std::none_of(own.begin(), own.end(), [&](const std::string& o) { return nameOf(o) == nameOf(v); }))
      env.push_back(v);
  }
  env.insert(env.end(), own.begin(), own.end());
  std::vector<std::string> argv{binary};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> a, e;
  for (auto& s : argv)
    a.push_back(s.data());
  a.push_back(nullptr);
  for (auto& s : env)
    e.push_back(s.data());
  e.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!start.workingFolder.empty())
    posix_spawn_file_actions_addchdir_np(&actions, start.workingFolder.c_str());
  if (!start.errorFile.empty())
    posix_spawn_file_actions_addopen(&actions, 2, start.errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
  if (posix_spawn(&pid_, binary.c_str(), &actions, nullptr, a.data(), e.data()) != 0) pid_ = -1;
  posix_spawn_file_actions_destroy(&actions);
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
