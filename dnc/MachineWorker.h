#pragma once
// One machine served for as long as the service runs, on a thread of its
// own: the line is held; whatever the controller punches is received into
// the receive folder (an older file of a name moves to old/ first); a
// punched request is answered by sending the programs it names; an absent or
// failed port is tried again every few seconds. Nothing one machine does
// waits on another.

#include "base/SettingsRecord.h"
#include "dnc/DncConfig.h"
#include "dnc/HeldPort.h"
#include "dnc/RemoteRequest.h"
#include "serial/Clock.h"
#include "serial/NcCode.h"
#include "serial/TransferLog.h"

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace kestrovan::dnc {

class StatusBoard;

// The settings a machine's transfers run with: the main program's defaults
// and the machine's own keys; the controller starts every send with DC1.
base::SettingsRecord machineSettings(const MachineConfig& machine);

// How long a request waits for the controller to be switched to input.
inline constexpr int kRequestAnswerWaitSeconds = 300;
// The per-machine folder (inside the receive folder) for answers being sent.
inline constexpr const char* kWorkFolderName = ".kestrovan-dnc";

struct WorkerContext {
  StatusBoard& board;
  std::string logFolder; // the machine's transfer log: <logFolder>/<name>.log
  int retrySeconds = 3;
  // One line for the journal (standard error); called from the workers.
  std::function<void(const std::string& line)> journal;
};

class MachineWorker {
public:
  MachineWorker(MachineConfig config, WorkerContext context);
  ~MachineWorker(); // stops and joins
  MachineWorker(const MachineWorker&) = delete;
  MachineWorker& operator=(const MachineWorker&) = delete;

  void start();
  // Every transfer ends through its stop path; join() waits for that.
  void requestStop() { stop_ = true; }
  void join();
  const MachineConfig& config() const { return config_; }

private:
  void run();
  bool holdLine();
  void lineLost();
  void receive();
  void answer(const std::vector<RequestedProgram>& wanted, serial::CodeFlags detected);
  void waitSeconds(int seconds);
  void say(const std::string& text);
  std::uintmax_t logSize() const;
  void journalNewEntries(std::uintmax_t from);

  MachineConfig config_;
  WorkerContext context_;
  base::SettingsRecord settings_;
  serial::SystemClock clock_;
  serial::TransferLog log_;
  HeldPort held_;
  std::atomic<bool> stop_{false};
  std::string lastProblem_;
  std::thread thread_;
};

} // namespace kestrovan::dnc
