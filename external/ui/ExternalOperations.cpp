#include "external/ui/ExternalOperations.h"

#include "base/Dialogs.h"
#include "external/CommandTable.h"
#include "external/Launch.h"
#include "files/FileList.h"
#include "host/Host.h"

namespace kestrovan::external {

ExternalOperations::ExternalOperations(host::Host& host)
    : host_(host), altList_(host.window()), AppopenForm(host), OutAppForm(host, launcher_) {
  host.setCommandHandler(host::Command::ExternalTable, [this](bool) {
    host_.RecordWindowRect();
    hideAltList();
    AppopenForm.showModal();
  });
  // The key table lets X through on a file row only.
  host.setCommandHandler(host::Command::OpenAssociated, [this](bool) {
    if (std::optional<SelectedFile> file = selectedFile()) carryOut(openWithAssociation(*file), launcher_);
  });
  host.setAltKeys(
      {[this] { showAltList(); }, [this](char letter) { startByLetter(letter); }, [this] { hideAltList(); }});
}

// The first Alt shows the list and attaches the shortcuts; further ones do
// nothing until a key is released.
void ExternalOperations::showAltList() {
  if (AltListShown) return;
  altList_.show(host_.commandTable());
  AltListShown = true;
}

void ExternalOperations::hideAltList() {
  altList_.hide();
  AltListShown = false;
}

std::optional<SelectedFile> ExternalOperations::selectedFile() const {
  const files::FileList& list = host_.fileList();
  const int row = host_.selectedRow();
  if (list.rowKind(row) != files::RowKind::File) return std::nullopt;
  return SelectedFile{list.folder(), list.entryAt(row)->name};
}

void ExternalOperations::startByLetter(char letter) {
  if (!AltListShown) return; // the shortcuts are attached only while the list shows
  hideAltList();
  const CommandEntry& entry = *host_.commandTable().entry(letter);
  const LetterDecision d = decideLetterStart(entry, selectedFile());
  switch (d.step) {
  case LetterDecision::Step::SelectAFile:
    host_.dialogs().show({"確認", "ﾌｧｲﾙを選択して下さい。\n(複数のﾌｧｲﾙ選択は不可です。)",
                          base::MessageButtons::Ok, base::MessageIcon::Stop});
    return;
  case LetterDecision::Step::NoProgram: return;
  case LetterDecision::Step::AskArgument:
    host_.RecordWindowRect();
    OutAppForm.showModal(entry.name, entry.application, d.initialArgument);
    return;
  case LetterDecision::Step::Start: carryOut(d.launch, launcher_); return;
  }
}

} // namespace kestrovan::external
