#pragma once
// What the dialogs of the file operations share: their frame (a fixed-size
// dialog with a title and a close box, in the proportional Gothic), their
// buttons, and their place, centred on the main window.

#include <QDialog>
#include <QPushButton>
#include <QRect>

namespace kestrovan::files {

inline constexpr Qt::WindowFlags kDialogFlags = Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint |
                                                Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                                Qt::WindowCloseButtonHint;

inline void setUpDialog(QDialog* dialog, const char* name, const char* title, QSize size) {
  dialog->setObjectName(name);
  dialog->setWindowTitle(title);
  dialog->setFixedSize(size);
  QFont font("IPAPGothic");
  font.setPixelSize(12);
  dialog->setFont(font);
}

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
