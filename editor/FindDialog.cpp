#include "editor/FindDialog.h"

namespace kestrovan::editor {

FindDialog::FindDialog(FindTarget target, QWidget* parent) : QDialog(parent), target_(std::move(target)) {
  setObjectName("FindDialog1");
}

void FindDialog::showFind() { show(); }

void FindDialog::findNext() {}

} // namespace kestrovan::editor
