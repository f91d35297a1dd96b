#include "serial/TransferEnd.h"

namespace kestrovan::serial {

int exitCodeOf(const SendResult& result) {
  if (result.lineLost) return kExitLineLost;
  if (result.outcome == SendOutcome::Failed) return kExitFailed;
  if (result.outcome == SendOutcome::Stopped || !result.skippedFiles.empty()) return kExitStopped;
  return kExitCompleted;
}

int exitCodeOf(const ReceiveOutcome& outcome) {
  if (outcome.lineLost) return kExitLineLost;
  switch (outcome.end) {
  case ReceiveEnd::Completed: return kExitCompleted;
  case ReceiveEnd::Stopped: return kExitStopped;
  case ReceiveEnd::Failed: return kExitFailed;
  }
  return kExitFailed;
}

std::string endNotice(const SendResult& result) { return result.lineLost ? kLineLostNotice : ""; }

std::string endNotice(const ReceiveOutcome& outcome) {
  if (outcome.end != ReceiveEnd::Failed) return "";
  std::string text =
      outcome.lineLost ? kLineLostNotice : std::string(kNotSavedNotice) + "\n" + outcome.outputFile;
  if (!outcome.keptPartialFile.empty())
    text += std::string("\n") + kKeptNotice + "\n" + outcome.keptPartialFile;
  return text;
}

} // namespace kestrovan::serial
