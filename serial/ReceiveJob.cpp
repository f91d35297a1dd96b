#include "serial/ReceiveJob.h"

#include "base/SettingsRecord.h"
#include "serial/Line.h"
#include "serial/ReceiveScreen.h"
#include "serial/ReceivedLineAssembler.h"
#include "serial/TransferLog.h"

#include <cstring>
#include <exception>

namespace kestrovan::serial {
namespace {

// The characters with which an NC's data can begin.
constexpr const char* kStartCharacters = "%OP:LNG$";

enum class Next { EndOfData, OperatorStop, Failed, LineLost };

constexpr const char* kLineLostDetail = "the line hung up (cable, adapter or NC gone)";

SaveOptions saveOptions(const base::SettingsRecord& settings, const ReceiveRequest& request) {
  SaveOptions options = saveOptionsFrom(settings);
  options.beforePutInPlace = request.beforePutInPlace;
  return options;
}

class Reception {
public:
  Reception(const base::SettingsRecord& settings, Line& line, ReceiveScreen& screen, TransferLog& log,
            const ReceiveRequest& request)
      : settings_(settings), line_(line), screen_(screen), log_(log), request_(request),
        saver_(request.mode, saveOptions(settings, request)),
        assembler_({settings.Read_SP_Cut == "N", settings.O_Change == "Y"}) {
    saver_.onViewLine = [this](const std::string& l) { screen_.addTransferLine(l); };
    saver_.onViewEmptied = [this] { screen_.clearTransferView(); };
  }

  ReceiveOutcome run() {
    try {
      return runSteps();
    } catch (const std::exception& e) {
      // Out of memory or a library failure: end like a failed write.
      saver_.onViewLine = nullptr;
      saver_.onViewEmptied = nullptr;
      return failed(e.what());
    }
  }

private:
  ReceiveOutcome runSteps() {
    screen_.setScreenSaverEnabled(false);
    screen_.showMessageLine("", MessageColour::Lime);
    screen_.clearPromptLine();
    screen_.showReceivePanel(kReceivePanelTitle);
    screen_.clearProgramList();

    if (request_.mode == SaveMode::ByName) {
      if (!saver_.startByName(request_.target.path)) return failed(saver_.error());
      screen_.setStatusPanel(0, "受信名 " + request_.target.name);
    } else {
      screen_.setStatusPanel(0, "受信名 自動保存");
    }

    if (line_.open(TransferMode::Receive) != OpenFailure::None) return stopped();
    line_.state.code = receiveCodeFlags(settings_.R_Code);
    line_.state.ready = true;
    screen_.setStatusPanel(3, kReceiveWaitingText);

    unsigned char first = 0;
    switch (waitForStart(first)) {
    case Next::OperatorStop: return stopped();
    case Next::LineLost: return lineLost();
    default: break;
    }
    switch (receive(first)) {
    case Next::EndOfData: return saved(true);
    case Next::OperatorStop: return settings_.op5 == "Y" ? saved(false) : stopped();
    case Next::LineLost: return lineLost();
    case Next::Failed: break;
    }
    return failed(saver_.error());
  }

  // One stop-key test; a key that is down is reported released at once.
  bool stopKey(StopKeyPoll poll) {
    if (!screen_.stopKeyDown(poll)) return false;
    screen_.releaseStopKeys();
    return true;
  }

  // EndOfData when the data has begun (`first` is its first character).
  // Every pass lets the window run, whatever the line brought.
  Next waitForStart(unsigned char& first) {
    for (;;) {
      if (stopKey(StopKeyPoll::DownNow)) return Next::OperatorStop;
      const unsigned char c = line_.readChar();
      if (stopKey(StopKeyPoll::DownOrPressedSinceLastPoll)) return Next::OperatorStop;
      if (line_.lineLost()) return Next::LineLost;
      screen_.processPendingEvents();
      if (settings_.Signal == "Y") {
        // The NC's carrier says its punch is on; until then nothing counts.
        platform::ModemStatus modem = line_.modemStatus();
        if (modem.status == platform::PortStatus::Failed) continue;
        line_.showModemLines();
        if (!modem.lines.carrier) continue;
      }
      if (c != 0 && (c == '\n' || std::strchr(kStartCharacters, c) != nullptr)) {
        first = c;
        return Next::EndOfData;
      }
      // Noise before the start must not fix the code: the next byte decides.
      if (settings_.R_Code == 0) line_.state.code = CodeFlags{};
    }
  }

