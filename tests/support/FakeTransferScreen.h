#pragma once
// The transfer's screen as a test sees it: everything shown is recorded, the
// stop keys go down when the test says (and reach the transfer only through
// its event runs), waits take no time.

#include "serial/TransferScreen.h"

#include <chrono>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kestrovan::test {

class FakeTransferScreen : public serial::TransferScreen {
public:
  std::vector<std::pair<int, std::string>> panels;
  std::vector<std::pair<std::string, serial::MessageColour>> messages;
  std::vector<std::string> lines;
  std::vector<std::string> questions;
  std::deque<bool> answers; // yes/no answers; none left: no
  std::vector<bool> dsrLamp;
  std::vector<bool> ctsLamp;
  int lampsUnknown = 0; // times both lamps were set to "unknown"
  std::vector<int> sleeps;
  std::optional<std::string> selectorNumber; // nothing: the dialog is cancelled
  int selectorAsked = 0;

  // The stop keys as the window has them: a press reaches the polls only
  // through processPendingEvents (or a sleep), the way key events reach the
  // window, never before. A pressed key stays down until it is released.
  int pressAtEventRun = 0; // F3 goes down during this event run (1 is the first); 0: never
  int tapAtEventRun = 0;   // pressed and let go within this run: only a second test sees it
  int polls = 0;
  std::vector<serial::StopKeyPoll> pollKinds;
  int releases = 0;
  int eventRuns = 0;
  bool failsafeTripped = false;   // a job ran for a minute and was stopped
  std::function<void()> onEvents; // runs inside every event run, before keys are delivered
  std::function<void(int)> onSleep;

  // F3 goes down at the next event run (at the end of this one when called
  // from onEvents).
  void pressStopKey() { pressArmed_ = true; }
  bool stopKeyHeld() const { return keyDown_; }

  void setStatusPanel(int index, const std::string& text) override { panels.emplace_back(index, text); }
  void showMessageLine(const std::string& text, serial::MessageColour colour) override {
    messages.emplace_back(text, colour);
  }
  void addTransferLine(const std::string& line) override { lines.push_back(line); }
  bool askYesNo(const std::string& text) override {
    questions.push_back(text);
    if (answers.empty()) return false;
    bool a = answers.front();
    answers.pop_front();
    return a;
  }
  bool stopKeyDown(serial::StopKeyPoll poll) override {
    // A job that never ends would hang the test run: it is stopped after a
    // while, and the test sees that it was.
    if (std::chrono::steady_clock::now() > failsafeAt_) {
      failsafeTripped = true;
      return true;
    }
    ++polls;
    pollKinds.push_back(poll);
    // As the window's: only a poll that asks for taps takes one.
    if (poll == serial::StopKeyPoll::DownNow) return keyDown_;
    const bool down = keyDown_ || pressedSince_;
    pressedSince_ = false;
    return down;
  }
  bool stopKeyPending() override { return keyDown_ || pressedSince_; }
  void releaseStopKeys() override {
    ++releases;
    keyDown_ = false; // reported released: up until a test presses them again
    pressedSince_ = false;
  }
  void processPendingEvents() override {
    ++eventRuns;
    if (onEvents) onEvents();
    if (pressAtEventRun > 0 && eventRuns == pressAtEventRun) pressArmed_ = true;
    if (tapAtEventRun > 0 && eventRuns == tapAtEventRun) pressedSince_ = true;
    deliverKeys();
  }
  void sleepMs(int ms) override {
    sleeps.push_back(ms);
    if (onSleep) onSleep(ms);
    deliverKeys(); // a sleep keeps the window alive too
  }
  void setDsrLamp(bool on) override { dsrLamp.push_back(on); }
  void setCtsLamp(bool on) override { ctsLamp.push_back(on); }
  void setModemLampsUnknown() override { ++lampsUnknown; }
  std::optional<std::string> askSelectorNumber() override {
    ++selectorAsked;
    return selectorNumber;
  }

private:
  void deliverKeys() {
    if (!pressArmed_) return;
    pressArmed_ = false;
    keyDown_ = true;
    pressedSince_ = true;
  }
  std::chrono::steady_clock::time_point failsafeAt_ =
      std::chrono::steady_clock::now() + std::chrono::minutes(1);
  bool pressArmed_ = false;
  bool keyDown_ = false;
  bool pressedSince_ = false;
};

} // namespace kestrovan::test
