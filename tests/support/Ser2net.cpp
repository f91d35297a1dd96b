#include "support/Ser2net.h"

#include "support/TempDir.h"

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <netinet/in.h>
#include <sstream>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace kestrovan::test {
namespace {

// Whether something listens on 127.0.0.1:port, from the kernel's table, so
// that no connection is made (a connection would open the device).
bool listensOn(int port) {
  std::ifstream table("/proc/net/tcp");
  std::string line;
  char wanted[32];
  std::snprintf(wanted, sizeof wanted, "0100007F:%04X", port);
  while (std::getline(table, line)) {
    std::istringstream fields(line);
    std::string slot, local, remote, state;
    fields >> slot >> local >> remote >> state;
    if (local == wanted && state == "0A") return true;
  }
  return false;
}

} // namespace

std::string ser2netProgram() {
  for (const char* path : {"/usr/sbin/ser2net", "/usr/bin/ser2net", "/usr/local/sbin/ser2net"})
    if (::access(path, X_OK) == 0) return path;
  return {};
}

int freeLoopbackPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = 0;
  socklen_t length = sizeof a;
  int port = 0;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length) == 0)
    port = ntohs(a.sin_port);
  ::close(fd);
  return port;
}

Ser2net::Ser2net(const std::string& folder, const std::string& device, Protocol protocol,
                 const std::string& lineSettings)
    : protocol_(protocol) {
  const std::string program = ser2netProgram();
  if (program.empty()) return;
  port_ = freeLoopbackPort();
  const std::string config = folder + "/ser2net-" + std::to_string(port_) + ".yaml";
  const std::string accepter =
      protocol == Protocol::Rfc2217 ? "telnet(rfc2217),tcp,127.0.0.1," : "tcp,127.0.0.1,";
  writeFile(config, "connection: &nc\n"
                    "  accepter: " +
                        accepter + std::to_string(port_) +
                        "\n"
                        "  connector: serialdev," +
                        device + "," + lineSettings +
                        ",local\n"
                        "  options:\n"
                        "    kickolduser: true\n");
  const std::string log = folder + "/ser2net-" + std::to_string(port_) + ".log";
  pid_ = ::fork();
  if (pid_ == 0) {
    const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out >= 0) {
      ::dup2(out, 1);
      ::dup2(out, 2);
    }
    const std::string pidFile = folder + "/ser2net-" + std::to_string(port_) + ".pid";
    ::execl(program.c_str(), program.c_str(), "-n", "-u", "-c", config.c_str(), "-P", pidFile.c_str(),
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  if (pid_ < 0) return;
  for (int i = 0; i < 1000 && !listening_; ++i) {
    if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
      pid_ = -1;
      return;
    }
    listening_ = listensOn(port_);
    if (!listening_) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

Ser2net::~Ser2net() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGTERM);
  ::waitpid(pid_, nullptr, 0);
}

void Ser2net::kill() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGKILL);
  ::waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

std::string Ser2net::address() const {
  return std::string(protocol_ == Protocol::Rfc2217 ? "rfc2217://" : "tcp://") +
         "127.0.0.1:" + std::to_string(port_);
}

} // namespace kestrovan::test
