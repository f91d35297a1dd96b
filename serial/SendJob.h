#pragma once
// Sending one NC program file, or the marked files one after another in a
// single stream, to the NC machine. The job runs to its end on the
// user-interface thread (keeping the window alive through the screen) and
// leaves one transfer-log entry per file, completed or stopped.
//
// The Qt layer's part around it:
//   1. disable the list, open the transfer panel (titled "送信データ", its
//      place and width by the mark count), fill its list with the marked
//      files; construct the job;
//   2. loadFirstFile(), then show remainingBytesLine(size) in the panel and
//      kSendWaiting in status panel 3; give the view the focus;
//   3. run(); then act on the result: enable the list, clear the marks when
//      asked, start the return to idle after returnToIdleAfterMs.

#include "base/SettingsRecord.h"
#include "serial/ProgramFile.h"
#include "serial/SendLine.h"
#include "serial/SendTime.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrovan::base {
class Dialogs;
}
namespace kestrovan::platform {
class PowerOff;
}

namespace kestrovan::serial {

class Line;
class SendWindow;
class TransferLog;
class TransferScreen;

struct SendRequest {
  // File names in the data folder: the marked files in marking order, or the
  // one selected file.
  std::vector<std::string> files;
  bool marked = false;            // the files are the marks (MultiFileMode)
  bool exitAfterTransfer = false; // Shift+F1, or END on the command line
  // With Signal "Y" the send starts on the NC's DC1 only, not on "%" too;
  // any other byte before it (DC2 to DC4 aside) means the NC is punching a
  // program instead: the send ends there without writing a byte, and hands
  // that byte back in SendResult::punchedBeforeStart. For a service that
  // answers requests on a line it also receives on; F1 leaves it off.
  bool startOnDc1Only = false;
};

enum class SendOutcome {
  Completed,
  Stopped, // a stop key, a refused write, the NC's stop, "No", a failed opening, nothing to send
  Failed,  // an unexpected error: no DC4 was sent and the marks stay
};

struct SendResult {
  SendOutcome outcome = SendOutcome::Stopped;
  int returnToIdleAfterMs = 1000; // 3000 after a completed send
  bool clearMarks = false;        // the marks are cleared (completed or stopped)
  bool closingProgram = false;    // the main window was asked to close
  bool powerOffRequested = false;
  int filesCompleted = 0;
  std::vector<std::string> skippedFiles; // marked files passed over: nothing to send in them
  bool lineLost = false;                 // the device hung up or vanished
  // startOnDc1Only: the first byte of what the NC punched while the send
  // waited, as read off the line; the rest is still unread.
  std::optional<unsigned char> punchedBeforeStart;
};

// What the job works with; all of it outlives the job.
struct SendJobParts {
  const base::SettingsRecord& settings;
  Line& line;
  TransferScreen& screen;
  SendWindow& window;
  base::Dialogs& dialogs;
  TransferLog& log;
  platform::PowerOff& powerOff;
  std::string& pendingSend; // PendingSend: "Y" while a command-line send starts
};

inline constexpr int kLeaderBlanks = 200;
inline constexpr int kLeaderPauseMs = 1000;
inline constexpr int kProgramEndPauseMs = 5;
inline constexpr int kCompletedLingerMs = 4000; // the NC reads the last bytes before the line closes
inline constexpr int kReturnToIdleAfterCompletedMs = 3000;
inline constexpr int kReturnToIdleAfterStoppedMs = 1000;
// The flow counter after the start signal, so that the first write checks flow.
inline constexpr int kFlowCheckNow = 999;

class SendJob {
public:
  SendJob(SendJobParts parts, SendRequest request);
  SendJob(const SendJob&) = delete;
  SendJob& operator=(const SendJob&) = delete;

  // Loads the first file into the transfer view; its size on disk.
  std::uint64_t loadFirstFile();
  // Every step from opening the line to the completed or stopped end.
  SendResult run();

  const ProgramFile& program() const { return program_; }
  SendCounters& counters() { return counters_; }

private:
  enum class Flow { Go, Stop, Punched };

  SendResult runSteps();
  Flow waitForStart();
  Flow write(unsigned char c);
  Flow writeAll(const std::string& chars);
  Flow leader();
  Flow sendLines();
  bool nextFile(); // false after the last file
  void load(const std::string& name);
  void showName();
  void startFile();
  void logCurrent(bool completed);
  std::string currentPath() const;

  SendResult completed();
  // tellNc: DC4 to the NC, unless it is punching (startOnDc1Only).
  SendResult stopped(bool tellNc = true);
  SendResult failed();
  void endOfTransfer(const char* status, bool completed);

  SendJobParts p_;
  SendRequest request_;
  SendLineRules rules_;
  ProgramFile program_;
  std::string name_;
  std::size_t position_ = 0; // the marked file being sent, from 1; 0 without marks
  SendCounters counters_;
  TSendTime sendTime_{counters_};
  int filesCompleted_ = 0;
  bool currentLogged_ = false; // the current file has its log entry
  std::vector<std::string> skipped_;
};

} // namespace kestrovan::serial
