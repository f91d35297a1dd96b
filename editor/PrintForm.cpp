#include "editor/PrintForm.h"

namespace kestrovan::editor {

TPrintForm::TPrintForm(QWidget* parent) : parent_(parent) {}

void TPrintForm::print(QPlainTextEdit&, const std::string&) {}

void TPrintForm::preview(QPlainTextEdit&, const std::string&) {}

void TPrintForm::printerSetup() {}

} // namespace kestrovan::editor
