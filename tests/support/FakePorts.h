#pragma once
// Ports that open or not as a test says, recording every attempt.

#include "serial/PortProbe.h"

#include <set>
#include <vector>

namespace kestrovan::test {

class FakePorts : public serial::PortOpener {
public:
  std::set<int> present{1, 2, 3};
  std::vector<int> opened;
  bool openAndClose(int number) override {
    opened.push_back(number);
    return present.count(number) > 0;
  }
};

} // namespace kestrovan::test
