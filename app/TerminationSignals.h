#pragma once
// Turns SIGTERM, SIGINT and SIGHUP into a call on the Qt event loop, so that a
// session logout or `kill` closes the program the orderly way.

#include <functional>
#include <memory>

class QSocketNotifier;

namespace kestrovan::app {

class TerminationSignals {
public:
  // Catches the signals from now on; what arrives before a QApplication
  // exists waits until deliverTo() is called.
  TerminationSignals();
  // Needs the QApplication: calls onSignal on the event loop for every signal.
  void deliverTo(std::function<void()> onSignal);
  ~TerminationSignals();
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

private:
  std::function<void()> onSignal_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace kestrovan::app
