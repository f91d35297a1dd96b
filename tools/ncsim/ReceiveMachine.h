#pragma once
// The reading NC: it says "ready" with DC1 once the PC has opened the line,
// holds the PC off with DC3 after a number of bytes and lets it go on with DC1
// after a pause, and decides when the program has ended. Pure logic over
// bytes and milliseconds; the pseudo-terminal is driven by main().

#include "ncsim/NcSimOptions.h"

#include <string>
#include <vector>

namespace kestrovan::ncsim {

class ReceiveMachine {
public:
  explicit ReceiveMachine(const NcSimOptions& options) : o_(options), nextDc3At_(options.dc3After) {}

  // The PC opened the line at `nowMs` (again: a probe may open and close it).
  void lineOpened(long nowMs);
  // A byte from the PC; returns what to send back at once.
  std::string onByte(unsigned char byte, long nowMs);
  // Time passed; returns what is due to be sent.
  std::string onTick(long nowMs);

  bool finished() const { return !endReason_.empty(); }
  const std::string& endReason() const { return endReason_; }
  long received() const { return received_; }
  bool paused() const { return paused_; }
  // Event lines ("DC1 n", "DC3 n", "END reason n") since the last call.
  std::vector<std::string> takeEvents();

private:
  void event(const std::string& name);
  void finish(const std::string& reason);

  NcSimOptions o_;
  long nextDc3At_ = 0; // 0: no DC3 due
  long received_ = 0;
  bool paused_ = false;
  long resumeAtMs_ = 0;
  long readyDc1AtMs_ = -1; // -1: none due
  bool dataSeen_ = false;  // a program character after any leading "%"
  std::string endReason_;
  std::vector<std::string> events_;
};

// True for the "%" of ISO (with or without parity) and EIA.
bool isPercentByte(unsigned char byte);

} // namespace kestrovan::ncsim