  Next receive(unsigned char first) {
    screen_.setStatusPanel(3, kReceivingText);
    assembler_.start(first);
    setProgress(0);
    lines_ = 0;
    screen_.clearTransferView();
    if (settings_.StartChar == "Y") saver_.addLine("%");

    for (;;) {
      if (stopKey(StopKeyPoll::DownNow)) return Next::OperatorStop;
      const unsigned char c = line_.readChar();
      const bool silence = line_.lastReadTimedOut();
      if (stopKey(StopKeyPoll::DownOrPressedSinceLastPoll)) return Next::OperatorStop;
      if (line_.lineLost()) return Next::LineLost;
      // A quiet line and a line of nothing but line ends keep the window
      // alive as well as one that brings characters.
      screen_.processPendingEvents();

      platform::ModemStatus modem = line_.modemStatus();
      if (modem.status != platform::PortStatus::Failed && !line_.modemLinesKnown()) {
        line_.showModemLines(modem);
      } else if (modem.status != platform::PortStatus::Failed) {
        screen_.setDsrLamp(modem.lines.dsr);
        // The NC switched off or unplugged: with op6 that ends the data.
        if (!modem.lines.dsr && settings_.op6 == "Y") return end(assembler_.takeRest());
        screen_.setCtsLamp(modem.lines.cts);
      }

      if (c == '\r' || c == 0) {
        // A closing "%" that nothing follows: a second of silence after it
        // ends the data, as the next character would. Waiting on for DC4
        // would leave the operator only Esc, which (op5 "N") throws the
        // whole program away.
        if (silence && assembler_.endMarkPending()) return end(assembler_.takeEndMark());
        continue;
      }
      if (assembler_.endMarkPending()) return end(assembler_.takeEndMark());
      if (c == kDc4) return end(assembler_.takeRest());
      if (c == '\n') {
        if (Next next; lineEnd(next)) return next;
      } else {
        assembler_.character(c);
        if (assembler_.lineTooLong())
          if (Next next; lineEnd(next)) return next;
      }
      // Written out by lines and by bytes, whatever the lines hold (an
      // endless run of empty lines too), so the view stays bounded.
      if (lines_ >= kLinesPerWriteOut || saver_.viewBytes() >= kViewBytesPerWriteOut) {
        if (!saver_.writeOut()) return Next::Failed;
        setProgress(0);
        lines_ = 0;
      } else {
        setProgress(lines_);
      }
    }
  }

  // Acts on an assembly step: program list, per-program files, the view.
  bool apply(const AssemblyStep& step) {
    if (step.header) {
      screen_.addProgramHeader(*step.header);
      if (step.beginsProgram && request_.mode == SaveMode::PerProgramNumber &&
          !saver_.beginProgram(*step.header))
        return false;
    }
    if (step.line) saver_.addLine(*step.line);
    if (step.lineCounted) ++lines_;
    return true;
  }

  // True when the line end also ended the reception (the data, or a failure).
  bool lineEnd(Next& next) {
    AssemblyStep step = assembler_.lineEnd();
    if (!apply(step)) {
      next = Next::Failed;
      return true;
    }
    next = Next::EndOfData;
    return step.ended;
  }

  Next end(const AssemblyStep& step) { return apply(step) ? Next::EndOfData : Next::Failed; }

  void setProgress(int value) {
    if (value == progress_) return;
    progress_ = value;
    screen_.setProgress(value);
  }

  void writeDc4() {
    line_.state.abort = false;
    line_.writeEndOfData();
  }

