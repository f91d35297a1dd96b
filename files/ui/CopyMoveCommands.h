#pragma once
// Copy (F4, C), move (Shift+F3, M) and delete (F3, D) on the main window:
// the copy prompt for a single file, the copy/move dialog for marked files
// and folders, CopyOrMoveFiles (also for drags onto folder rows), the files
// dropped from the desktop, and DeleteEntries into the trash.

#include "files/CopyMove.h"
#include "files/ui/CopyMoveForm.h"
#include "files/DeleteEntries.h"

#include <string>
#include <vector>

namespace kestrovan::host {
class FolderBrowser;
class Host;
} // namespace kestrovan::host

namespace kestrovan::files {

class QtCopyProgress;

class CopyMoveCommands {
public:
  CopyMoveCommands(host::Host& host, host::FolderBrowser& browser, Trash& trash);

  void copyCommand();
  void moveCommand();
  void DeleteEntries();
  // The copy prompt's Enter.
  void promptCopy(const std::string& typed);
  // Copies or moves full paths into a folder, then tells how it went: no
  // word when the operator stopped it, the list refreshed after a move, a
  // "完了" box when everything went.
  CopyMoveEnd CopyOrMoveFiles(const std::vector<std::string>& sources, const std::string& destination,
                              TransferMode mode);
  // Files dropped from the desktop: copied into the data folder, asking the
  // overwrite question before a file there is replaced; folders are passed
  // over.
  void copyDroppedFiles(const std::vector<std::string>& paths);

  TCopyForm& form() { return form_; }

private:
  enum class CopyStep { Copied, Skipped, Stopped, Failed };

  void openDialog(TransferMode mode, std::vector<std::string> names, bool marked);
  // One file over a name in the data folder. Only a regular file is opened
  // (a named pipe or a device would hold the window in open() for good); an
  // existing target is replaced only when the copy's overwrite question says
  // so (`replaceAll` carries its "all" answer on), never when it is
  // read-only, a folder or the file itself. Failures are told in a box.
  CopyStep copyOver(const std::string& source, const std::string& target, QtCopyProgress& progress,
                    bool& replaceAll);

  host::Host& host_;
  Trash& trash_;
  TCopyForm form_;
  std::string promptSource_; // the file the copy prompt copies
};

} // namespace kestrovan::files
