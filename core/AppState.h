#pragma once
// What the main window owns for the whole run besides its widgets: the
// settings, the external command table and the state of this run. Filled while
// the main window is created, saved when it closes.

#include "base/RunState.h"
#include "base/SettingsRecord.h"
#include "external/CommandTable.h"
#include "platform/IniFile.h"

#include <functional>
#include <string>
#include <vector>

namespace kestrovan::core {

struct ProgramFiles {
  std::string folder;           // the program folder
  std::string settingsPath;     // <base name>.INI
  std::string commandTablePath; // OutApp_Sub.ini
  std::string logPath;          // <base name>.log, the transfer log

  static ProgramFiles in(const std::string& folder, const std::string& exeBaseName);
};

struct AppState {
  ProgramFiles files;
  std::string homeFolder;
  platform::IniFile settingsProfile; // as loaded; also the source of [Ports]
  base::SettingsRecord settings;
  external::CommandTable commands;
  base::RunState run;
};

// Loads the settings, then the command table, then cuts the command line.
AppState loadAppState(const ProgramFiles& files, const std::string& homeFolder,
                      const std::vector<std::string>& args,
                      const std::function<bool(const std::string&)>& pathExists);

// At close: when the run had no arguments, writes the settings and then the
// command table, each into the file as it is now on disk so that lines the
// program does not own (the [Ports] section, comments) are kept. A file that
// cannot be written loses this run's changes and nothing else.
void saveAppState(const AppState& state);

} // namespace kestrovan::core
