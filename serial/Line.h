#pragma once
// The RS-232C line to the NC for one transfer: opening it for a send or a
// receive (with the selector step of an external port switch), reading and
// writing single characters with the program's own DC1/DC3 flow control, the
// modem-line lamps, and closing. Runs on the user-interface thread. No wait
// on the line lasts longer than a slice: between slices the screen processes
// its events and the stop keys are looked at, so a quiet or stalled NC never
// freezes the window. A line that hangs up is lost for the rest of the
// transfer: reads give 0 and writes set the abort flag at once.

#include "base/SettingsRecord.h"
#include "platform/SerialPort.h"
#include "serial/LineSettings.h"
#include "serial/NcCode.h"
#include "serial/PortProbe.h"
#include "serial/TransferScreen.h"

#include <memory>
#include <optional>
#include <string>

namespace kestrovan::base {
class Dialogs;
}
namespace kestrovan::serial {

class PortOpener;

enum class TransferMode { Send, Receive };

// Reset by every opening; the send and receive jobs set the code flags and
// the ready flag themselves, and look at the abort flag after every write.
struct TransferState {
  TransferMode mode = TransferMode::Send;
  CodeFlags code;
  bool ready = false; // the NC allows sending: set by DC1, cleared by DC3
  bool abort = false; // a write was refused, a modem rule tripped, or the operator stopped
  bool raw = false;   // characters go out unconverted (the selector digits)
  int flowCount = 0;  // characters written since the last flow check
};

inline constexpr int kFlowCheckAfter = 9;     // a flow check follows more than this many characters
inline constexpr int kOutputQueueLimit = 259; // the writer waits while the driver holds this many
inline constexpr int kSendReadTimeoutMs = 10;
inline constexpr int kReceiveReadTimeoutMs = 1000;
inline constexpr int kReceiveWriteTimeoutMs = 1000;
inline constexpr int kDriverBufferBytes = 4096;
// While receiving the NC is held off (XOFF) when more than this many bytes
// wait unread, and let go (XON) when fewer do again.
inline constexpr int kInputHoldOffBytes = 1024;
inline constexpr int kSelectorPauseMs = 3000;
// The longest the line waits on the device in one go.
inline constexpr int kWaitSliceMs = 50;
// How long the DC4 that ends a transfer may wait for the NC to take it.
inline constexpr int kEndWriteLimitMs = 1000;
// The longest an opening waits for a network port's device server to answer.
inline constexpr int kConnectLimitMs = 5000;

enum class OpenFailure {
  None,
  PortNotOpened,        // "<Port>のポートが開きません。!!"
  Speed,                // "通信設定（速度）を確認してください!!"
  ConfigurationRefused, // "通信速度の設定エラー!!"
  TimeoutsRefused,      // "タイムアウト!!"
  PurgeFailed,          // "回線初期化エラー!!"
  Other,                // "通信エラー!!"
  Selector,             // the selector step's own message
};

// The text the operator sees for a failed opening (Selector: its dialog text).
std::string openFailureMessage(OpenFailure failure, const std::string& portName);

class Line {
public:
  Line(const base::SettingsRecord& settings, PortOpener& ports, TransferScreen& screen,
       base::Dialogs& dialogs);
  ~Line();
  Line(const Line&) = delete;
  Line& operator=(const Line&) = delete;

  TransferState state;

  // Opens Port for `mode`. A failure has been shown to the operator when this
  // returns; the port may still be open, and the caller's stop path closes it.
  OpenFailure open(TransferMode mode);
  void close();
  bool isOpen() const { return port_ != nullptr; }

  // One received character, converted from the line's code (detecting it
  // first when neither code flag is set); 0 when nothing came within the read
  // time-out or the read failed. DC1 sets the ready flag, DC3 (0x93 always,
  // 0x13 unless the EIA flag is set) clears it and reads as 0x13.
  unsigned char readChar();
  // Whether the last readChar() gave 0 because nothing came within the read
  // time-out, as opposed to a byte that read as nothing (an EIA byte that is
  // no code). A reception tells silence on the line from noise by it.
  bool lastReadTimedOut() const { return lastReadTimedOut_; }
  // The byte the last read took off the line, before any conversion; none
  // when it read nothing.
  std::optional<unsigned char> lastByteAsRead() const { return lastByteAsRead_; }

  // Writes one character the way a send writes it; see Line.cpp for the
  // order of the checks. The caller looks at state.abort afterwards.
  void writeChar(unsigned char c);
  // The DC4 that tells the NC the data has ended, on a job's end path: the
  // same conversion and modem rules, but no flow check, no stop keys (the
  // operator may just have pressed one), and no longer than
  // kEndWriteLimitMs, so that the end path always ends.
  void writeEndOfData();

  // The device hung up or vanished during this opening (a pulled cable, an
  // unplugged adapter): nothing more can be read or written.
  bool lineLost() const { return lineLost_; }

  // The total time-outs of the opened line: a read gives 0 after
  // readTotalMs without a byte, a write gives up after writeTotalMs.
  const platform::Timeouts& timeouts() const { return timeouts_; }
  // The DSR and CTS lamps from the current modem status, when it can be read;
  // "unknown" for a port that cannot know its modem lines.
  void showModemLines();
  // The lamps from a status already read.
  void showModemLines(const platform::ModemStatus& modem);
  // False for a port that cannot know its modem lines (raw TCP).
  bool modemLinesKnown() const { return !port_ || port_->modemLinesKnown(); }
  // Modem status of the open line; Failed when it cannot be read (or closed).
  platform::ModemStatus modemStatus();

  // The settings parsed by the last opening.
  const LineSettings& lineSettings() const { return line_; }

private:
  OpenFailure openSteps(TransferMode mode);
  bool runSelector();
  int settlePort(int limitMs);
  bool stopRequested(StopKeyPoll poll);
  bool stopKeysPolled();
  void regulateInput();
  unsigned char readForFlowCheck();
  unsigned char readWithin(int totalMs);
  unsigned char decode(unsigned char b);
  bool waitForOutputRoom();
  bool modemAllowsWrite();
  bool writeByteWithin(unsigned char byte, int totalMs, bool stopKeysEnd);
  void setSliceTimeouts(int readMs);

  const base::SettingsRecord& settings_;
  PortOpener& ports_;
  TransferScreen& screen_;
  base::Dialogs& dialogs_;
  std::unique_ptr<platform::SerialPort> port_;
  LineSettings line_;
  platform::Timeouts timeouts_;
  int queuedAtMost_ = kOutputQueueLimit; // the output queue's length can be no more than this
  bool inputHeldOff_ = false;
  bool lastReadTimedOut_ = false;
  std::optional<unsigned char> lastByteAsRead_;
  bool lineLost_ = false;
  PortCheck portCheck_; // why the port did not open, for the message
};

} // namespace kestrovan::serial
