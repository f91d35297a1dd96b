#include "serial/SendJob.h"

#include "base/Dialogs.h"
#include "platform/Cp932.h"
#include "platform/Paths.h"
#include "platform/PowerOff.h"
#include "serial/Line.h"
#include "serial/NcCode.h"
#include "serial/SendTexts.h"
#include "serial/SendWindow.h"
#include "serial/TransferLog.h"
#include "serial/TransferScreen.h"

namespace kestrovan::serial {
namespace {

constexpr int kNamePanel = 0;
constexpr int kPanel2 = 2;
constexpr int kStatePanel = 3;

// The end of a job must reach the operator even when one of its own steps
// fails: each step of the error path is tried on its own.
template <typename Step> void tryStep(Step step) noexcept {
  try {
    step();
  } catch (...) {
  }
}

// DC1 to DC4, with or without the parity bit: the NC's flow signals, no
// part of a program.
bool isFlowByte(unsigned char b) { return (b & 0x7F) >= 0x11 && (b & 0x7F) <= 0x14; }

} // namespace

SendJob::SendJob(SendJobParts parts, SendRequest request) : p_(parts), request_(std::move(request)) {
  // SendMsg1 is held as UTF-8 like every setting; the file it is looked for
  // in is Shift-JIS.
  rules_.unwanted = platform::utf8ToCp932(p_.settings.SendMsg1);
  rules_.cutAtRemark = p_.settings.MSG_OP == "N";
}

std::string SendJob::currentPath() const { return platform::joinPath(p_.settings.DirPath, name_); }

void SendJob::load(const std::string& name) {
  name_ = name;
  currentLogged_ = false;
  program_ = loadProgramFile(currentPath(), [this] { return askWrongFormat(p_.dialogs); });
  p_.window.showProgram(program_);
}

std::uint64_t SendJob::loadFirstFile() {
  if (request_.files.empty()) return 0;
  position_ = request_.marked ? 1 : 0;
  load(request_.files.front());
  if (request_.marked) p_.window.selectMarkedFile(0);
  return program_.size;
}

void SendJob::showName() { p_.screen.setStatusPanel(kNamePanel, kSendNamePrefix + name_); }

void SendJob::logCurrent(bool completed) {
  if (currentLogged_) return;
  currentLogged_ = true;
  p_.log.record(completed ? TransferOutcome::SendCompleted : TransferOutcome::SendStopped, currentPath());
  if (completed) ++filesCompleted_;
}

SendResult SendJob::run() {
  try {
    return runSteps();
  } catch (...) {
    return failed();
  }
}

SendResult SendJob::runSteps() {
  if (p_.line.open(TransferMode::Send) != OpenFailure::None) return stopped();
  if (program_.text.empty()) return stopped();
  p_.window.screenSaverOff();
  p_.line.state.code = sendCodeFlags(p_.line.lineSettings().dataBits, p_.settings.Code);
  if (p_.pendingSend == "N") showName(); // a command-line send has shown it already
  p_.pendingSend = "N";
  counters_.startFile(static_cast<std::int64_t>(program_.size));
  p_.line.state.abort = false;

  switch (waitForStart()) {
  case Flow::Go: break;
  case Flow::Stop: return stopped();
  case Flow::Punched: {
    const std::optional<unsigned char> first = p_.line.lastByteAsRead();
    SendResult result = stopped(false);
    result.punchedBeforeStart = first;
    return result;
  }
  }

  p_.screen.setStatusPanel(kStatePanel, kSending);
  counters_.sent = 0;
  p_.window.setProgress(0, counters_.total);
  p_.window.startEstimateTimer(sendTime_);

  if (leader() == Flow::Stop) return stopped();
  if (writeAll(startCharacters(p_.settings.StartChar, p_.settings.StartChar_Type)) == Flow::Stop)
    return stopped();
  // Further marked files follow in the same stream: no leader, no start
  // characters between them.
  do {
    if (sendLines() == Flow::Stop) return stopped();
  } while (nextFile());
  if (writeAll(endCharacters(p_.settings.EndChar, p_.settings.EndChar_Type)) == Flow::Stop) return stopped();
  return completed();
}

// The NC starts the send with DC1 or "%" (Signal "Y"), or the operator does
// once the NC is prepared.
SendJob::Flow SendJob::waitForStart() {
  Line& line = p_.line;
  TransferScreen& screen = p_.screen;
  if (p_.settings.Signal != "Y") {
    line.state.ready = true;
    line.showModemLines();
    const base::MessageAnswer answer =
        p_.dialogs.show({"警告", kNcReadyQuestion, base::MessageButtons::YesNo, base::MessageIcon::Warning});
    if (answer != base::MessageAnswer::Yes) return Flow::Stop;
    showName();
    return Flow::Go;
  }

  screen.setStatusPanel(kStatePanel, kSendWaitingSignal);
  const bool ncMayStop = p_.settings.op2 == "Y";
  for (;;) {
    if (screen.stopKeyDown(StopKeyPoll::DownNow)) break;
    const unsigned char c = line.readChar();
    if (screen.stopKeyDown(StopKeyPoll::DownOrPressedSinceLastPoll)) break;
    if (line.lineLost()) return Flow::Stop;
    screen.processPendingEvents();
    if (c == kDc1 || (c == '%' && !request_.startOnDc1Only)) {
      screen.setStatusPanel(kStatePanel, kSending);
      line.state.flowCount = kFlowCheckNow;
      line.state.ready = true;
      return Flow::Go;
    }
    if (ncMayStop && (c == kDc3 || c == kDc4)) return Flow::Stop;
    if (request_.startOnDc1Only && line.lastByteAsRead() && !isFlowByte(*line.lastByteAsRead()))
      return Flow::Punched;
    line.showModemLines();
  }
  screen.releaseStopKeys();
  return Flow::Stop;
}

SendJob::Flow SendJob::write(unsigned char c) {
  p_.line.writeChar(c);
  return p_.line.state.abort ? Flow::Stop : Flow::Go;
}

SendJob::Flow SendJob::writeAll(const std::string& chars) {
  for (char c : chars)
    if (write(static_cast<unsigned char>(c)) == Flow::Stop) return Flow::Stop;
  return Flow::Go;
}

// Send_Before: 1 a leader of blanks (which Send_SP_Cut drops again), 2 a
// pause for an NC that needs time after its DC1.
SendJob::Flow SendJob::leader() {
  if (p_.settings.Send_Before == 1) {
    for (int i = 0; i < kLeaderBlanks; ++i)
      if (write(' ') == Flow::Stop) return Flow::Stop;
  } else if (p_.settings.Send_Before == 2) {
    p_.screen.sleepMs(kLeaderPauseMs);
  }
  return Flow::Go;
}

// The lines of the current file. Each line counts as its bytes in the file
// including its line end, whatever that is, so the count reaches the end of
// the text exactly after the last line: a last line without a line end, LF
// and CR LF files are all sent whole and once.
SendJob::Flow SendJob::sendLines() {
  const int pauseAfterChar = p_.settings.InvTime;
  const std::int64_t total = counters_.total;
  std::int64_t sent = 0;
  p_.line.state.flowCount = 0;
  ProgramLines lines(program_.text);
  ProgramLine line;
  for (std::size_t index = 0; lines.next(line); ++index) {
    p_.window.selectProgramLine(index);
    const LineToSend out = lineToSend(line.text, rules_);
    if (!out.skip) {
      for (char c : out.chars) {
        if (write(static_cast<unsigned char>(c)) == Flow::Stop) return Flow::Stop;
        if (pauseAfterChar > 0) p_.screen.sleepMs(pauseAfterChar);
      }
      if (write('\n') == Flow::Stop) return Flow::Stop;
    }
    sent += static_cast<std::int64_t>(line.text.size() + line.endBytes);
    counters_.sent = sent;
    // Some controllers need a moment at the end of a (sub)program.
    if (endsProgram(line.text)) p_.screen.sleepMs(kProgramEndPauseMs);
    p_.window.setRemainingLine(remainingDataLine(total, sent, counters_.estimate));
    p_.window.setProgress(sent, total);
  }
  return Flow::Go;
}

void SendJob::startFile() {
  counters_.startFile(static_cast<std::int64_t>(program_.size));
  p_.window.setRemainingLine(remainingBytesLine(counters_.total));
  showName();
  p_.window.setProgress(0, counters_.total);
  p_.window.startEstimateTimer(sendTime_);
}

// The end of a file. With marks left, the next one is loaded and becomes the
// current file. One that leaves nothing to send (missing, unreadable or
// empty) is passed over at once and logged as not sent.
bool SendJob::nextFile() {
  p_.window.stopEstimateTimer();
  p_.window.setRemainingLine(remainingBytesLine(0));
  if (!request_.marked || position_ >= request_.files.size()) return false;
  logCurrent(true);
  while (position_ < request_.files.size()) {
    ++position_;
    p_.window.clearProgram();
    load(request_.files[position_ - 1]);
    p_.window.selectMarkedFile(position_ - 1);
    startFile();
    if (!program_.text.empty()) return true;
    logCurrent(false);
    skipped_.push_back(name_);
    p_.window.stopEstimateTimer();
    p_.window.setRemainingLine(remainingBytesLine(0));
  }
  return false;
}

void SendJob::endOfTransfer(const char* status, bool completed) {
  p_.screen.setStatusPanel(kStatePanel, status);
  p_.window.clearProgram();
  p_.window.hideTransferPanel();
  p_.screen.showMessageLine(std::string(status) + "!!", completed ? MessageColour::Lime : MessageColour::Red);
}

SendResult SendJob::completed() {
  SendResult result;
  logCurrent(true);
  p_.screen.sleepMs(kCompletedLingerMs);
  p_.line.close();
  if (request_.exitAfterTransfer) {
    result.closingProgram = true;
    p_.window.closeMainWindow();
    if (p_.settings.Power_Off == "Y") {
      result.powerOffRequested = true;
      p_.powerOff.requestPowerOff();
    }
  }
  endOfTransfer(kSendCompleted, true);
  if (!skipped_.empty()) {
    // Completed, but not everything went: the message line says which.
    std::string names;
    for (const std::string& n : skipped_)
      names += (names.empty() ? "" : " ") + n;
    p_.screen.showMessageLine(std::string(kSendCompleted) + "!! " + kSendSkipped + names, MessageColour::Red);
  }
  p_.window.setProgress(0, counters_.total);
  p_.screen.setStatusPanel(kNamePanel, "");
  p_.screen.setStatusPanel(kPanel2, "");
  position_ = 0;
  result.outcome = SendOutcome::Completed;
  result.returnToIdleAfterMs = kReturnToIdleAfterCompletedMs;
  result.clearMarks = true;
  result.filesCompleted = filesCompleted_;
  result.skippedFiles = skipped_;
  return result;
}

// The NC is told the data has ended (DC4), whatever state the send was in;
// on a line that was lost there is no one to tell.
SendResult SendJob::stopped(bool tellNc) {
  Line& line = p_.line;
  line.state.ready = true; // the DC4 must not wait for the NC's DC1
  line.state.flowCount = 0;
  const bool lost = line.lineLost();
  if (tellNc) line.writeEndOfData();
  p_.window.stopEstimateTimer();
  line.close();
  p_.screen.setStatusPanel(kNamePanel, "");
  p_.screen.setStatusPanel(kPanel2, "");
  endOfTransfer(kSendStopped, false);
  logCurrent(false);
  p_.window.setProgress(0, counters_.total);
  position_ = 0;
  SendResult result;
  result.outcome = SendOutcome::Stopped;
  result.returnToIdleAfterMs = kReturnToIdleAfterStoppedMs;
  result.clearMarks = true;
  result.filesCompleted = filesCompleted_;
  result.skippedFiles = skipped_;
  result.lineLost = lost;
  return result;
}

// Something failed that no step expects: end without touching the line any
// more (no DC4), keep the marks so the operator can send them again.
SendResult SendJob::failed() {
  tryStep([&] { logCurrent(false); });
  tryStep([&] { p_.window.stopEstimateTimer(); });
  tryStep([&] { p_.line.close(); });
  tryStep([&] { p_.screen.setStatusPanel(kStatePanel, kSendStopped); });
  tryStep([&] { p_.window.clearProgram(); });
  tryStep([&] { p_.window.hideTransferPanel(); });
  tryStep([&] { p_.screen.showMessageLine(std::string(kSendStopped) + "!!", MessageColour::Red); });
  tryStep([&] { p_.window.setProgress(0, counters_.total); });
  SendResult result;
  result.outcome = SendOutcome::Failed;
  result.returnToIdleAfterMs = kReturnToIdleAfterStoppedMs;
  result.clearMarks = false;
  result.filesCompleted = filesCompleted_;
  return result;
}

} // namespace kestrovan::serial
