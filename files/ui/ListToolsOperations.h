#pragma once
// The name filter (F), the file information (I) and the folder watch as an
// operation module of the main window.

#include "files/ui/FileInfoForm.h"
#include "files/ui/FindForm.h"
#include "files/ui/FolderWatcher.h"
#include "host/Operation.h"

namespace kestrovan::files {

class ListToolsOperations : public host::Operation {
public:
  explicit ListToolsOperations(host::Host& host);

  TFindForm& findForm() { return findForm_; }
  TFileInfoForm& fileInfoForm() { return fileInfoForm_; }
  FolderWatcher& folderWatcher() { return folderWatcher_; }

private:
  void openFileInfo();

  host::Host& host_;
  TFindForm findForm_;
  TFileInfoForm fileInfoForm_;
  FolderWatcher folderWatcher_;
};

} // namespace kestrovan::files
