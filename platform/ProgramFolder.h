#pragma once
// Where the program keeps its own files (settings, external command table,
// split options, history lists, transfer log), and what it is called.

#include <optional>
#include <string>

namespace kestrovan::platform {

struct ExecutableInfo {
  std::string fileName; // last path component of argument 0, as started ("kestrovan")
  std::string folder;   // folder of the running executable file
  // The file name without its extension: settings are "<baseName>.INI".
  std::string baseName() const;
};

// fileName from argv0, folder from the running executable itself.
ExecutableInfo currentExecutable(const char* argv0);

struct ProgramFolderInputs {
  std::optional<std::string> kestrovanHome; // $KESTROVAN_HOME
  std::string executableFolder;
  bool executableFolderWritable = false;
  std::optional<std::string> xdgConfigHome; // $XDG_CONFIG_HOME
  std::string home;                         // the user's home folder
};

// $KESTROVAN_HOME when set; else the executable's folder when writable and
// not a folder programs are installed into (/usr/bin, the configured install
// folder); else $XDG_CONFIG_HOME/kestrovan (default ~/.config/kestrovan).
std::string chooseProgramFolder(const ProgramFolderInputs& in);

// The folders installed programs run from: /usr/bin, /usr/local/bin and the
// like, and the folder this build installs its programs into.
bool isInstalledProgramFolder(const std::string& folder);

// The same, from the real environment; the folder is created when missing.
std::string programFolder(const ExecutableInfo& exe);

// The user's home folder ($HOME, else the password database, else "/").
std::string homeFolder();

} // namespace kestrovan::platform
