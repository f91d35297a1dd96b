#include "files/ui/ListToolsOperations.h"

#include "base/Dialogs.h"
#include "files/FileList.h"
#include "host/Host.h"

namespace kestrovan::files {

ListToolsOperations::ListToolsOperations(host::Host& host)
    : host_(host), findForm_(host), fileInfoForm_(host), folderWatcher_(host) {
  host.setCommandHandler(host::Command::NameFilter, [this](bool) { findForm_.showModal(); });
  host.setCommandHandler(host::Command::FileInfo, [this](bool) { openFileInfo(); });
}

// The key's condition has kept out the ".." row and an empty selection.
void ListToolsOperations::openFileInfo() {
  FileList& list = host_.fileList();
  const FileEntry* entry = list.entryAt(host_.selectedRow());
  if (!entry) return;
  const std::string name = entry->name;
  host_.RecordWindowRect();
  if (fileInfoForm_.showModal(list.folder(), name)) return;
  // Gone since the list was read: say so, and show the folder as it is.
  host_.dialogs().show(
      {"エラー", name + "\nが見つかりません。", base::MessageButtons::Ok, base::MessageIcon::Error});
  host_.refreshFileList({.keepSelection = true});
}

} // namespace kestrovan::files
