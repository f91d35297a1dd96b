#include "host/FolderBrowser.h"

#include "host/FileChooser.h"

namespace kestrovan::host {

std::optional<std::string> QtFolderBrowser::browse(QWidget* owner, const std::string& caption,
                                                   const std::string& start) {
  FileChooser chooser(owner, FileChooser::Mode::Folder, caption, start);
  if (chooser.exec() != QDialog::Accepted) return std::nullopt;
  return chooser.chosen();
}

} // namespace kestrovan::host