  ReceiveOutcome saved(bool dataEnded) {
    // A stop that keeps the data saves it as it is, without a closing "%".
    if (dataEnded && settings_.EndChar == "Y") saver_.addLine("%");
    screen_.setStatusPanel(3, kReceiveSavingText);
    if (!saver_.finish()) return failed(saver_.error());
    writeDc4();
    screen_.sleepMs(kReceiveCloseDelayMs);
    line_.close();
    setProgress(0);
    screen_.setStatusPanel(3, kReceiveCompletedText);
    screen_.hideTransferPanel();
    screen_.showMessageLine(std::string(kReceiveCompletedText) + "!!", MessageColour::Lime);
    log_.record(TransferOutcome::ReceiveCompleted, saver_.outputFile());

    ReceiveOutcome o = outcome(ReceiveEnd::Completed);
    o.closeMainWindow = request_.exitAfterTransfer;
    o.powerOff = request_.exitAfterTransfer && settings_.Power_Off == "Y";
    o.refreshOnReset = true;
    o.returnToIdleAfterMs = kIdleAfterCompletedMs;
    screen_.setStatusPanel(0, "");
    screen_.setStatusPanel(2, "");
    return o;
  }

  ReceiveOutcome stopped() {
    std::string kept;
    if (request_.keepUnfinishedOnStop)
      kept = saver_.keepWhatArrived(assembler_.takeRest().line.value_or(""));
    else
      saver_.discard();
    writeDc4();
    log_.record(TransferOutcome::ReceiveStopped, kept.empty() ? saver_.outputFile() : kept);
    line_.close();
    screen_.setStatusPanel(0, "");
    screen_.setStatusPanel(2, "");
    screen_.setStatusPanel(3, kReceiveStoppedText);
    screen_.clearTransferView();
    screen_.hideTransferPanel();
    screen_.showMessageLine(std::string(kReceiveStoppedText) + "!!", MessageColour::Red);
    ReceiveOutcome o = outcome(ReceiveEnd::Stopped);
    o.keptPartialFile = kept;
    return o;
  }

  // Nothing is deleted and the NC gets no DC4: what arrived of the
  // unfinished program is written out as far as the disk allows and kept
  // under a name of its own (ReceivedDataSaver::keepWhatArrived).
  ReceiveOutcome failed(const std::string& detail) {
    ReceiveOutcome o = outcome(ReceiveEnd::Failed);
    o.keptPartialFile = saver_.keepWhatArrived(assembler_.takeRest().line.value_or(""));
    o.detail = detail;
    log_.record(TransferOutcome::ReceiveStopped,
                o.keptPartialFile.empty() ? saver_.outputFile() : o.keptPartialFile);
    line_.close();
    screen_.setStatusPanel(3, kReceiveStoppedText);
    screen_.clearTransferView();
    screen_.hideTransferPanel();
    screen_.showMessageLine(std::string(kReceiveStoppedText) + "!!", MessageColour::Red);
    return o;
  }

  // The device hung up or vanished: the end of a failed reception.
  ReceiveOutcome lineLost() {
    ReceiveOutcome o = failed(kLineLostDetail);
    o.lineLost = true;
    return o;
  }

  ReceiveOutcome outcome(ReceiveEnd end) const {
    ReceiveOutcome o;
    o.end = end;
    o.outputFile = saver_.outputFile();
    o.programs = saver_.programCount();
    o.returnToIdleAfterMs = kIdleAfterStoppedMs;
    return o;
  }

  const base::SettingsRecord& settings_;
  Line& line_;
  ReceiveScreen& screen_;
  TransferLog& log_;
  const ReceiveRequest& request_;
  ReceivedDataSaver saver_;
  ReceivedLineAssembler assembler_;
  int lines_ = 0; // lines since the last write-out
  int progress_ = -1;
};

} // namespace

ReceiveJob::ReceiveJob(const base::SettingsRecord& settings, Line& line, ReceiveScreen& screen,
                       TransferLog& log)
    : settings_(settings), line_(line), screen_(screen), log_(log) {}

ReceiveOutcome ReceiveJob::run(const ReceiveRequest& request) {
  return Reception(settings_, line_, screen_, log_, request).run();
}

} // namespace kestrovan::serial
