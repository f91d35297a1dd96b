#pragma once
// The transfer's screen on the main window: status panels, the message line,
// the transfer view, the signal lamps, the stop keys and the selector dialog.
// While a transfer runs, F3 and Esc are taken here (press and release) and
// never reach a widget; the transfer polls them. A close request meanwhile
// counts as a stop key.

#include "host/Host.h"
#include "serial/ReceiveScreen.h"

#include <QElapsedTimer>
#include <QObject>

#include <functional>

namespace kestrovan::serial {

class QtTransferScreen : public QObject, public ReceiveScreen, public host::BusyOperation {
public:
  explicit QtTransferScreen(host::Host& host);
  ~QtTransferScreen() override;

  // Between begin and end the stop keys belong to the transfer, and the
  // host knows an operation is running.
  void beginTransfer();
  void endTransfer();
  bool transferRunning() const { return running_; }
  // A close request while the transfer runs: it counts as a stop key
  // pressed, so that the transfer ends through its stop path first.
  bool requestStop() override;

  void setStatusPanel(int index, const std::string& text) override;
  void showMessageLine(const std::string& text, MessageColour colour) override;
  void addTransferLine(const std::string& line) override;
  bool askYesNo(const std::string& text) override;
  bool stopKeyDown(StopKeyPoll poll) override;
  bool stopKeyPending() override;
  void releaseStopKeys() override;
  void processPendingEvents() override;
  void sleepMs(int ms) override;
  void setDsrLamp(bool on) override;
  void setCtsLamp(bool on) override;
  void setModemLampsUnknown() override;
  std::optional<std::string> askSelectorNumber() override;

  // What a reception needs besides.
  void setScreenSaverEnabled(bool enabled) override;
  void clearPromptLine() override;
  void showReceivePanel(const std::string& title) override;
  void hideTransferPanel() override;
  void clearTransferView() override;
  void clearProgramList() override;
  void addProgramHeader(const std::string& header) override;
  void setProgress(int value) override;

  // Tests and the selector dialog's owner may replace the dialog.
  using SelectorDialog = std::function<std::optional<std::string>()>;
  void setSelectorDialog(SelectorDialog dialog) { selectorDialog_ = std::move(dialog); }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  host::Host& host_;
  SelectorDialog selectorDialog_;
  // A transfer asks after every character; the window is kept alive and the
  // lamps repainted only as often as anyone could see it.
  QElapsedTimer sinceEvents_;
  static constexpr int kUnknownLamp = 2;
  int dsrShown_ = -1; // -1: not shown since the transfer began; kUnknownLamp: "?"
  int ctsShown_ = -1;
  bool running_ = false;
  bool keyDown_ = false;      // F3 or Esc held now
  bool pressedSince_ = false; // pressed since the last poll
};

} // namespace kestrovan::serial
