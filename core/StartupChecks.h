#pragma once
// The checks of the first display: the data folder and the NC port, and the
// list layout taken from ListColumn.

#include <string>

namespace kestrovan::base {
class Dialogs;
struct SettingsRecord;
} // namespace kestrovan::base
namespace kestrovan::serial {
class PortOpener;
}

namespace kestrovan::core {

// A missing data folder is offered for creation; No (or a folder that cannot
// be made) falls back to the home folder. The root "/" is never tested.
void checkDataFolder(base::SettingsRecord& settings, base::Dialogs& dialogs, const std::string& homeFolder);

// Reports a port that does not open (naming its device and why), is a modem
// port, or is not "COM" and a number. Start-up goes on either way. Returns
// whether the port is usable.
bool checkPort(const base::SettingsRecord& settings, serial::PortOpener& opener, base::Dialogs& dialogs);

struct ListLayout {
  int columns;
  int width; // pixels
};
// 1-4 columns leave the letter-command list visible (616 pixels); 5 covers it
// (728). Any other stored value becomes 5, so that the next save stores 5.
ListLayout correctListLayout(base::SettingsRecord& settings);

} // namespace kestrovan::core
