#pragma once
// What every send test needs: settings with the data folder in a temporary
// folder, the faked screen, window, boxes, clock and power switch, a log,
// and a send job over whatever port opener the test gives.

#include "base/SettingsRecord.h"
#include "platform/Cp932.h"
#include "serial/Clock.h"
#include "serial/Line.h"
#include "serial/NcCode.h"
#include "serial/SendJob.h"
#include "serial/TransferLog.h"
#include "support/FakeDialogs.h"
#include "support/FakeSendWindow.h"
#include "support/FakeTransferScreen.h"
#include "support/TempDir.h"

#include <memory>
#include <string>
#include <vector>

namespace kestrovan::test {

class FixedClock : public serial::Clock {
public:
  platform::CivilTime now() override { return {2005, 8, 26, 13, 5, 49}; }
};

struct SendFixture {
  TempDir dir;
  base::SettingsRecord settings = base::defaultSettings("/home/op");
  FakeTransferScreen screen;
  FakeSendWindow window;
  FakeDialogs dialogs;
  FixedClock clock;
  serial::TransferLog log{dir.file("kestrovan.log"), clock};
  FakePowerOff power;
  std::string pendingSend = "N";
  std::unique_ptr<serial::Line> line;
  std::unique_ptr<serial::SendJob> job;

  SendFixture() { settings.DirPath = dir.path(); }

  void program(const std::string& name, const std::string& bytes) { writeFile(dir.file(name), bytes); }

  // Loads the first file and runs the whole job, as the F1 handler does.
  serial::SendResult send(serial::PortOpener& ports, std::vector<std::string> files, bool marked = false,
                          bool exitAfterTransfer = false) {
    line = std::make_unique<serial::Line>(settings, ports, screen, dialogs);
    job = std::make_unique<serial::SendJob>(
        serial::SendJobParts{settings, *line, screen, window, dialogs, log, power, pendingSend},
        serial::SendRequest{std::move(files), marked, exitAfterTransfer});
    job->loadFirstFile();
    return job->run();
  }

  // The log's entries (UTF-8), header left out.
  std::vector<std::string> logEntries() const {
    std::string text = platform::cp932ToUtf8(readFile(log.path()));
    std::vector<std::string> entries;
    std::size_t start = 0;
    for (std::size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
      entries.push_back(text.substr(start, nl - start));
    return entries.size() > 3 ? std::vector<std::string>(entries.begin() + 3, entries.end())
                              : std::vector<std::string>{};
  }
  std::string completedEntry(const std::string& name) const {
    return "送信　　完了　2005/08/26 13:05:49　" + dir.file(name);
  }
  std::string stoppedEntry(const std::string& name) const {
    return "送信　　中止　2005/08/26 13:05:49　" + dir.file(name);
  }
};

// Text as an ISO line with 8 data bits carries it.
inline std::string iso(const std::string& text) {
  std::string out;
  for (char c : text)
    out += static_cast<char>(serial::isoEncode(static_cast<unsigned char>(c)));
  return out;
}

} // namespace kestrovan::test
