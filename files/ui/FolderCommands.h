#pragma once
// The folder prompt (F5), its browse variant (Shift+F5: the folder browser
// first) and the drive menu (L) of the main window.

#include "platform/Drives.h"

#include <string>
#include <vector>

class QIcon;
class QMenu;

namespace kestrovan::host {
class FolderBrowser;
class Host;
} // namespace kestrovan::host

namespace kestrovan::files {

// A drive menu entry's label after its path, by kind: " (固定ﾃﾞｨｽｸ)" and so on.
const char* driveLabel(platform::DriveKind kind);
// The entry's icon: the desktop's icon theme, Qt's own drive icons where it
// has none.
QIcon driveIcon(platform::DriveKind kind);

class FolderCommands {
public:
  FolderCommands(host::Host& host, host::FolderBrowser& browser);
  ~FolderCommands();

  void folderPrompt();
  void folderBrowse();
  void folderEntered(const std::string& text);
  void driveMenu();

  // The menu as it was built the last time it opened (tests look in it).
  QMenu* menu() { return menu_; }

private:
  void chooseDrive(const std::string& path);
  void openFolderPrompt(const std::string& dir, const std::string& folder);

  host::Host& host_;
  host::FolderBrowser& browser_;
  QMenu* menu_;
  std::string put_;      // the folder put into the prompt line, as bytes
  std::string putShown_; // and as the line shows it
};

} // namespace kestrovan::files
