#pragma once
// The transfer log: one line per send or receive, completed or stopped, in
// "<executable base name>.log" in the program folder. Shift-JIS with a bare
// line feed after each line; it only ever grows.

#include "platform/LocalTime.h"

#include <string>

namespace kestrovan::serial {

class Clock;

enum class TransferOutcome { SendCompleted, SendStopped, ReceiveCompleted, ReceiveStopped };

std::string transferLogPath(const std::string& programFolder, const std::string& exeBaseName);

// The three lines a new log begins with, each ending in a line feed (UTF-8).
std::string transferLogHeader();

// "送信　　完了　2005/08/26 13:05:49　/home/nc/O1234.NC" and a line feed (UTF-8).
// For a send `file` is the data folder joined with the file name; for a
// receive the full path of the output file.
std::string transferLogEntry(TransferOutcome outcome, const platform::CivilTime& when,
                             const std::string& file);

// Appends the entry (UTF-8, written as CP932, line ends unchanged) to the log;
// when the log cannot be opened for appending it is created anew with the
// header first. False when neither works: the entry is lost, and the transfer
// carries on regardless.
bool appendTransferLog(const std::string& logPath, const std::string& entry);

// The log view's text (UTF-8). A log that does not exist yet is first created
// by appending an empty entry, so the operator sees its header.
std::string transferLogViewText(const std::string& logPath);

// The log of this program, stamped by a clock.
class TransferLog {
public:
  TransferLog(std::string path, Clock& clock) : path_(std::move(path)), clock_(clock) {}
  bool record(TransferOutcome outcome, const std::string& file);
  std::string viewText() const { return transferLogViewText(path_); }
  const std::string& path() const { return path_; }

private:
  std::string path_;
  Clock& clock_;
};

} // namespace kestrovan::serial
