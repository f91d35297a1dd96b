#include "editor/OpenTextDialog.h"

#include <QFileDialog>

namespace kestrovan::editor {

std::optional<std::string> chooseTextFile(QWidget* parent, const std::string& folder, const std::string& mask) {
  const QString path = QFileDialog::getOpenFileName(parent, {}, QString::fromStdString(folder),
                                                    QString::fromStdString(mask), nullptr,
                                                    QFileDialog::DontUseNativeDialog);
  if (path.isEmpty()) return std::nullopt;
  return path.toStdString();
}

} // namespace kestrovan::editor
