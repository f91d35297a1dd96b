#pragma once
// NC syntax colouring for a text view: comments, program numbers, block
// numbers, G and M codes, address words.

class QPlainTextEdit;

namespace kestrovan::editor {

// Switches the colouring of `view` on or off (it stays attached to the view's
// document until switched off).
void setNcColouring(QPlainTextEdit* view, bool on);

} // namespace kestrovan::editor
