#pragma once
// What each machine is doing, for `kestrovan-dnc --status` in a second
// process: the service rewrites a status file (a temporary file renamed over
// it) whenever something changed; --status reads and prints it.
//
// The file: UTF-8, one line per machine, fields separated by tabs:
// name, port, state, reason, last transfer, its time (yyyy/mm/dd hh:mm:ss).

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace kestrovan::dnc {

// waiting, receiving, sending, absent, error, stopped
struct MachineStatus {
  std::string name;
  std::string port;
  std::string state = "starting";
  std::string reason;       // why absent or in error; what a sending machine waits for
  std::string lastTransfer; // "受信　　完了　/srv/nc/LATHE1/in/O1234.NC"
  std::string lastTime;
};

// Shared by the machines' workers (which write their own entry) and the
// thread that writes the file.
class StatusBoard {
public:
  void add(const MachineStatus& status);
  void remove(const std::string& name);
  void setState(const std::string& name, const std::string& state, const std::string& reason = "");
  void setLastTransfer(const std::string& name, const std::string& transfer, const std::string& time);
  std::vector<MachineStatus> snapshot() const;
  std::optional<MachineStatus> find(const std::string& name) const;
  std::uint64_t version() const;

private:
  mutable std::mutex mutex_;
  std::vector<MachineStatus> machines_;
  std::uint64_t version_ = 0;
};

std::string statusFileText(const std::vector<MachineStatus>& machines);
std::vector<MachineStatus> parseStatusFile(const std::string& text);
// Written through a temporary file beside it, renamed over it.
bool writeStatusFile(const std::string& path, const std::vector<MachineStatus>& machines);
// The table --status prints.
std::string statusTable(const std::vector<MachineStatus>& machines);

// Where the status file is when the configuration names none: the service's
// runtime folder ($RUNTIME_DIRECTORY under systemd, else /run/kestrovan-dnc
// when it exists), else the user's ($XDG_RUNTIME_DIR), else /tmp with the
// user id in the name.
std::string defaultStatusFile();

} // namespace kestrovan::dnc
