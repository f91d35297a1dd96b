#pragma once
// What a reception needs of the screen beyond every transfer's needs: the
// transfer panel with its view of received lines and its list of program
// headers, the progress bar, the prompt line and the screen saver. The main
// window implements it; tests fake it.

#include "serial/TransferScreen.h"

#include <string>

namespace kestrovan::serial {

// The progress bar of a reception runs over the lines since the last write-out.
inline constexpr int kReceiveProgressRange = 1000;

class ReceiveScreen : public TransferScreen {
public:
  // Switched off while the reception runs; the return to idle switches it on.
  virtual void setScreenSaverEnabled(bool enabled) = 0;
  // Empties the prompt line and disables it.
  virtual void clearPromptLine() = 0;

  // The transfer panel as a reception uses it: titled `title` ("受信データ"),
  // 24 pixels from the left, 96 from the top, 650 wide, green, the
  // remaining-data line hidden.
  virtual void showReceivePanel(const std::string& title) = 0;
  virtual void hideTransferPanel() = 0;
  // Empties the view that addTransferLine() fills.
  virtual void clearTransferView() = 0;

  virtual void clearProgramList() = 0;
  // Adds a received program header to the panel's list and selects it.
  virtual void addProgramHeader(const std::string& header) = 0;

  // 0 to kReceiveProgressRange.
  virtual void setProgress(int value) = 0;
};

} // namespace kestrovan::serial
