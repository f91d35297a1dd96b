#include "host/FixedDialog.h"

#include <QFont>

namespace kestrovan::host {

void setUpFixedDialog(QDialog& dialog, const char* name, const char* title, QSize size) {
  dialog.setObjectName(name);
  dialog.setWindowTitle(title);
  dialog.setFixedSize(size);
  QFont font("IPAPGothic");
  font.setPixelSize(12);
  dialog.setFont(font);
}

} // namespace kestrovan::host
