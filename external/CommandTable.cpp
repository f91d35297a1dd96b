#include "external/CommandTable.h"

#include "platform/IniFile.h"
#include "platform/Paths.h"

namespace kestrovan::external {
namespace {
constexpr const char* kSection = "Application";

std::string key(char letter, const char* suffix) { return std::string("OutApp") + letter + suffix; }
} // namespace

CommandEntry* CommandTable::entry(char letter) {
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  if (letter < 'A' || letter > 'Z') return nullptr;
  return &entries[static_cast<size_t>(letter - 'A')];
}

const CommandEntry* CommandTable::entry(char letter) const {
  return const_cast<CommandTable*>(this)->entry(letter);
}

CommandTable loadCommandTable(const platform::IniFile& ini) {
  CommandTable t;
  t.EditApp = ini.readString(kSection, "EditApp", "");
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    CommandEntry& e = *t.entry(letter);
    e.application = ini.readString(kSection, key(letter, ""), "");
    e.useArguments = ini.readString(kSection, key(letter, "_F"), "N");
    e.name = ini.readString(kSection, key(letter, "_N"), "");
  }
  return t;
}

void saveCommandTable(const CommandTable& t, platform::IniFile& ini) {
  ini.writeString(kSection, "EditApp", t.EditApp);
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const CommandEntry& e = *t.entry(letter);
    ini.writeString(kSection, key(letter, ""), e.application);
    ini.writeString(kSection, key(letter, "_F"), e.useArguments);
    ini.writeString(kSection, key(letter, "_N"), e.name);
  }
}

std::string commandKeyText(int index) { return std::string("Alt+") + static_cast<char>('A' + index); }

void changeEntry(CommandEntry& entry, const std::string& name, bool useArguments,
                 const std::string& application) {
  entry.name = name;
  entry.useArguments = useArguments ? "Y" : "N";
  entry.application = application;
}

AltListTexts altListTexts(const CommandTable& table) {
  AltListTexts texts;
  for (char letter = 'A'; letter <= 'Z'; ++letter)
    (letter <= 'M' ? texts.left : texts.right) +=
        std::string("ALT+") + letter + " : " + table.entry(letter)->name + "\n";
  return texts;
}

std::string commandTablePath(const std::string& programFolder) {
  return platform::joinPath(programFolder, kCommandTableFileName);
}

} // namespace kestrovan::external
