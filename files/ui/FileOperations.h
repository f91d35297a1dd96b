#pragma once
// Folders, copy, move, delete, rename and the listing mask as an operation
// module of the main window: F5 and Shift+F5 (folder prompt, browser), L
// (drive menu), F4 and C (copy), Shift+F3 and M (move), F3 and D (delete),
// R (rename), F6 (extension), and drags and drops on the list.

#include "files/ui/CopyMoveCommands.h"
#include "files/ui/FolderCommands.h"
#include "files/ui/ListDragDrop.h"
#include "files/ui/RenameCommands.h"
#include "host/Operation.h"

namespace kestrovan::files {

class FileOperations : public host::Operation {
public:
  // trash: the desktop's trash when null.
  FileOperations(host::Host& host, host::FolderBrowser& browser, Trash* trash = nullptr);

  FolderCommands& folders() { return folders_; }
  CopyMoveCommands& copyMove() { return copyMove_; }
  RenameCommands& renames() { return renames_; }
  ListDragDrop& dragDrop() { return dragDrop_; }

private:
  SystemTrash systemTrash_;
  FolderCommands folders_;
  CopyMoveCommands copyMove_;
  RenameCommands renames_;
  ListDragDrop dragDrop_;
};

} // namespace kestrovan::files
