#include "files/ui/RenameCommands.h"

#include "base/Dialogs.h"
#include "base/SettingsRecord.h"
#include "files/FileList.h"
#include "host/Host.h"
#include "platform/NameBytes.h"
#include "platform/Paths.h"
#include "platform/Rename.h"

#include <QEventLoop>
#include <QTimer>
#include <QWidget>

namespace kestrovan::files {

RenameCommands::RenameCommands(host::Host& host) : host_(host), single_(host), several_(host) {}

void RenameCommands::renameCommand() {
  FileList& list = host_.fileList();
  const RowKind kind = list.rowKind(host_.selectedRow());
  if (kind == RowKind::Parent) return;
  if (list.marks().count() > 0) return renameSeveral();
  if (kind != RowKind::None) renameSingle();
}

std::optional<RefusedName> RenameCommands::rename(const std::string& from, const std::string& to) {
  const std::string& dir = host_.fileList().folder();
  if (!validEntryName(to)) return RefusedName{platform::shownName(to), RenameRefusal::NotAllowed, 0};
  const int error = platform::renameEntry(platform::joinPath(dir, from), platform::joinPath(dir, to));
  if (error == 0) return std::nullopt;
  return RefusedName{platform::shownName(to), renameRefusal(error), error};
}

void RenameCommands::tellRefused(const std::vector<RefusedName>& refused) {
  if (refused.empty()) return;
  host_.dialogs().show(
      {kRenameTitle, renameRefusedText(refused), base::MessageButtons::Ok, base::MessageIcon::Error});
}

// The keyboard goes back to the list once the dialogs have closed, also
// where the window manager leaves no window active.
void RenameCommands::backToList() {
  host_.window()->activateWindow();
  host_.focusList();
}

void RenameCommands::renameSingle() {
  FileList& list = host_.fileList();
  const std::string oldName = list.entryAt(host_.selectedRow())->name;
  list.setBusy(true);
  host_.RecordWindowRect();
  const std::optional<std::string> newName = single_.ask(oldName);
  if (newName && *newName != oldName)
    if (std::optional<RefusedName> refused = rename(oldName, *newName)) tellRefused({*refused});
  list.setBusy(false);
  if (newName) host_.refreshFileList({});
  backToList();
}

void RenameCommands::renameSeveral() {
  FileList& list = host_.fileList();
  list.setBusy(true);
  host_.RecordWindowRect();
  const std::optional<RenameKind> kind = several_.ask();
  if (!kind) {
    list.setBusy(false);
    backToList();
    return;
  }
  list.marks().compact();
  std::vector<RefusedName> refused;
  host_.setListEnabled(false);
  for (int row : list.marks().rows()) {
    const FileEntry* entry = list.entryAt(row);
    if (!entry) continue;
    const std::string oldName = entry->name;
    host_.selectRow(row);
    list.showEntryInfo(row);
    std::optional<std::string> newName;
    if (*kind == RenameKind::OneByOne) {
      host_.RecordWindowRect();
      newName = single_.ask(oldName);
    } else if (*kind != RenameKind::Rename) {
      newName = nameByKind(*kind, oldName);
    }
    if (!newName || *newName == oldName) continue;
    if (std::optional<RefusedName> why = rename(oldName, *newName)) {
      refused.push_back(std::move(*why));
      continue;
    }
    list.showRowText(row, platform::shownName(*newName));
    QEventLoop pause;
    QTimer::singleShot(kPauseMs, &pause, &QEventLoop::quit);
    pause.exec();
  }
  tellRefused(refused);
  list.setBusy(false);
  host_.refreshFileList({});
  host_.setListEnabled(true);
  backToList();
}

void RenameCommands::extensionPrompt() {
  host_.OpenPrompt(host::PromptMode::Extension, "拡張子変更 " + host_.settings().Mask + " -->>>");
}

void RenameCommands::extensionEntered(const std::string& typed) {
  const std::optional<std::string> mask = maskForExtension(typed);
  if (!mask) {
    host_.OpenPrompt(host::PromptMode::Extension, typed + "の拡張子設定は出来ません!!");
    return;
  }
  host_.settings().Mask = *mask;
  host_.closePrompt();
  host_.refreshFileList({});
  host_.showMessage("", host::MessageColour::Lime);
}

} // namespace kestrovan::files
