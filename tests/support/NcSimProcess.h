#pragma once
// Runs kestrovan-ncsim for a test: starts it with options, knows the path of
// its end of the line, collects its event lines, and never outlives the test.
//
// A thread reads the program's output all the time. Were it read only while
// a test waits for an event, a long fast transfer would fill the pipe and
// the program would stop in the middle of its line, with the PC still
// writing to it.

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

namespace kestrovan::test {

class NcSimProcess {
public:
  // Starts the program at `executable`; path() is empty when it did not come up.
  NcSimProcess(const std::string& executable, const std::vector<std::string>& args);
  ~NcSimProcess(); // SIGTERM, then waits
  NcSimProcess(const NcSimProcess&) = delete;
  NcSimProcess& operator=(const NcSimProcess&) = delete;

  const std::string& path() const { return path_; }
  // Waits for the program to end by itself (at most `timeoutMs`, then it is
  // stopped); returns its event lines after the path.
  std::vector<std::string> finish(int timeoutMs = 20000);
  // Waits until an event line beginning with `prefix` arrives; false after
  // `timeoutMs` or when the program ended. With `occurrence` n, waits for the
  // (n+1)th such line, for a program that runs session after session.
  bool waitFor(const std::string& prefix, int timeoutMs = 10000, int occurrence = 0);
  const std::vector<std::string>& events() const { return events_; }
  void signal(int sig);

private:
  bool readLine(std::string& line, int timeoutMs);
  void readOutput(int fd);

  pid_t pid_ = -1;
  std::string path_;
  std::vector<std::string> events_; // lines the test has taken, on its thread

  // Shared with the reader thread.
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<std::string> lines_;
  bool ended_ = false; // the program's output is closed
  std::thread reader_;
};

// The number after "NAME " in the first event line that starts with it; -1 when none.
long eventNumber(const std::vector<std::string>& events, const std::string& name, int occurrence = 0);

} // namespace kestrovan::test
