#pragma once
// Copy (F4, C), move (Shift+F3, M) and delete (F3, D) on the main window:
// the copy prompt for a single file, the copy/move dialog for marked files
// and folders, CopyOrMoveFiles (also for drags onto folder rows), the files
// dropped from the desktop, and DeleteEntries into the trash.

#include "files/CopyMove.h"
#include "files/CopyMoveForm.h"
#include "files/DeleteEntries.h"

#include <string>
#include <vector>

namespace kestrovan::host {
class FolderBrowser;
class Host;
} // namespace kestrovan::host

namespace kestrovan::files {

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
  // Files dropped from the desktop: copied into the data folder, replacing
  // what is there; folders are passed over.
  void copyDroppedFiles(const std::vector<std::string>& paths);

  TCopyForm& form() { return form_; }

private:
  void openDialog(TransferMode mode, std::vector<std::string> names, bool marked);
  // One file over a name in the data folder, replacing it unless it is
  // read-only or the file itself; false (told in a box) when it fails.
  bool copyReplacing(const std::string& source, const std::string& target);

  host::Host& host_;
  Trash& trash_;
  TCopyForm form_;
  std::string promptSource_; // the file the copy prompt copies
};

} // namespace kestrovan::files
