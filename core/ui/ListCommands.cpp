#include "core/ui/ListCommands.h"

#include "core/ui/FileListBox.h"
#include "core/ScreenRules.h"

namespace kestrovan::core {

void ListCommands::selectAndShow(int row) {
  if (row < 0) return;
  s_.ListBox1->selectRow(row);
  list_.showEntryInfo(row);
}

void ListCommands::page(bool down) {
  const PageMove move = pageMove(down, static_cast<int>(list_.rows().size()), s_.ListBox1->selectedRow(),
                                 s_.ListBox1->columns(), s_.ListBox1->rowsPerColumn());
  if (move.select < 0) return;
  s_.ListBox1->selectRow(move.scrollTo);
  selectAndShow(move.select);
}

void ListCommands::activateSelected() {
  files::Activation a = list_.activateSelected();
  switch (a.kind) {
  case files::Activation::Kind::MarkToggled:
    markAnchor_ = a.selectedRow;
    list_.showEntryInfo(a.selectedRow);
    break;
  case files::Activation::Kind::EnterFolder: enterFolder_(a.folder); break;
  case files::Activation::Kind::None: break;
  }
}

void ListCommands::clicked(int row, bool shift) {
  if (shift)
    list_.markRange(markAnchor_, row);
  else
    markAnchor_ = row;
  list_.showEntryInfo(row);
}

} // namespace kestrovan::core
