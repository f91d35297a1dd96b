#pragma once
// What the external commands' dialogs share besides their frame
// (host/FixedDialog.h): widgets placed by name, and the modal show that
// returns at once (the main window's loop keeps the dialog alive).

#include <QDialog>
#include <QRect>
#include <QString>

namespace kestrovan::external {

void showApplicationModal(QDialog& dialog);

// A widget of the dialog, made with `args` before its parent, named and placed.
template <class Widget, class... Args>
Widget* place(QWidget* parent, const char* name, QRect at, Args&&... args) {
  auto* w = new Widget(std::forward<Args>(args)..., parent);
  w->setObjectName(name);
  w->setGeometry(at);
  return w;
}

} // namespace kestrovan::external
