#include "host/FolderBrowser.h"

#include <QFileDialog>

namespace kestrovan::host {

std::optional<std::string> QtFolderBrowser::browse(QWidget* owner, const std::string& caption,
                                                   const std::string& start) {
  const QString chosen = QFileDialog::getExistingDirectory(
      owner, QString::fromStdString(caption), QString::fromStdString(start), QFileDialog::ShowDirsOnly);
  if (chosen.isEmpty()) return std::nullopt;
  return chosen.toStdString();
}

} // namespace kestrovan::host
