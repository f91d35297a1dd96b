#pragma once
// Debian's ser2net run for a test as a child process: a generated YAML
// configuration puts the virtual NC's pseudo-terminal behind a free loopback
// port, either as telnet with COM-PORT-OPTION or as raw TCP. Never the system
// service; stopped (or killed on purpose) by the test.

#include <string>
#include <sys/types.h>

namespace kestrovan::test {

// The ser2net program, or "" when it is not installed.
std::string ser2netProgram();

// A loopback TCP port nothing listens on right now.
int freeLoopbackPort();

class Ser2net {
public:
  enum class Protocol { Rfc2217, Raw };
  // `device` is the pseudo-terminal; `lineSettings` ser2net's own settings
  // for it ("9600n81"), which an RFC 2217 client changes. started() is
  // false when it did not come up listening.
  Ser2net(const std::string& folder, const std::string& device, Protocol protocol,
          const std::string& lineSettings = "9600n81");
  ~Ser2net();
  Ser2net(const Ser2net&) = delete;
  Ser2net& operator=(const Ser2net&) = delete;

  bool started() const { return listening_; }
  int port() const { return port_; }
  // "rfc2217://127.0.0.1:N" or "tcp://127.0.0.1:N", for [Ports].
  std::string address() const;
  // A device server switched off: SIGKILL, nothing said on the connection
  // beyond what the kernel says for a process that is gone.
  void kill();

private:
  Protocol protocol_;
  int port_ = 0;
  pid_t pid_ = -1;
  bool listening_ = false;
};

} // namespace kestrovan::test
