#pragma once
// The keyboard in the program's dialogs, one rule for all of them:
// - Enter presses the focused push button when a push button has the focus,
//   and otherwise runs the dialog's default action (its OK), whatever field,
//   box or choice has the focus. A field that gives Enter a meaning of its own
//   (moving on to the next field) is named in `ownEnter` and keeps it.
// - When the dialog closes, the keyboard goes back to the main window's file
//   list (when a host is given), so that the next key is never lost.
// Keys reach a dialog at its focus widget, which for an editable box is the
// box and not its line edit, so the rule watches the whole dialog rather
// than one field.

#include <functional>
#include <vector>

class QDialog;
class QWidget;

namespace kestrovan::host {

class Host;

struct DialogKeys {
  std::function<void()> enter;    // the default action; empty: Enter presses buttons only
  std::vector<QWidget*> ownEnter; // fields whose Enter is their own
  Host* host = nullptr;           // the file list gets the keyboard back on close
};

void installDialogKeys(QDialog& dialog, DialogKeys keys);

// Gives the keyboard back to the main window's file list, unless a modal
// dialog or box is still up.
void returnKeyboardToList(Host& host);

} // namespace kestrovan::host
