#pragma once
// An X server of the test's own (Xvfb), for tests of what only a real
// display shows or does. Xvfb chooses a free display itself and writes its
// number once it accepts connections; the server ends with the object.

#include <string>
#include <sys/types.h>

namespace kestrovan::test {

class XServer {
public:
  explicit XServer(const std::string& xvfb);
  ~XServer();
  XServer(const XServer&) = delete;
  XServer& operator=(const XServer&) = delete;

  // ":N", or empty when the server did not start.
  const std::string& display() const { return display_; }

private:
  pid_t pid_ = -1;
  std::string display_;
};

} // namespace kestrovan::test
