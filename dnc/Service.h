#pragma once
// The machines of one configuration, each on its worker. A reload restarts
// only the machines whose section changed, starts new ones and stops those
// that are gone; the others carry on without a break.

#include "dnc/DncConfig.h"
#include "dnc/MachineStatus.h"
#include "dnc/MachineWorker.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kestrovan::dnc {

class Service {
public:
  Service(std::string logFolder, std::function<void(const std::string&)> journal)
      : logFolder_(std::move(logFolder)), journal_(std::move(journal)) {}
  ~Service() { stop(); }

  void start(const ServiceConfig& config);
  // The names of the machines that were (re)started.
  std::vector<std::string> reload(const ServiceConfig& config);
  // Every machine ends its transfer through its stop path; returns when all have.
  void stop();

  StatusBoard& board() { return board_; }

private:
  std::unique_ptr<MachineWorker> startMachine(const MachineConfig& machine, int retrySeconds);

  std::string logFolder_;
  std::function<void(const std::string&)> journal_;
  StatusBoard board_;
  std::vector<std::unique_ptr<MachineWorker>> workers_;
  int retrySeconds_ = 3;
};

} // namespace kestrovan::dnc
