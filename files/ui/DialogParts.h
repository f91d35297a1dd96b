#pragma once
// What the dialogs of the file operations share besides their frame
// (host/FixedDialog.h): their buttons, and their place, centred on the main
// window.

#include <QPushButton>
#include <QRect>

namespace kestrovan::files {

inline QPushButton* dialogButton(QWidget* parent, const char* text, const char* name, QRect place) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  button->setGeometry(place);
  return button;
}

// Centres a shown dialog, frame included, on `main` (the main window's
// outer rectangle).
inline void centreOn(QWidget* dialog, const QRect& main) {
  const QSize own = dialog->frameGeometry().size();
  dialog->move(main.left() + main.width() / 2 - own.width() / 2,
               main.top() + main.height() / 2 - own.height() / 2);
}

} // namespace kestrovan::files
