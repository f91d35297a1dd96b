#pragma once
// A small program for launch tests: a shell script, written into a folder of
// the test's own, that records the arguments it was started with (each ended
// by a NUL byte, so that blanks and line breaks show) and renames its record
// into place once it is complete.

#include "support/TempDir.h"

#include <QTest>

#include <string>
#include <sys/stat.h>
#include <vector>

namespace kestrovan::test {

struct Recorder {
  TempDir dir;
  std::string script = dir.file("record-args");
  std::string record = dir.file("recorded");

  Recorder() {
    writeFile(script, "#!/bin/sh\n"
                      "for a in \"$@\"; do printf '%s\\0' \"$a\"; done > '" +
                          record +
                          ".part'\n"
                          "mv '" +
                          record + ".part' '" + record + "'\n");
    chmod(script.c_str(), 0755);
  }

  // Waits for the script to have run once (the event loop running meanwhile).
  bool ran(int limitMs = 20000) const {
    return QTest::qWaitFor([&] { return fileExists(record); }, limitMs);
  }
  std::vector<std::string> arguments() const {
    std::vector<std::string> args;
    std::string bytes = readFile(record);
    for (std::size_t start = 0, end; (end = bytes.find('\0', start)) != std::string::npos; start = end + 1)
      args.push_back(bytes.substr(start, end - start));
    return args;
  }
};

} // namespace kestrovan::test
