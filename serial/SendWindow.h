#pragma once
// What a send needs of the main window besides the transfer screen: the
// transfer panel (its view, remaining-data line, progress bar and list of
// marked files), the estimate timer, the screen saver and closing the
// program. The main window implements it; tests fake it.

#include <cstddef>
#include <cstdint>
#include <string>

namespace kestrovan::serial {

class TSendTime;
struct ProgramFile;

class SendWindow {
public:
  virtual ~SendWindow() = default;

  // The transfer view. It shows the program's text as lines split the way
  // ProgramLines splits them, so that a line number means the same line here
  // and in the view. The program outlives the send; the view may keep a
  // reference to it until clearProgram().
  virtual void showProgram(const ProgramFile& program) = 0;
  virtual void clearProgram() = 0;
  // Selects line `index` (0 is the first) and scrolls so that it is the
  // second visible line.
  virtual void selectProgramLine(std::size_t index) = 0;

  virtual void setRemainingLine(const std::string& text) = 0;
  virtual void setProgress(std::int64_t value, std::int64_t maximum) = 0;
  // Selects entry `index` (0 is the first) of the panel's list of marked files.
  virtual void selectMarkedFile(std::size_t index) = 0;
  virtual void hideTransferPanel() = 0;

  // A timer that calls worker.tick() (or tickOnWorker()) every 10 seconds
  // until stopped.
  virtual void startEstimateTimer(TSendTime& worker) = 0;
  virtual void stopEstimateTimer() = 0;

  // Off for the length of the transfer; the return to idle turns it on again.
  virtual void screenSaverOff() = 0;
  // After a completed send started with Shift (or END on the command line):
  // close the main window as its close box would.
  virtual void closeMainWindow() = 0;
};

} // namespace kestrovan::serial
