#pragma once
// The virtual NC behind a plain TCP port, as a controller behind a device
// server in raw mode: a thread accepts one connection at a time and carries
// its bytes to and from the pseudo-terminal's other end, which it holds open
// exactly while a client is connected. The NC itself runs on the master as
// it always does and sees the PC open and close the line with the
// connection. There are no line settings and no modem lines over raw TCP.

#include <atomic>
#include <string>
#include <thread>

namespace kestrovan::ncsim {

class TcpBridge {
public:
  TcpBridge() = default;
  ~TcpBridge(); // stops and joins the thread
  TcpBridge(const TcpBridge&) = delete;
  TcpBridge& operator=(const TcpBridge&) = delete;

  // Listens on `hostPort` ("PORT" or "HOST:PORT", host 127.0.0.1 when not
  // given; port 0 picks a free one) and starts carrying to `slave`. Returns
  // the address clients use, "tcp://HOST:PORT", or "" with `error` set.
  std::string start(const std::string& hostPort, const std::string& slave, std::string& error);

private:
  void run();
  void carry(int client);

  int listener_ = -1;
  std::string slave_;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};

} // namespace kestrovan::ncsim
