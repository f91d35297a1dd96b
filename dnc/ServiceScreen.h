#pragma once
// The screen, window and boxes of a transfer that runs without anyone at the
// PC. Nothing is shown; the stop keys are the service's stop request (or a
// deadline for the controller's start signal), and the status panel's state
// becomes the machine's state. Waits keep to slices, so that a stop request
// ends any of them at once.

#include "base/Dialogs.h"
#include "platform/PowerOff.h"
#include "serial/ReceiveScreen.h"
#include "serial/SendWindow.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace kestrovan::dnc {

class ServiceScreen : public serial::ReceiveScreen,
                      public serial::SendWindow,
                      public base::Dialogs,
                      public platform::PowerOff {
public:
  using StateChange = std::function<void(const std::string& state, const std::string& reason)>;
  ServiceScreen(const std::atomic<bool>& stop, StateChange onState)
      : stop_(stop), onState_(std::move(onState)) {}

  // A send that has not started by then stops (the controller never asked).
  void setStartDeadline(std::chrono::steady_clock::time_point deadline) { deadline_ = deadline; }
  bool stopRequested() const;

  // TransferScreen
  void setStatusPanel(int index, const std::string& text) override;
  void showMessageLine(const std::string&, serial::MessageColour) override {}
  void addTransferLine(const std::string&) override {}
  bool askYesNo(const std::string&) override { return false; }
  bool stopKeyDown(serial::StopKeyPoll) override { return stopRequested(); }
  bool stopKeyPending() override { return stopRequested(); }
  void releaseStopKeys() override {}
  void processPendingEvents() override {}
  void sleepMs(int ms) override;
  void setDsrLamp(bool) override {}
  void setCtsLamp(bool) override {}
  void setModemLampsUnknown() override {}
  std::optional<std::string> askSelectorNumber() override { return std::nullopt; }

  // ReceiveScreen
  void setScreenSaverEnabled(bool) override {}
  void clearPromptLine() override {}
  void showReceivePanel(const std::string&) override {}
  void hideTransferPanel() override {}
  void clearTransferView() override {}
  void clearProgramList() override {}
  void addProgramHeader(const std::string&) override {}
  void setProgress(int) override {}

  // SendWindow
  void showProgram(const serial::ProgramFile&) override {}
  void clearProgram() override {}
  void selectProgramLine(std::size_t) override {}
  void setRemainingLine(const std::string&) override {}
  void setProgress(std::int64_t, std::int64_t) override {}
  void selectMarkedFile(std::size_t) override {}
  void startEstimateTimer(serial::TSendTime&) override {}
  void stopEstimateTimer() override {}
  void screenSaverOff() override {}
  void closeMainWindow() override {}

  // Dialogs: no one is there to say yes.
  base::MessageAnswer show(const base::Message& message) override;

  // PowerOff: a service never switches the computer off.
  bool requestPowerOff() override { return false; }

private:
  const std::atomic<bool>& stop_;
  StateChange onState_;
  std::optional<std::chrono::steady_clock::time_point> deadline_;
};

} // namespace kestrovan::dnc
