// Window titles as the window manager reads them (_NET_WM_NAME) from the real
// program's windows on a real X server (Xvfb), where Qt may add text of its
// own that the widget's windowTitle() never shows.
#include "support/ProgramProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <regex>
#include <set>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

using namespace kestrovan;
using namespace std::chrono_literals;

namespace {

// An X server of the test's own. Xvfb chooses a free display itself and
// writes its number once it accepts connections.
class XServer {
public:
  XServer() {
    int fds[2];
    if (pipe(fds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::array<std::string, 8> args{XVFB, "-displayfd",  "3",         "-screen",
                                    "0",  "1024x768x24", "-nolisten", "tcp"};
    std::vector<char*> argv;
    for (std::string& a : args)
      argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, XVFB, &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    char c = 0;
    while (pid_ > 0 && poll(&p, 1, 20000) == 1 && read(fds[0], &c, 1) == 1 && c != '\n')
      number += c;
    close(fds[0]);
    if (!number.empty()) display_ = ":" + number;
  }
  ~XServer() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  XServer(const XServer&) = delete;
  XServer& operator=(const XServer&) = delete;

  const std::string& display() const { return display_; }

private:
  pid_t pid_ = -1;
  std::string display_;
};

std::string output(const std::string& command) {
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, p)) > 0;)
      out.append(buffer, n);
    pclose(p);
  }
  return out;
}

// _NET_WM_NAME of every top-level window that the process `pid` owns.
std::multiset<std::string> windowNames(const std::string& display, pid_t pid) {
  const std::string env = "LC_ALL=C.UTF-8 DISPLAY=" + display + " ";
  const std::string tree = output(env + XWININFO " -root -children");
  std::multiset<std::string> names;
  const std::regex idPattern(R"(^\s+(0x[0-9a-f]+) )");
  const std::regex namePattern(R"re(_NET_WM_NAME = "(.*)")re");
  const std::string pidLine = "_NET_WM_PID = " + std::to_string(pid);
  std::istringstream lines(tree);
  for (std::string line; std::getline(lines, line);) {
    std::smatch id;
    if (!std::regex_search(line, id, idPattern)) continue;
    const std::string props = output(env + XPROP " -notype -id " + id[1].str() + " _NET_WM_PID _NET_WM_NAME");
    std::smatch name;
    if (props.find(pidLine) != std::string::npos && std::regex_search(props, name, namePattern))
      names.insert(name[1].str());
  }
  return names;
}

} // namespace

TEST(WindowTitle, TheWindowManagerSeesTheCaptionAndTheBoxTitleAsTheyAre) {
  XServer x;
  ASSERT_FALSE(x.display().empty()) << "Xvfb did not start";
  test::TempDir home, runtime;
  // A port that cannot be opened: start-up reports it in a box over the window.
  test::writeFile(home.file("kestrovan.INI"),
                  "[Setting]\r\nDirPath=" + home.path() + "\r\n[Ports]\r\nCOM1=/nonexistent-port\r\n");
  test::ProgramProcess program(
      KESTROVAN_BINARY, home, runtime, {},
      {.environment = {"QT_QPA_PLATFORM=xcb", "DISPLAY=" + x.display(), "ASAN_OPTIONS=detect_leaks=0"}});
  ASSERT_TRUE(program.started());

  std::multiset<std::string> names;
  const auto end = std::chrono::steady_clock::now() + 30s;
  while (std::chrono::steady_clock::now() < end && !program.waitExit(0ms)) {
    names = windowNames(x.display(), program.pid());
    if (names.size() >= 2) break;
    std::this_thread::sleep_for(100ms);
  }
  EXPECT_EQ(names, (std::multiset<std::string>{"Kestrovan(Win98/Me/2000/XP)", "エラー"}));
  program.terminate();
  EXPECT_EQ(program.waitExit(20s), 0);
}
