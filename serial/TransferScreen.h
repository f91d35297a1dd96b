#pragma once
// What a transfer needs of the screen while it runs on the user-interface
// thread. The main window implements it; tests fake it. Transfers stop only by
// polling the stop keys (F3, Esc) here, and keep the window alive by letting
// pending events run inside their loops. As in the window, a key pressed
// reaches the stop-key polls only once pending events have run.

#include <optional>
#include <string>

namespace kestrovan::serial {

enum class MessageColour { Lime, Red };

// Each stop-key test of a pair: the first asks whether F3 or Esc is held down
// now; the second also counts a press since the previous poll of its kind,
// so a short tap between two polls is not lost. Only the second takes a tap.
enum class StopKeyPoll { DownNow, DownOrPressedSinceLastPoll };

class TransferScreen {
public:
  virtual ~TransferScreen() = default;

  virtual void setStatusPanel(int index, const std::string& text) = 0;
  virtual void showMessageLine(const std::string& text, MessageColour colour) = 0;
  virtual void addTransferLine(const std::string& line) = 0;
  virtual bool askYesNo(const std::string& text) = 0;

  virtual bool stopKeyDown(StopKeyPoll poll) = 0;
  // Whether a stop key is down or was pressed since the last poll, without
  // counting as a poll: a wait on the line ends early for it, and the
  // caller's own test then sees the key.
  virtual bool stopKeyPending() = 0;
  // Reports F3 and Esc as released, so that a stop keypress does not reach
  // the window that has the focus afterwards.
  virtual void releaseStopKeys() = 0;
  virtual void processPendingEvents() = 0;
  // Waits, keeping the window alive.
  virtual void sleepMs(int ms) = 0;

  // DSR: blue when on, red when off. CTS: " ●" when on, " ○" when off.
  virtual void setDsrLamp(bool on) = 0;
  virtual void setCtsLamp(bool on) = 0;
  // A port that cannot know its modem lines (a raw network connection): both
  // lamps say so instead of showing on or off.
  virtual void setModemLampsUnknown() = 0;

  // The selector dialog (TAutoForm, "自動切替"): the number the operator
  // entered with "ＯＮ" (possibly empty), or nothing when he cancelled.
  virtual std::optional<std::string> askSelectorNumber() = 0;
};

} // namespace kestrovan::serial
