#include "dnc/Service.h"

namespace kestrovan::dnc {

std::unique_ptr<MachineWorker> Service::startMachine(const MachineConfig& machine, int retrySeconds) {
  auto worker =
      std::make_unique<MachineWorker>(machine, WorkerContext{board_, logFolder_, retrySeconds, journal_});
  worker->start();
  return worker;
}

void Service::start(const ServiceConfig& config) {
  retrySeconds_ = config.retrySeconds;
  for (const MachineConfig& m : config.machines)
    workers_.push_back(startMachine(m, retrySeconds_));
}

std::vector<std::string> Service::reload(const ServiceConfig& config) {
  const bool retryChanged = config.retrySeconds != retrySeconds_;
  retrySeconds_ = config.retrySeconds;
  std::vector<std::unique_ptr<MachineWorker>> kept;
  std::vector<std::unique_ptr<MachineWorker>> ending;
  std::vector<const MachineConfig*> toStart;
  for (auto& worker : workers_) {
    const MachineConfig* same = nullptr;
    for (const MachineConfig& m : config.machines)
      if (m.name == worker->config().name && m.fingerprint == worker->config().fingerprint) same = &m;
    if (same && !retryChanged)
      kept.push_back(std::move(worker));
    else
      ending.push_back(std::move(worker));
  }
  // All that end, end at once; then their lines are free for their successors.
  for (auto& worker : ending)
    worker->requestStop();
  for (auto& worker : ending) {
    worker->join();
    board_.remove(worker->config().name);
  }
  ending.clear();
  std::vector<std::string> started;
  for (const MachineConfig& m : config.machines) {
    bool running = false;
    for (auto& worker : kept)
      running = running || worker->config().name == m.name;
    if (running) continue;
    kept.push_back(startMachine(m, retrySeconds_));
    started.push_back(m.name);
  }
  workers_ = std::move(kept);
  return started;
}

void Service::stop() {
  for (auto& worker : workers_)
    worker->requestStop();
  for (auto& worker : workers_)
    worker->join();
}

} // namespace kestrovan::dnc
