#pragma once
// Ports that open or not as a test says, recording every attempt. A port
// opened for a transfer is a FakeSerialPort on the shared `wire`.

#include "serial/PortProbe.h"
#include "support/FakeSerialPort.h"

#include <cerrno>
#include <memory>
#include <set>
#include <vector>

namespace kestrovan::test {

class FakePorts : public serial::PortOpener {
public:
  std::set<int> present{1, 2, 3};
  std::vector<int> opened; // probes (open and close)
  std::vector<int> openedForTransfer;
  FakeWire wire;

  bool openAndClose(int number) override {
    opened.push_back(number);
    return present.count(number) > 0;
  }
  platform::SerialPortOpen open(int number) override {
    openedForTransfer.push_back(number);
    platform::SerialPortOpen result;
    if (present.count(number) > 0)
      result.port = std::make_unique<FakeSerialPort>(wire);
    else
      result.error = ENOENT;
    return result;
  }
};

} // namespace kestrovan::test
