#pragma once
// The transfer's screen as a test sees it: everything shown is recorded, the
// stop keys go down when the test says, waits take no time.

#include "serial/TransferScreen.h"

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
  std::vector<int> sleeps;
  std::optional<std::string> selectorNumber; // nothing: the dialog is cancelled
  int selectorAsked = 0;

  // The stop keys count as down from this poll on (1 is the first) until
  // they are released; 0: never.
  int stopFromPoll = 0;
  int polls = 0;
  std::vector<serial::StopKeyPoll> pollKinds;
  int releases = 0;
  int eventRuns = 0;
  std::function<void()> onEvents;
  std::function<void(int)> onSleep;

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
    ++polls;
    pollKinds.push_back(poll);
    return stopFromPoll > 0 && polls >= stopFromPoll;
  }
  void releaseStopKeys() override {
    ++releases;
    stopFromPoll = 0; // reported released: up until a test presses them again
  }
  void processPendingEvents() override {
    ++eventRuns;
    if (onEvents) onEvents();
  }
  void sleepMs(int ms) override {
    sleeps.push_back(ms);
    if (onSleep) onSleep(ms);
  }
  void setDsrLamp(bool on) override { dsrLamp.push_back(on); }
  void setCtsLamp(bool on) override { ctsLamp.push_back(on); }
  std::optional<std::string> askSelectorNumber() override {
    ++selectorAsked;
    return selectorNumber;
  }
};

} // namespace kestrovan::test
