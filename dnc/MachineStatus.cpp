#include "dnc/MachineStatus.h"

#include "platform/AtomicFile.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace kestrovan::dnc {
namespace {

// Tabs and line ends inside a field would break the file's lines.
std::string field(const std::string& text) {
  std::string out = text;
  std::replace_if(
      out.begin(), out.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; }, ' ');
  return out;
}

} // namespace

void StatusBoard::add(const MachineStatus& status) {
  std::lock_guard lock(mutex_);
  machines_.erase(std::remove_if(machines_.begin(), machines_.end(),
                                 [&](const MachineStatus& m) { return m.name == status.name; }),
                  machines_.end());
  machines_.push_back(status);
  ++version_;
}

void StatusBoard::remove(const std::string& name) {
  std::lock_guard lock(mutex_);
  machines_.erase(std::remove_if(machines_.begin(), machines_.end(),
                                 [&](const MachineStatus& m) { return m.name == name; }),
                  machines_.end());
  ++version_;
}

void StatusBoard::setState(const std::string& name, const std::string& state, const std::string& reason) {
  std::lock_guard lock(mutex_);
  for (MachineStatus& m : machines_)
    if (m.name == name && (m.state != state || m.reason != reason)) {
      m.state = state;
      m.reason = reason;
      ++version_;
    }
}

void StatusBoard::setLastTransfer(const std::string& name, const std::string& transfer,
                                  const std::string& time) {
  std::lock_guard lock(mutex_);
  for (MachineStatus& m : machines_)
    if (m.name == name) {
      m.lastTransfer = transfer;
      m.lastTime = time;
      ++version_;
    }
}

std::vector<MachineStatus> StatusBoard::snapshot() const {
  std::lock_guard lock(mutex_);
  return machines_;
}

std::optional<MachineStatus> StatusBoard::find(const std::string& name) const {
  std::lock_guard lock(mutex_);
  for (const MachineStatus& m : machines_)
    if (m.name == name) return m;
  return std::nullopt;
}

std::uint64_t StatusBoard::version() const {
  std::lock_guard lock(mutex_);
  return version_;
}

std::string statusFileText(const std::vector<MachineStatus>& machines) {
  std::string out;
  for (const MachineStatus& m : machines)
    out += field(m.name) + "\t" + field(m.port) + "\t" + field(m.state) + "\t" + field(m.reason) + "\t" +
           field(m.lastTransfer) + "\t" + field(m.lastTime) + "\n";
  return out;
}

std::vector<MachineStatus> parseStatusFile(const std::string& text) {
  std::vector<MachineStatus> machines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    start = end + 1;
    std::vector<std::string> fields;
    std::size_t from = 0;
    for (;;) {
      const std::size_t tab = line.find('\t', from);
      fields.push_back(line.substr(from, tab == std::string::npos ? std::string::npos : tab - from));
      if (tab == std::string::npos) break;
      from = tab + 1;
    }
    if (fields.size() != 6) continue;
    machines.push_back({fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]});
  }
  return machines;
}

bool writeStatusFile(const std::string& path, const std::vector<MachineStatus>& machines) {
  return platform::writeFileAtomically(path, statusFileText(machines)).ok;
}

std::string statusTable(const std::vector<MachineStatus>& machines) {
  std::string out;
  for (const MachineStatus& m : machines) {
    out += m.name + "  " + m.port + "  " + m.state;
    if (!m.reason.empty()) out += " (" + m.reason + ")";
    out += "\n";
    if (!m.lastTransfer.empty()) out += "    last: " + m.lastTransfer + "  " + m.lastTime + "\n";
  }
  return out;
}

std::string defaultStatusFile() {
  if (const char* runtime = std::getenv("RUNTIME_DIRECTORY"); runtime && *runtime)
    return std::string(runtime) + "/status";
  std::error_code ec;
  if (std::filesystem::is_directory("/run/kestrovan-dnc", ec)) return "/run/kestrovan-dnc/status";
  if (const char* user = std::getenv("XDG_RUNTIME_DIR"); user && *user)
    return std::string(user) + "/kestrovan-dnc.status";
  return "/tmp/kestrovan-dnc-" + std::to_string(::getuid()) + ".status";
}

} // namespace kestrovan::dnc
