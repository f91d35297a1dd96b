#pragma once
// A serial port that a test scripts and inspects. The port object belongs to
// the line under test; what it sees and answers lives in a FakeWire that the
// test keeps.

#include "platform/SerialPort.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace kestrovan::test {

struct FakeWire {
  using Status = platform::PortStatus;

  std::deque<unsigned char> incoming; // what reads return, one byte each; empty: time-out
  std::string written;                // every byte written, in order
  std::vector<platform::LineConfig> configs;
  platform::Timeouts timeouts;
  platform::ModemStatus modem{Status::Ok, {true, true, true}};
  std::deque<int> outputQueue; // successive queue lengths; empty: 0
  platform::QueueLength inputQueue{Status::Ok, 0};

  Status configureResult = Status::Ok;
  Status timeoutsResult = Status::Ok;
  Status purgeResult = Status::Ok;
  Status modemControl = Status::Unsupported; // what raising DTR or RTS comes to
  platform::WriteStatus writeResult = platform::WriteStatus::Written;
  // Reads after this many bytes have been read fail, as on a line that hung
  // up (-1: never); so do writes once it has.
  int hangUpAfterReads = -1;
  int readsDone = 0;

  bool dtrRaised = false;
  bool rtsRaised = false;
  int purges = 0;
  int outputQueuePolls = 0;
  int closed = 0;
  std::function<void(unsigned char)> onWrite;
  std::function<void()> onRead;
};

class FakeSerialPort : public platform::SerialPort {
public:
  explicit FakeSerialPort(FakeWire& wire) : wire_(wire) {}
  ~FakeSerialPort() override { ++wire_.closed; }

  platform::PortStatus configure(const platform::LineConfig& config) override {
    wire_.configs.push_back(config);
    return wire_.configureResult;
  }
  platform::PortStatus setTimeouts(const platform::Timeouts& t) override {
    wire_.timeouts = t;
    return wire_.timeoutsResult;
  }
  platform::PortStatus setBufferSizes(int, int) override { return platform::PortStatus::Unsupported; }
  platform::PortStatus purge() override {
    ++wire_.purges;
    return wire_.purgeResult;
  }
  platform::PortStatus raiseDtr() override {
    wire_.dtrRaised = wire_.modemControl == platform::PortStatus::Ok;
    return wire_.modemControl;
  }
  platform::PortStatus raiseRts() override {
    wire_.rtsRaised = wire_.modemControl == platform::PortStatus::Ok;
    return wire_.modemControl;
  }
  platform::ModemStatus modemLines() override { return wire_.modem; }
  platform::QueueLength outputQueueLength() override {
    ++wire_.outputQueuePolls;
    if (wire_.outputQueue.empty()) return {platform::PortStatus::Ok, 0};
    int n = wire_.outputQueue.front();
    wire_.outputQueue.pop_front();
    return {platform::PortStatus::Ok, n};
  }
  platform::QueueLength inputQueueLength() override { return wire_.inputQueue; }
  platform::ReadResult readByte() override {
    if (wire_.onRead) wire_.onRead();
    if (hungUp()) return {platform::ReadStatus::Failed, 0};
    if (wire_.incoming.empty()) return {platform::ReadStatus::TimedOut, 0};
    unsigned char b = wire_.incoming.front();
    wire_.incoming.pop_front();
    ++wire_.readsDone;
    return {platform::ReadStatus::Byte, b};
  }
  platform::WriteStatus writeByte(unsigned char byte) override {
    if (hungUp()) return platform::WriteStatus::Failed;
    if (wire_.writeResult != platform::WriteStatus::Written) return wire_.writeResult;
    wire_.written.push_back(static_cast<char>(byte));
    if (wire_.onWrite) wire_.onWrite(byte);
    return platform::WriteStatus::Written;
  }

private:
  bool hungUp() const { return wire_.hangUpAfterReads >= 0 && wire_.readsDone >= wire_.hangUpAfterReads; }
  FakeWire& wire_;
};

} // namespace kestrovan::test
