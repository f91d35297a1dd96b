#pragma once
// Where the dialogs of the file operations open: centred on the main window.

#include <QRect>
#include <QWidget>

namespace kestrovan::files {

// Centres a shown dialog, frame included, on `main` (the main window's
// outer rectangle).
inline void centreOn(QWidget* dialog, const QRect& main) {
  const QSize own = dialog->frameGeometry().size();
  dialog->move(main.left() + main.width() / 2 - own.width() / 2,
               main.top() + main.height() / 2 - own.height() / 2);
}

} // namespace kestrovan::files
