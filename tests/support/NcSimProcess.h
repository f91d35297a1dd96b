#pragma once
// Runs kestrovan-ncsim for a test: starts it with options, knows the path of
// its end of the line, collects its event lines, and never outlives the test.

#include <string>
#include <sys/types.h>
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
  // `timeoutMs` or when the program ended.
  bool waitFor(const std::string& prefix, int timeoutMs = 10000);
  const std::vector<std::string>& events() const { return events_; }
  void signal(int sig);

private:
  bool readLine(std::string& line, int timeoutMs);

  pid_t pid_ = -1;
  int out_ = -1;
  std::string buffer_;
  std::string path_;
  std::vector<std::string> events_;
};

// The number after "NAME " in the first event line that starts with it; -1 when none.
long eventNumber(const std::vector<std::string>& events, const std::string& name, int occurrence = 0);

} // namespace kestrovan::test
