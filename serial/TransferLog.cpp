#include "serial/TransferLog.h"

#include "platform/AtomicFile.h"
#include "platform/Cp932.h"
#include "platform/Paths.h"
#include "platform/UniqueFd.h"
#include "platform/WriteAll.h"
#include "serial/Clock.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string_view>
#include <unistd.h>

namespace kestrovan::serial {
namespace {

const char* outcomeText(TransferOutcome outcome) {
  switch (outcome) {
  case TransferOutcome::SendCompleted: return "送信　　完了　";
  case TransferOutcome::SendStopped: return "送信　　中止　";
  case TransferOutcome::ReceiveCompleted: return "受信　　完了　";
  case TransferOutcome::ReceiveStopped: return "受信　　中止　";
  }
  return "";
}

} // namespace

std::string transferLogPath(const std::string& programFolder, const std::string& exeBaseName) {
  return platform::joinPath(programFolder, exeBaseName + ".log");
}

std::string transferLogHeader() {
  std::string rule;
  for (int i = 0; i < 37; ++i)
    rule += "─";
  return "<<<<<　　　通信ログ　　　>>>>>\n"
         "送受信　状態　日時　　　　　　　　　送受信ファイル名\n" +
         rule + "\n";
}

std::string transferLogEntry(TransferOutcome outcome, const platform::CivilTime& when,
                             const std::string& file) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d/%02d/%02d %02d:%02d:%02d", when.year, when.month, when.day,
                when.hour, when.minute, when.second);
  return std::string(outcomeText(outcome)) + stamp + "　" + file + "\n";
}

bool appendTransferLog(const std::string& logPath, const std::string& entry) {
  const std::string bytes = platform::utf8ToCp932(entry);
  {
    // A log that opens but cannot take the entry (a full disk) keeps what it
    // has: only a log that cannot be opened at all is made anew.
    platform::UniqueFd fd(::open(logPath.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC));
    if (fd) return platform::writeAll(fd.get(), bytes);
  }
  platform::UniqueFd fd(::open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
  if (!fd) return false;
  return platform::writeAll(fd.get(), platform::utf8ToCp932(transferLogHeader()) + bytes);
}

std::string transferLogViewText(const std::string& logPath) {
  if (!platform::pathExists(logPath)) appendTransferLog(logPath, "");
  platform::FileContents read = platform::readWholeFile(logPath);
  return read.ok ? platform::cp932ToUtf8(read.bytes) : std::string();
}

bool TransferLog::record(TransferOutcome outcome, const std::string& file) {
  return appendTransferLog(path_, transferLogEntry(outcome, clock_.now(), file));
}

} // namespace kestrovan::serial
