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
// Each entry and the text are shown as files::shownPath shows them (a folder
// name that is not UTF-8 is read as CP932) and keep their own bytes beside.
void showHistory(QComboBox& box, const std::vector<std::string>& entries, const std::string& text);

// Puts a path (bytes, e.g. from the folder browser) into the box: its shown
// text in the field, its bytes kept for boxPath.
void setBoxPath(QComboBox& box, const std::string& path);

// The path the box holds, as bytes: an entry picked from the drop-down or a
// path put in by setBoxPath gives back its own bytes, also with more typed
// after it; anything else typed is the UTF-8 of its text.
std::string boxPath(const QComboBox& box);

} // namespace kestrovan::host
