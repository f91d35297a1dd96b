#pragma once
// The desktop's folder browser, as every operation that lets the operator
// pick a folder asks it (Shift+F5, the "..." button of the copy/move
// dialog, the split dialog's destination). The composition root hands the
// real one to the operations; tests answer it.

#include <optional>
#include <string>

class QWidget;

namespace kestrovan::host {

class FolderBrowser {
public:
  virtual ~FolderBrowser() = default;
  // File-system folders only, starting at `start`; the chosen folder, or
  // nothing when the operator cancels. Paths are bytes, as the file system
  // holds them.
  virtual std::optional<std::string> browse(QWidget* owner, const std::string& caption,
                                            const std::string& start) = 0;
};

// The program's own chooser (host/FileChooser.h), listing names from their bytes.
class QtFolderBrowser : public FolderBrowser {
public:
  std::optional<std::string> browse(QWidget* owner, const std::string& caption,
                                    const std::string& start) override;
};

} // namespace kestrovan::host
