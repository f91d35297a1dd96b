// Window titles as the window manager reads them (_NET_WM_NAME) from the real
// program's windows on a real X server (Xvfb), where Qt may add text of its
// own that the widget's windowTitle() never shows.
#include "support/ProgramProcess.h"
#include "support/TempDir.h"
#include "support/XServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

using namespace kestrovan;
using namespace std::chrono_literals;

namespace {

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
  test::XServer x(XVFB);
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
