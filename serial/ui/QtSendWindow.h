#pragma once
// What a send shows on the main window besides the transfer screen: the
// program in the transfer view, the remaining-data line, the progress bar,
// the list of marked files, and the 10-second estimate timer.

#include "serial/SendWindow.h"

#include <QElapsedTimer>
#include <QObject>

class QTimer;

namespace kestrovan::host {
class Host;
}

namespace kestrovan::serial {

class QtSendWindow : public QObject, public SendWindow {
public:
  explicit QtSendWindow(host::Host& host);

  void showProgram(const ProgramFile& program) override;
  void clearProgram() override;
  void selectProgramLine(std::size_t index) override;
  void setRemainingLine(const std::string& text) override;
  void setProgress(std::int64_t value, std::int64_t maximum) override;
  void selectMarkedFile(std::size_t index) override;
  void hideTransferPanel() override;
  void startEstimateTimer(TSendTime& worker) override;
  void stopEstimateTimer() override;
  void screenSaverOff() override;
  void closeMainWindow() override;

private:
  host::Host& host_;
  QTimer* estimateTimer_;
  TSendTime* worker_ = nullptr;
  // The view follows the send a few dozen times a second, not line by line:
  // moving the view costs more than sending the line.
  QElapsedTimer sinceViewMoved_;
};

} // namespace kestrovan::serial
