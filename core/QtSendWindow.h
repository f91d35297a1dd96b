#pragma once
// What a send shows on the main window besides the transfer screen: the
// program in the transfer view, the remaining-data line, the progress bar,
// the list of marked files, and the 10-second estimate timer.

#include "serial/SendWindow.h"

#include <QElapsedTimer>
#include <QObject>

class QTimer;

namespace kestrovan::core {

class TForm1;

class QtSendWindow : public QObject, public serial::SendWindow {
public:
  explicit QtSendWindow(TForm1& form);

  void showProgram(const serial::ProgramFile& program) override;
  void clearProgram() override;
  void selectProgramLine(std::size_t index) override;
  void setRemainingLine(const std::string& text) override;
  void setProgress(std::int64_t value, std::int64_t maximum) override;
  void selectMarkedFile(std::size_t index) override;
  void hideTransferPanel() override;
  void startEstimateTimer(serial::TSendTime& worker) override;
  void stopEstimateTimer() override;
  void screenSaverOff() override;
  void closeMainWindow() override;

private:
  TForm1& form_;
  QTimer* estimateTimer_;
  serial::TSendTime* worker_ = nullptr;
  // The view follows the send a few dozen times a second, not line by line:
  // moving the view costs more than sending the line.
  QElapsedTimer sinceViewMoved_;
};

} // namespace kestrovan::core
