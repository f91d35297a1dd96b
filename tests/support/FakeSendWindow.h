#pragma once
// The main window as a send sees it: everything it is told is recorded, and
// hooks let a test act at a given line or file (press a stop key, throw).

#include "platform/PowerOff.h"
#include "serial/ProgramFile.h"
#include "serial/SendWindow.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace kestrovan::test {

class FakeSendWindow : public serial::SendWindow {
public:
  std::vector<std::string> programs; // the text of each program shown
  int cleared = 0;
  std::vector<std::size_t> selectedLines;
  std::vector<std::string> remainingLines;
  std::vector<std::pair<std::int64_t, std::int64_t>> progress; // value, maximum
  std::vector<std::size_t> markedSelections;
  int hidden = 0;
  int timerStarts = 0;
  int timerStops = 0;
  bool timerRunning = false;
  int screenSaverOffs = 0;
  int closeRequests = 0;
  std::function<void(std::size_t)> onSelectLine;
  std::function<void(std::int64_t)> onProgress;

  void showProgram(const serial::ProgramFile& program) override { programs.push_back(program.text); }
  void clearProgram() override { ++cleared; }
  void selectProgramLine(std::size_t index) override {
    selectedLines.push_back(index);
    if (onSelectLine) onSelectLine(index);
  }
  void setRemainingLine(const std::string& text) override { remainingLines.push_back(text); }
  void setProgress(std::int64_t value, std::int64_t maximum) override {
    progress.emplace_back(value, maximum);
    if (onProgress) onProgress(value);
  }
  void selectMarkedFile(std::size_t index) override { markedSelections.push_back(index); }
  void hideTransferPanel() override { ++hidden; }
  void startEstimateTimer(serial::TSendTime&) override {
    ++timerStarts;
    timerRunning = true;
  }
  void stopEstimateTimer() override {
    ++timerStops;
    timerRunning = false;
  }
  void screenSaverOff() override { ++screenSaverOffs; }
  void closeMainWindow() override { ++closeRequests; }
};

class FakePowerOff : public platform::PowerOff {
public:
  int requests = 0;
  bool requestPowerOff() override {
    ++requests;
    return true;
  }
};

} // namespace kestrovan::test
