#pragma once
// NC syntax colouring for a text view: comments, program numbers, block
// numbers, G and M codes, address words.

#include <cstddef>

class QPlainTextEdit;

namespace kestrovan::editor {

// Switches the colouring of `view` on or off (it stays attached to the view's
// document until switched off). A document longer than kColourLimit
// characters is left plain: colouring it would take seconds at once, since
// every line is coloured when the colouring is attached.
void setNcColouring(QPlainTextEdit* view, bool on);
// Whether `view` is coloured now.
bool hasNcColouring(const QPlainTextEdit* view);

inline constexpr std::size_t kColourLimit = 4u << 20;

} // namespace kestrovan::editor
