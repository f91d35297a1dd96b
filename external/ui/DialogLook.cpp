#include "external/ui/DialogLook.h"

namespace kestrovan::external {

void showApplicationModal(QDialog& dialog) {
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.show();
  dialog.raise();
  dialog.activateWindow();
}

} // namespace kestrovan::external
