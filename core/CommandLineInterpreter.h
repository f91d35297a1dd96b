#pragma once
// The command-line items of an unattended run: each may set the port, the
// line settings, the mask or the data folder, bring a file into the data
// folder, arm a send or a receive, or ask the program to close when the
// transfer ends. Nothing starts here: the transfer begins at the first idle
// moment. Settings changed here hold for this run only.

#include "base/Dialogs.h"
#include "base/RunState.h"
#include "base/SettingsRecord.h"

#include <string>

namespace kestrovan::core {

// What the file system tells the interpreter, behind a seam for tests.
class ItemFileSystem {
public:
  virtual ~ItemFileSystem() = default;
  virtual bool isDirectory(const std::string& path) = 0;
  virtual bool isFile(const std::string& path) = 0;
  // Copies a file over any file of the destination's name; false on failure.
  virtual bool copyFile(const std::string& from, const std::string& to) = 0;
  // The folder the program was started in, against which relative paths are read.
  virtual std::string workingFolder() = 0;
};

class RealItemFileSystem : public ItemFileSystem {
public:
  bool isDirectory(const std::string& path) override;
  bool isFile(const std::string& path) override;
  bool copyFile(const std::string& from, const std::string& to) override;
  std::string workingFolder() override;
};

// Applies one item. The first rule that matches decides.
void interpretItem(const std::string& item, base::SettingsRecord& settings, base::RunState& run,
                   base::Dialogs& dialogs, ItemFileSystem& fs);

} // namespace kestrovan::core
