#include "core/AppState.h"

#include "core/CommandLine.h"
#include "platform/Paths.h"
#include "serial/TransferLog.h"

namespace kestrovan::core {

ProgramFiles ProgramFiles::in(const std::string& folder, const std::string& exeBaseName) {
  return {folder, base::settingsFilePath(folder, exeBaseName), external::commandTablePath(folder),
          serial::transferLogPath(folder, exeBaseName)};
}

AppState loadAppState(const ProgramFiles& files, const std::string& homeFolder,
                      const std::vector<std::string>& args,
                      const std::function<bool(const std::string&)>& pathExists) {
  AppState state;
  state.files = files;
  state.homeFolder = homeFolder;
  state.settingsProfile = platform::IniFile::load(files.settingsPath);
  state.settings = base::loadSettings(state.settingsProfile, homeFolder);
  state.commands = external::loadCommandTable(platform::IniFile::load(files.commandTablePath));
  state.run.CommandLineRun = !args.empty();
  if (state.run.CommandLineRun) state.run.commandItems = cutCommandLine(args, pathExists);
  state.run.MarkCapacity = 100;
  return state;
}

void saveAppState(const AppState& state) {
  if (state.run.CommandLineRun) return;
  platform::IniFile settings = platform::IniFile::load(state.files.settingsPath);
  base::saveSettings(state.settings, settings);
  settings.save(state.files.settingsPath);

  platform::IniFile commands = platform::IniFile::load(state.files.commandTablePath);
  external::saveCommandTable(state.commands, commands);
  commands.save(state.files.commandTablePath);
}

} // namespace kestrovan::core
