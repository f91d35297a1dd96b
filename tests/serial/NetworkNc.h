#pragma once
// Transfers to an NC behind a serial device server: Debian's ser2net on a
// loopback port, with kestrovan-ncsim on the pseudo-terminal behind it. The
// streams the NC records and the files the receptions save are compared byte
// for byte; the line settings must reach the pseudo-terminal's termios.

#include "platform/IniFile.h"
#include "serial/Line.h"
#include "serial/PortProbe.h"
#include "support/NcSimProcess.h"
#include "support/Ser2net.h"
#include "support/WrittenPrograms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#define KESTROVAN_NEEDS_SER2NET()                                                                            \
  do {                                                                                                       \
    if (kestrovan::test::ser2netProgram().empty())                                                           \
      GTEST_SKIP() << "ser2net is not installed (scripts/lib.sh installs it)";                               \
  } while (false)

namespace kestrovan::test {

inline const char* const kFiveLines = "%\r\nO1234\r\nG00X0\r\nM30\r\n%\r\n";

inline std::string longProgram(int lines) {
  std::string text = "O1\r\n";
  for (int i = 1; i <= lines; ++i)
    text += "N" + std::to_string(i) + "G01X" + std::to_string(i) + ".Y-5.F100\r\n";
  return text + "M30\r\n";
}

inline bool hasEvent(const std::vector<std::string>& events, const std::string& event) {
  return std::find(events.begin(), events.end(), event) != events.end();
}

// The NC, ser2net in front of it, and COM4 mapped to ser2net's address.
struct NetworkNc {
  std::unique_ptr<NcSimProcess> nc;
  std::unique_ptr<Ser2net> server;
  platform::IniFile profile;
  std::unique_ptr<serial::DevicePortOpener> ports;

  void start(const std::string& folder, std::vector<std::string> ncArgs,
             Ser2net::Protocol protocol = Ser2net::Protocol::Rfc2217,
             const std::string& serverLine = "9600n81") {
    ports.reset();
    server.reset();
    nc = std::make_unique<NcSimProcess>(KESTROVAN_NCSIM, ncArgs);
    ASSERT_FALSE(nc->path().empty());
    server = std::make_unique<Ser2net>(folder, nc->path(), protocol, serverLine);
    ASSERT_TRUE(server->started()) << "ser2net did not come up";
    profile = platform::IniFile::fromBytes("[Ports]\nCOM4=" + server->address() + "\n");
    ports = std::make_unique<serial::DevicePortOpener>(profile);
  }
};

} // namespace kestrovan::test
