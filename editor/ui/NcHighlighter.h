#pragma once
// NC syntax colouring for a text view: comments, program numbers, block
// numbers, G and M codes, address words. Only the lines that come into view
// are coloured (a line once coloured keeps its colours until it is edited),
// so a 20 MB program is coloured as fast as a short one.

class QPlainTextEdit;

namespace kestrovan::editor {

// Switches the colouring of `view` on or off (it stays attached to the view
// until switched off).
void setNcColouring(QPlainTextEdit* view, bool on);
// Whether `view` is coloured now.
bool hasNcColouring(const QPlainTextEdit* view);

} // namespace kestrovan::editor
