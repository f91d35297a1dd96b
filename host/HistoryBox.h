#pragma once
// The edit box with its history (Path.lst, NAME.lst) of the copy/move, split
// and join dialogs.

#include <QRect>

#include <string>
#include <vector>

class QComboBox;
class QWidget;

namespace kestrovan::host {

// An editable box "ComboBox1" at its place. What is typed is what is used: the
// history comes by the drop-down and the arrow keys, never as an inline
// completion that Enter would take for the text.
QComboBox* historyBox(QWidget* parent, QRect place);

// The history's entries in the drop-down, newest first, and `text` in the box.
void showHistory(QComboBox& box, const std::vector<std::string>& entries, const std::string& text);

} // namespace kestrovan::host
