#pragma once
// The reception of programs punched out by the NC: it opens the line, waits
// for the start of the data, assembles lines (ReceivedLineAssembler), hands
// them to the output files (ReceivedDataSaver), recognises the end of the
// data and ends in one of three ways, each logged:
// - completed: the data ended (or the operator stopped with op5 "Y"); the
//   files are saved and the NC gets DC4;
// - stopped: the operator stopped (op5 not "Y") or the line did not open;
//   the unfinished program's file is deleted and the NC gets DC4;
// - failed: a file could not be written, or the line hung up; nothing is
//   deleted, no DC4, and what arrived of the unfinished program is kept
//   under a name of its own.
// Runs to its end on the user-interface thread, which it keeps alive through
// the screen on every pass; only the polled stop keys and a lost line
// interrupt it.

#include "serial/ReceiveSaveChoice.h"
#include "serial/ReceivedDataSaver.h"

#include <functional>
#include <string>

namespace kestrovan::base {
struct SettingsRecord;
}
namespace kestrovan::serial {

class Line;
class ReceiveScreen;
class TransferLog;

struct ReceiveRequest {
  SaveMode mode = SaveMode::ByName;
  ReceiveTarget target;           // by name: from the name entry or the command line
  bool exitAfterTransfer = false; // Shift+F2, or END on the command line
  // For a service without an operator: see SaveOptions::beforePutInPlace.
  std::function<bool(const std::string& path)> beforePutInPlace = nullptr;
  // A stop keeps what arrived of the unfinished program under a name of its
  // own (as a failure does) instead of deleting it; DC4 and the log entry as
  // for every stop.
  bool keepUnfinishedOnStop = false;
};

enum class ReceiveEnd { Completed, Stopped, Failed };

// What the main window does once the job has returned, in this order:
// close itself (and power off) when asked; set RefreshOnReset to "Y" when
// asked; start ReturnToIdle after returnToIdleAfterMs; enable the list.
struct ReceiveOutcome {
  ReceiveEnd end = ReceiveEnd::Failed;
  std::string outputFile; // as logged: the by-name file or the last program's file
  int programs = 0;       // headers that began a file (per program number)
  bool refreshOnReset = false;
  int returnToIdleAfterMs = 1000;
  bool closeMainWindow = false;
  bool powerOff = false;
  // Failed (and Stopped with keepUnfinishedOnStop): the file that keeps what
  // arrived of the unfinished program ("" when nothing of it arrived), and
  // what went wrong.
  std::string keptPartialFile;
  std::string detail;
  bool lineLost = false; // the device hung up or vanished
};

// Status panel and message texts.
inline constexpr const char* kReceivePanelTitle = "受信データ";
inline constexpr const char* kReceiveWaitingText = "受信待機中(信号待ち)";
inline constexpr const char* kReceivingText = "＜＜ 受信中 ＞＞";
inline constexpr const char* kReceiveSavingText = "受信データ保存中です。";
inline constexpr const char* kReceiveCompletedText = "受信完了しました。";
inline constexpr const char* kReceiveStoppedText = "受信を中止しました。";

inline constexpr int kReceiveCloseDelayMs = 3000; // the NC takes DC4 before the line closes
inline constexpr int kIdleAfterCompletedMs = 3000;
inline constexpr int kIdleAfterStoppedMs = 1000;
// The view is written out after this many lines, and also once it holds this
// many bytes (long lines), so that memory stays bounded.
inline constexpr int kLinesPerWriteOut = 1000;
inline constexpr std::size_t kViewBytesPerWriteOut = 4 * 1024 * 1024;

class ReceiveJob {
public:
  ReceiveJob(const base::SettingsRecord& settings, Line& line, ReceiveScreen& screen, TransferLog& log);

  ReceiveOutcome run(const ReceiveRequest& request);

private:
  const base::SettingsRecord& settings_;
  Line& line_;
  ReceiveScreen& screen_;
  TransferLog& log_;
};

} // namespace kestrovan::serial
