#include "nctools/ui/NcToolOperations.h"

#include "base/Dialogs.h"
#include "base/SettingsRecord.h"
#include "files/FileList.h"
#include "host/Host.h"
#include "nctools/OutputNames.h"
#include "nctools/ToolFields.h"
#include "nctools/ToolInput.h"
#include "platform/Paths.h"
#include "serial/ProgramFile.h"

namespace kestrovan::nctools {

NcToolOperations::NcToolOperations(host::Host& host, host::FolderBrowser& browser, OutputFiles* outputs)
    : host_(host), splitForm_(host, browser, outputs ? *outputs : disk_),
      joinForm_(host, outputs ? *outputs : disk_), doublingForm_(host, outputs ? *outputs : disk_) {
  host.setCommandHandler(host::Command::Split, [this](bool) { split(); });
  host.setCommandHandler(host::Command::Join, [this](bool) { join(); });
  host.setCommandHandler(host::Command::AxisDouble, [this](bool) { doubleAxis(); });
  // A loaded program is let go once its dialog has closed.
  for (QDialog* dialog : {static_cast<QDialog*>(&splitForm_), static_cast<QDialog*>(&doublingForm_)})
    QObject::connect(dialog, &QDialog::finished, dialog, [this] { std::string().swap(program_); });
}

bool NcToolOperations::loadSelected(std::string& name, std::string& path) {
  files::FileList& list = host_.fileList();
  const int row = host_.selectedRow();
  if (list.rowKind(row) != files::RowKind::File) return false;
  name = list.entryAt(row)->name;
  path = list.entryPath(row);
  // A file gone or locked since it was listed opens no dialog: its empty
  // text would give an empty copy told as done. Nor does one whose NUL the
  // operator would not go past: its copy would end there.
  ToolInput input = loadToolInput(path, host_.dialogs());
  switch (input.end) {
  case ToolInputEnd::Loaded: break;
  case ToolInputEnd::CannotOpen:
    host_.dialogs().show(
        {"エラー", cannotOpenText(path), base::MessageButtons::Ok, base::MessageIcon::Error});
    return false;
  case ToolInputEnd::Declined: return false;
  }
  program_ = std::move(input.text);
  return true;
}

void NcToolOperations::split() {
  std::string name, path;
  if (!loadSelected(name, path)) return;
  host_.RecordWindowRect();
  splitForm_.open(name, path, program_);
}

void NcToolOperations::doubleAxis() {
  std::string name, path;
  if (!loadSelected(name, path)) return;
  host_.RecordWindowRect();
  doublingForm_.open(name, doubledFileName(name, toolExtension(host_.settings().Mask)), program_);
}

// With one mark the mark goes and the operator is told; with none nothing
// happens (Shift+F4 comes here without a mark too).
void NcToolOperations::join() {
  files::FileList& list = host_.fileList();
  if (list.marks().count() == 0) return;
  std::vector<std::string> names = list.takeMarkedNames();
  list.marks().clear();
  if (names.size() < 2) {
    host_.dialogs().show({"確認", kNotSeveralMarked, base::MessageButtons::Ok, base::MessageIcon::Error});
    return;
  }
  host_.RecordWindowRect();
  joinForm_.open(std::move(names));
}

} // namespace kestrovan::nctools
