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
#include <vector>

namespace kestrovan::core {

// What the file system tells the interpreter, behind a seam for tests.
class ItemFileSystem {
public:
  virtual ~ItemFileSystem() = default;
  virtual bool isDirectory(const std::string& path) = 0;
  virtual bool isFile(const std::string& path) = 0;
  // Copies a file over any file of the destination's name; false on failure.
  virtual bool copyFile(const std::string& from, const std::string& to) = 0;
  // Whether the two paths name one file, or two files of the same bytes.
  virtual bool sameContents(const std::string& a, const std::string& b) = 0;
  // The folder the program was started in, against which relative paths are read.
  virtual std::string workingFolder() = 0;
};

class RealItemFileSystem : public ItemFileSystem {
public:
  bool isDirectory(const std::string& path) override;
  bool isFile(const std::string& path) override;
  bool copyFile(const std::string& from, const std::string& to) override;
  bool sameContents(const std::string& a, const std::string& b) override;
  std::string workingFolder() override;
};

// What an item is taken for. The first rule that matches decides.
enum class ItemKind {
  Folder,        // an existing folder: the data folder
  Send,          // S=
  Receive,       // R=
  Port,          // COMn
  Mask,          // *.EXT
  LineSettings,  // SPEED,D,P,S
  FileToBringIn, // an existing file, copied into the data folder (asking before it replaces another)
  End,           // END
  MissingFolder, // an absolute path naming nothing: the data folder, offered for creation
  Ignored,
};
ItemKind itemKind(const std::string& item, ItemFileSystem& fs);

// A transfer (S= or R=) with END: nobody is at the screen, so no box may wait.
bool isUnattendedRun(const std::vector<std::string>& items, ItemFileSystem& fs);

// Applies one item.
void interpretItem(const std::string& item, base::SettingsRecord& settings, base::RunState& run,
                   base::Dialogs& dialogs, ItemFileSystem& fs);

} // namespace kestrovan::core
