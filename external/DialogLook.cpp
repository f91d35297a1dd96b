#include "external/DialogLook.h"

#include <QFont>

namespace kestrovan::external {

void setUpFixedDialog(QDialog& dialog, const char* name, const char* title, QSize size) {
  dialog.setObjectName(name);
  dialog.setWindowTitle(title);
  dialog.setFixedSize(size);
  QFont font("IPAPGothic");
  font.setPixelSize(12);
  dialog.setFont(font);
}

void showApplicationModal(QDialog& dialog) {
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.show();
  dialog.raise();
  dialog.activateWindow();
}

} // namespace kestrovan::external
