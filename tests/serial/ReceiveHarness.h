#pragma once
// What the reception tests share: a data folder, the reception's screen and
// log, and a way to look at what is left on disk.

#include "base/SettingsRecord.h"
#include "serial/Clock.h"
#include "serial/Line.h"
#include "serial/ReceiveJob.h"
#include "serial/TransferLog.h"
#include "support/FakeDialogs.h"
#include "support/FakeReceiveScreen.h"
#include "support/TempDir.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace kestrovan::test {

class FixedClock : public serial::Clock {
public:
  platform::CivilTime now() override { return {2024, 5, 6, 7, 8, 9}; }
};

// Names in a folder, sorted.
inline std::vector<std::string> filesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

struct ReceiveHarness {
  TempDir data;    // the data folder
  TempDir program; // the program folder, with the transfer log
  base::SettingsRecord settings = base::defaultSettings(data.path());
  FakeReceiveScreen screen;
  FakeDialogs dialogs;
  FixedClock clock;
  serial::TransferLog log{program.file("kestrovan.log"), clock};

  serial::ReceiveOutcome receive(serial::Line& line, serial::SaveMode mode, const std::string& name = "") {
    serial::ReceiveRequest request;
    request.mode = mode;
    if (mode == serial::SaveMode::ByName) request.target = {name, data.file(name)};
    return serial::ReceiveJob(settings, line, screen, log).run(request);
  }

  // The log's entries (UTF-8), without its header.
  std::vector<std::string> logEntries() const {
    std::vector<std::string> entries;
    std::string text = fileExists(log.path()) ? log.viewText() : "";
    std::size_t start = 0;
    for (int header = 0; header < 3 && start < text.size(); ++header)
      start = text.find('\n', start) + 1;
    while (start < text.size()) {
      std::size_t end = text.find('\n', start);
      entries.push_back(text.substr(start, end - start));
      start = end + 1;
    }
    return entries;
  }
};

// "受信　　完了　2024/05/06 07:08:09　<file>"
inline std::string receiveLogEntry(bool completed, const std::string& file) {
  return std::string(completed ? "受信　　完了　" : "受信　　中止　") + "2024/05/06 07:08:09　" + file;
}

} // namespace kestrovan::test
