#pragma once
// How a transfer ended, as the operator and a calling program learn it
// beyond the message line: the exit code of an unattended run, and what the
// operator must be told that the message line cannot hold (a line that hung
// up, the file that keeps a failed reception's data).

#include "serial/ReceiveJob.h"
#include "serial/SendJob.h"

#include <string>

namespace kestrovan::serial {

// The exit codes of a run whose command line asked for a transfer (a run
// without one always ends with 0).
enum ExitCode : int {
  kExitCompleted = 0, // every transfer asked for completed
  kExitStopped = 1,   // stopped: the operator, the NC, a close request, a line that would not open,
                      // a file to send that is missing, a reception that was not to overwrite
  kExitFailed = 2,    // failed: received data could not be written (full disk, read-only file or folder)
  kExitLineLost = 3,  // the line hung up or vanished (a pulled cable, an unplugged adapter)
};

int exitCodeOf(const SendResult& result);
int exitCodeOf(const ReceiveOutcome& outcome);

inline constexpr const char* kLineLostNotice =
    "回線が切断されました。\nケーブルとＮＣ装置を確認してください。";
inline constexpr const char* kNotSavedNotice = "受信データを保存できませんでした。";
inline constexpr const char* kKeptNotice = "受信したデータは次のファイルに残しました。";

// What a box tells the operator after the transfer; "" when the message line
// says it all.
std::string endNotice(const SendResult& result);
std::string endNotice(const ReceiveOutcome& outcome);

} // namespace kestrovan::serial
