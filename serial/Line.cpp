#include "serial/Line.h"

#include "base/Dialogs.h"
#include "platform/PortNames.h"
#include "serial/PortProbe.h"
#include "serial/TransferScreen.h"

#include <algorithm>
#include <cerrno>
#include <chrono>

namespace kestrovan::serial {
namespace {

using platform::PortStatus;

constexpr const char* kSelectorError = "自動選択番号の入力が間違っています。\n通信を一旦中止します。";

} // namespace

std::string openFailureMessage(OpenFailure failure, const std::string& portName) {
  switch (failure) {
  case OpenFailure::None: return "";
  case OpenFailure::PortNotOpened: return portName + "のポートが開きません。!!";
  case OpenFailure::Speed: return "通信設定（速度）を確認してください!!";
  case OpenFailure::ConfigurationRefused: return "通信速度の設定エラー!!";
  case OpenFailure::TimeoutsRefused: return "タイムアウト!!";
  case OpenFailure::PurgeFailed: return "回線初期化エラー!!";
  case OpenFailure::Other: return "通信エラー!!";
  case OpenFailure::Selector: return kSelectorError;
  }
  return "";
}

Line::Line(const base::SettingsRecord& settings, PortOpener& ports, TransferScreen& screen,
           base::Dialogs& dialogs)
    : settings_(settings), ports_(ports), screen_(screen), dialogs_(dialogs) {}

Line::~Line() = default;

OpenFailure Line::open(TransferMode mode) {
  OpenFailure failure = openSteps(mode);
  // The selector step shows its own dialog; every other failure is a plain box.
  if (failure != OpenFailure::None && failure != OpenFailure::Selector) {
    std::string message = openFailureMessage(failure, settings_.Port);
    // Which device, and why: missing, in use, or not allowed.
    if (const std::string why = portProblemText(portCheck_);
        failure == OpenFailure::PortNotOpened && !why.empty())
      message += "\n" + why;
    dialogs_.show({"", message, base::MessageButtons::Ok, base::MessageIcon::None});
  }
  return failure;
}

OpenFailure Line::openSteps(TransferMode mode) {
  close();
  state = TransferState{};
  state.mode = mode;
  inputHeldOff_ = false;
  lineLost_ = false;
  queuedAtMost_ = kOutputQueueLimit; // unknown until read

  portCheck_ = {};
  std::optional<int> number = platform::portNumber(settings_.Port);
  if (!number) return OpenFailure::PortNotOpened;
  platform::SerialPortOpen opened = ports_.open(*number);
  if (!opened.port) {
    portCheck_ = {problemOfOpenError(opened.error), ports_.deviceName(*number), opened.error};
    if (portCheck_.problem == PortProblem::None) portCheck_.problem = PortProblem::Other;
    return OpenFailure::PortNotOpened;
  }
  port_ = std::move(opened.port);
  // A network port connects now; a host that does not answer ends the opening
  // after kConnectLimitMs, naming host and port.
  if (const int error = settlePort(kConnectLimitMs); error != 0) {
    portCheck_ = {problemOfOpenError(error), ports_.deviceName(*number), error};
    if (portCheck_.problem == PortProblem::None) portCheck_.problem = PortProblem::Other;
    return OpenFailure::PortNotOpened;
  }

  LineSettingsParse parsed = parseLineSettings(settings_.Speed);
  if (parsed.error == LineSettingsError::Speed) return OpenFailure::Speed;
  if (!parsed.settings) return OpenFailure::Other;
  line_ = *parsed.settings;

  const bool send = mode == TransferMode::Send;
  platform::LineConfig config;
  config.speed = line_.speed;
  config.dataBits = line_.dataBits;
  config.parity = line_.parity;
  config.stopBits = line_.stopBits;
  config.direction = send ? platform::LineDirection::Send : platform::LineDirection::Receive;
  config.xonChar = kDc1;
  config.xoffChar = settings_.DC3_0X93 == "Y" ? kDc3Iso : kDc3;
  if (port_->configure(config) != PortStatus::Ok) return OpenFailure::ConfigurationRefused;
  // DTR and RTS are part of the configuration; a device without modem lines
  // (a pseudo-terminal) has nothing to raise, which is no refusal.
  if (settings_.op1 == "Y" || settings_.AutoSelect == "Y")
    if (port_->raiseDtr() == PortStatus::Failed) return OpenFailure::ConfigurationRefused;
  if (settings_.AutoSelect == "Y")
    if (port_->raiseRts() == PortStatus::Failed) return OpenFailure::ConfigurationRefused;

  // The device itself waits at most a slice; the line makes up the totals.
  timeouts_.readTotalMs = send ? kSendReadTimeoutMs : kReceiveReadTimeoutMs;
  timeouts_.writeTotalMs = send ? platform::kWaitForever : kReceiveWriteTimeoutMs;
  platform::Timeouts slice{std::min(timeouts_.readTotalMs, kWaitSliceMs), kWaitSliceMs};
  if (port_->setTimeouts(slice) != PortStatus::Ok) return OpenFailure::TimeoutsRefused;

  port_->setBufferSizes(kDriverBufferBytes, kDriverBufferBytes); // a refusal changes nothing
  if (port_->purge() != PortStatus::Ok) return OpenFailure::PurgeFailed;
  // A device server acknowledges the settings (or its time-out passes).
  if (settlePort(kConnectLimitMs) != 0) return OpenFailure::ConfigurationRefused;
  showModemLines();

  if (settings_.AutoSelect == "Y" && !runSelector()) return OpenFailure::Selector;
  return OpenFailure::None;
}

// Waits, a slice at a time with the window alive, for the port to be ready:
// 0, or the errno that ended the wait (ETIMEDOUT after `limitMs`, ECANCELED
// when the operator stopped).
int Line::settlePort(int limitMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  for (;;) {
    const platform::Settle settled = port_->settle(kWaitSliceMs);
    if (settled.status == platform::SettleStatus::Ready) return 0;
    if (settled.status == platform::SettleStatus::Failed) return settled.error != 0 ? settled.error : EIO;
    if (std::chrono::steady_clock::now() >= deadline) return ETIMEDOUT;
    screen_.processPendingEvents();
    if (screen_.stopKeyPending()) return ECANCELED;
  }
}

bool Line::runSelector() {
  state.raw = true;
  std::optional<std::string> number = screen_.askSelectorNumber();
  if (!number || number->empty()) {
    dialogs_.show({"エラー", kSelectorError, base::MessageButtons::Ok, base::MessageIcon::Error});
    state.raw = false;
    return false;
  }
  // The switch reads each digit as it comes; "-" gives it time to settle
  // before the next stage of a tree of switches.
  for (char c : *number) {
    if (c == '-')
      screen_.sleepMs(kSelectorPauseMs);
    else
      writeChar(static_cast<unsigned char>(c));
  }
  screen_.sleepMs(kSelectorPauseMs);
  state.raw = false;
  return true;
}

void Line::close() {
  port_.reset();
  inputHeldOff_ = false;
}

platform::ModemStatus Line::modemStatus() {
  if (!port_) return {};
  return port_->modemLines();
}

void Line::showModemLines() { showModemLines(modemStatus()); }

void Line::showModemLines(const platform::ModemStatus& modem) {
  if (modem.status == PortStatus::Failed) return;
  if (!modemLinesKnown()) {
    // The lines read as on so that the rules let the bytes through; the
    // lamps must not claim it.
    screen_.setModemLampsUnknown();
    return;
  }
  screen_.setDsrLamp(modem.lines.dsr);
  screen_.setCtsLamp(modem.lines.cts);
}

void Line::setSliceTimeouts(int readMs) {
  port_->setTimeouts({std::min(readMs, kWaitSliceMs), kWaitSliceMs});
}

unsigned char Line::readChar() { return readWithin(timeouts_.readTotalMs); }

// Waits up to `totalMs` for a byte, a slice at a time. Between slices the
// window runs, and a stop key ends the wait at once (the caller's own test
// sees it); so does a device that has hung up.
unsigned char Line::readWithin(int totalMs) {
  lastReadTimedOut_ = false;
  lastByteAsRead_.reset();
  if (!port_ || lineLost_) return 0;
  for (int waited = 0;;) {
    const platform::ReadResult read = port_->readByte();
    regulateInput();
    if (read.status == platform::ReadStatus::Byte) {
      lastByteAsRead_ = read.byte;
      return decode(read.byte);
    }
    if (read.status == platform::ReadStatus::Failed) {
      lineLost_ = true;
      return 0;
    }
    waited += std::min(totalMs, kWaitSliceMs);
    if (waited >= totalMs) {
      lastReadTimedOut_ = true;
      return 0;
    }
    screen_.processPendingEvents();
    if (screen_.stopKeyPending()) return 0;
  }
}

unsigned char Line::decode(unsigned char b) {
  if (b == kDc1) {
    state.ready = true;
    return kDc1;
  }
  // 0x13 is EIA's digit "3" only on a line read as EIA alone; a seven-bit
  // line (both flags) delivers an NC's DC3 as 0x13 and nothing else.
  const bool eiaOnly = state.code.eia && !state.code.iso;
  if ((b == kDc3 && !eiaOnly) || b == kDc3Iso) {
    state.ready = false;
    return kDc3;
  }
  if (b == 0 || b == kDc2 || b == kDc4) return b;
  return decodeReceived(b, state.code);
}

// While receiving, the NC is held off when unread input backs up, as a driver
// with automatic XON/XOFF on input would do; the driver's own IXOFF stays off
// because its companion IXON would swallow received data (SerialPort_posix.cpp).
// These writes never wait: a full output queue only delays the next one.
void Line::regulateInput() {
  if (state.mode != TransferMode::Receive || lineLost_) return;
  platform::QueueLength waiting = port_->inputQueueLength();
  if (waiting.status != PortStatus::Ok) return;
  if (!inputHeldOff_ && waiting.bytes > kInputHoldOffBytes) {
    if (port_->writeByte(settings_.DC3_0X93 == "Y" ? kDc3Iso : kDc3) == platform::WriteStatus::Written)
      inputHeldOff_ = true;
  } else if (inputHeldOff_ && waiting.bytes < kInputHoldOffBytes) {
    if (port_->writeByte(kDc1) == platform::WriteStatus::Written) inputHeldOff_ = false;
  }
}

// While the NC lets us send, the flow check only looks at what has arrived
// already: waiting out the read time-out there every ten characters would cap
// a send at a thousand characters a second, slower than a 19,200-baud line.
// A DC3 that comes meanwhile is seen at the next check, ten characters later.
// Held off, the check waits the full time-out for the NC's DC1.
unsigned char Line::readForFlowCheck() {
  if (!state.ready) return readChar();
  setSliceTimeouts(0);
  const unsigned char c = readWithin(0);
  setSliceTimeouts(timeouts_.readTotalMs);
  return c;
}

bool Line::stopRequested(StopKeyPoll poll) {
  if (!screen_.stopKeyDown(poll)) return false;
  screen_.releaseStopKeys();
  state.abort = true;
  return true;
}

// One pair of stop-key tests around the event processing.
bool Line::stopKeysPolled() {
  if (stopRequested(StopKeyPoll::DownNow)) return true;
  screen_.processPendingEvents();
  return stopRequested(StopKeyPoll::DownOrPressedSinceLastPoll);
}

// The queue only shrinks between our writes, so it is read again only when
// what it held plus what went in since could have reached the limit: a fast
// line is asked once every few hundred bytes, a slow one before each. False
// when the operator stopped or the line was lost meanwhile.
bool Line::waitForOutputRoom() {
  if (queuedAtMost_ < kOutputQueueLimit) return true;
  for (;;) {
    platform::QueueLength queued = port_->outputQueueLength();
    screen_.processPendingEvents();
    if (queued.status != PortStatus::Ok) {
      queuedAtMost_ = 0; // no queue to see: as before, nothing to wait for
      return true;
    }
    queuedAtMost_ = queued.bytes;
    if (queued.bytes < kOutputQueueLimit) return true;
    if (stopRequested(StopKeyPoll::DownOrPressedSinceLastPoll)) return false;
    screen_.sleepMs(1); // a byte leaves in a millisecond or two
  }
}

// The carrier and DSR rules; false when the byte must not be written.
bool Line::modemAllowsWrite() {
  platform::ModemStatus modem = port_->modemLines();
  if (modem.status == PortStatus::Failed) return true;
  if (!modem.lines.carrier && settings_.Signal == "Y" && state.mode == TransferMode::Send)
    state.abort = true; // the byte still goes out; the send stops after it
  if (!modemLinesKnown()) {
    screen_.setModemLampsUnknown();
    return true;
  }
  screen_.setDsrLamp(modem.lines.dsr);
  if (!modem.lines.dsr && settings_.op6 == "Y") {
    state.abort = true;
    return false;
  }
  screen_.setCtsLamp(modem.lines.cts);
  return true;
}

// Hands the byte to the driver, a slice at a time, for at most `totalMs`
// (kWaitForever: for as long as the NC holds the line). Between slices the
// window runs; with `stopKeysEnd` a stop key ends the wait. A refused or
// timed-out write, or a lost line, sets the abort flag.
bool Line::writeByteWithin(unsigned char byte, int totalMs, bool stopKeysEnd) {
  for (int waited = 0;;) {
    const platform::WriteStatus status = port_->writeByte(byte);
    if (status == platform::WriteStatus::Written) return true;
    if (status == platform::WriteStatus::Failed) {
      lineLost_ = true;
      state.abort = true;
      return false;
    }
    waited += kWaitSliceMs;
    if (totalMs != platform::kWaitForever && waited >= totalMs) {
      state.abort = true;
      return false;
    }
    if (stopKeysEnd && stopKeysPolled()) return false;
    if (!stopKeysEnd) screen_.processPendingEvents();
  }
}

// In this order: blanks dropped on request; conversion to the line's code;
// every ten characters of a send, wait here while the NC holds us off (DC3
// until DC1); wait for room in the driver's output queue so that a pause
// takes effect within a bounded number of bytes; the carrier and DSR rules;
// then the byte.
void Line::writeChar(unsigned char c) {
  if (!port_ || lineLost_) {
    state.abort = true;
    return;
  }
  if (settings_.Send_SP_Cut == "Y" && c == ' ') return;

  unsigned char byte = c;
  if (!state.raw && line_.dataBits == 8) {
    if (settings_.Code == "Y") {
      std::optional<unsigned char> eia = eiaEncode(c);
      if (!eia) return; // EIA has no code for it: it is not sent at all
      byte = *eia;
    } else {
      byte = isoEncode(c);
    }
  }

  if (state.mode == TransferMode::Send && state.flowCount > kFlowCheckAfter) {
    for (;;) {
      if (stopRequested(StopKeyPoll::DownNow)) return;
      readForFlowCheck();
      if (lineLost_) {
        state.abort = true;
        return;
      }
      screen_.processPendingEvents();
      if (stopRequested(StopKeyPoll::DownOrPressedSinceLastPoll)) return;
      if (state.ready) break;
    }
    state.flowCount = 0;
  } else if (stopKeysPolled()) {
    return;
  }

  if (!waitForOutputRoom()) return;
  if (!modemAllowsWrite()) return;
  if (!writeByteWithin(byte, timeouts_.writeTotalMs, true)) return;
  ++state.flowCount;
  ++queuedAtMost_;
}

void Line::writeEndOfData() {
  if (!port_ || lineLost_) {
    state.abort = true;
    return;
  }
  // DC4 is the same byte in ISO, in EIA and on a seven-bit line.
  if (!modemAllowsWrite()) return;
  if (writeByteWithin(kDc4, kEndWriteLimitMs, false)) {
    ++state.flowCount;
    ++queuedAtMost_;
  }
}

} // namespace kestrovan::serial
