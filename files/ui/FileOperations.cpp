#include "files/ui/FileOperations.h"

#include "host/Host.h"

namespace kestrovan::files {

FileOperations::FileOperations(host::Host& host, host::FolderBrowser& browser, Trash* trash)
    : folders_(host, browser), copyMove_(host, browser, trash ? *trash : systemTrash_), renames_(host),
      dragDrop_(host, copyMove_) {
  using host::Command;
  using host::PromptMode;
  host.setCommandHandler(Command::FolderPrompt, [this](bool) { folders_.folderPrompt(); });
  host.setCommandHandler(Command::FolderBrowse, [this](bool) { folders_.folderBrowse(); });
  host.setCommandHandler(Command::DriveMenu, [this](bool) { folders_.driveMenu(); });
  host.setPromptHandler(PromptMode::Folder, [this](const std::string& t) { folders_.folderEntered(t); });
  host.setCommandHandler(Command::Copy, [this](bool) { copyMove_.copyCommand(); });
  host.setCommandHandler(Command::Move, [this](bool) { copyMove_.moveCommand(); });
  host.setCommandHandler(Command::Delete, [this](bool) { copyMove_.DeleteEntries(); });
  host.setPromptHandler(PromptMode::CopyName, [this](const std::string& t) { copyMove_.promptCopy(t); });
  host.setCommandHandler(Command::Rename, [this](bool) { renames_.renameCommand(); });
  host.setCommandHandler(Command::ExtensionPrompt, [this](bool) { renames_.extensionPrompt(); });
  host.setPromptHandler(PromptMode::Extension,
                        [this](const std::string& t) { renames_.extensionEntered(t); });
}

} // namespace kestrovan::files
