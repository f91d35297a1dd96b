#include "editor/NcHighlighter.h"

namespace kestrovan::editor {

void setNcColouring(QPlainTextEdit*, bool) {}

} // namespace kestrovan::editor
