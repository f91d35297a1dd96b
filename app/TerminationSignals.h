#pragma once
// Turns SIGTERM, SIGINT and SIGHUP into a call on the Qt event loop, so that a
// session logout or `kill` closes the program the orderly way.

#include <functional>
#include <memory>

class QSocketNotifier;

namespace kestrovan::app {

class TerminationSignals {
public:
  explicit TerminationSignals(std::function<void()> onSignal);
  ~TerminationSignals();
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

private:
  std::function<void()> onSignal_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace kestrovan::app
