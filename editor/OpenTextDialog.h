#pragma once
// COpenTextDialog: Qt's open dialog (its non-native form) with a memo below
// that shows the beginning of the file selected in it.

#include <optional>
#include <string>

class QWidget;

namespace kestrovan::editor {

// Runs the dialog modally in `folder`, listing the files that match `mask`
// (the listing mask, "*.NC" or "*.*"); the chosen file's full path, or
// nothing when it was cancelled.
std::optional<std::string> chooseTextFile(QWidget* parent, const std::string& folder, const std::string& mask);

} // namespace kestrovan::editor
