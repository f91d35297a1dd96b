#pragma once
// The external command table: programs bound to Alt+A ... Alt+Z, kept in
// OutApp_Sub.ini (section [Application]) in the program folder. Loaded when
// the main window is created, saved when it closes, right after the settings.

#include <array>
#include <string>

namespace kestrovan::platform {
class IniFile;
}

namespace kestrovan::external {

struct CommandEntry {
  std::string application;        // program path, optionally " " + argument template ($A..$D)
  std::string useArguments = "N"; // "Y": ask for the argument before starting
  std::string name;               // free name shown in the table and the Alt list
};

struct CommandTable {
  std::string EditApp; // read and written back unchanged; nothing else uses it
  std::array<CommandEntry, 26> entries;

  // Letter 'A'..'Z' (either case); nullptr for anything else.
  CommandEntry* entry(char letter);
  const CommandEntry* entry(char letter) const;
};

CommandTable loadCommandTable(const platform::IniFile& ini);
// EditApp, then OutAppX, OutAppX_F, OutAppX_N for each letter: 79 keys.
void saveCommandTable(const CommandTable& table, platform::IniFile& ini);

// The key of letter index 0..25 as the table dialog shows it: "Alt+A" ... "Alt+Z".
std::string commandKeyText(int index);

// "変更\n追加" in the table dialog: the row's name, flag and application.
void changeEntry(CommandEntry& entry, const std::string& name, bool useArguments,
                 const std::string& application);

// The external-command list shown while Alt is held: "ALT+A : " + name and a
// line break for A to M on the left, N to Z on the right.
struct AltListTexts {
  std::string left;
  std::string right;
};
AltListTexts altListTexts(const CommandTable& table);

inline constexpr const char* kCommandTableFileName = "OutApp_Sub.ini";
std::string commandTablePath(const std::string& programFolder);

} // namespace kestrovan::external
