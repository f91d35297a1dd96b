#include "base/SettingsRecord.h"

#include "platform/IniFile.h"
#include "platform/Paths.h"

#include <variant>

namespace kestrovan::base {
namespace {

// One row of the key table. The order of kKeys is the order of reading;
// writing swaps the first two so that "Top" precedes "Left".
struct Key {
  const char* section;
  const char* name;
  std::variant<std::string SettingsRecord::*, int32_t SettingsRecord::*, bool SettingsRecord::*> member;
};

const Key kKeys[] = {
    {"Main", "Left", &SettingsRecord::Left},
    {"Main", "Top", &SettingsRecord::Top},
    {"Setting", "Port", &SettingsRecord::Port},
    {"Setting", "Speed", &SettingsRecord::Speed},
    {"Setting", "DirPath", &SettingsRecord::DirPath},
    {"Setting", "Mask", &SettingsRecord::Mask},
    {"Setting", "Signal", &SettingsRecord::Signal},
    {"Setting", "FileSort", &SettingsRecord::FileSort},
    {"Setting", "SortMuki", &SettingsRecord::SortMuki},
    {"Edit", "Font Name", &SettingsRecord::Font_Name},
    {"Edit", "Font Size", &SettingsRecord::Font_Size},
    {"Edit", "NC Color", &SettingsRecord::NC_Color},
    {"Setting", "StartChar", &SettingsRecord::StartChar},
    {"Setting", "Code", &SettingsRecord::Code},
    {"Setting", "EndChar", &SettingsRecord::EndChar},
    {"Setting", "O/:-Change", &SettingsRecord::O_Change},
    {"Setting", "ALL-Files", &SettingsRecord::ALL_Files},
    {"Options", "op1", &SettingsRecord::op1},
    {"Options", "InvTime", &SettingsRecord::InvTime},
    {"Options", "ListColumn", &SettingsRecord::ListColumn},
    {"Setting", "DC3(0X93)", &SettingsRecord::DC3_0X93},
    {"Options", "Add_No", &SettingsRecord::Add_No},
    {"Setting", "StartChar_Type", &SettingsRecord::StartChar_Type},
    {"Setting", "EndChar_Type", &SettingsRecord::EndChar_Type},
    {"Options", "Power_Off", &SettingsRecord::Power_Off},
    {"Options", "Send_SP_Cut", &SettingsRecord::Send_SP_Cut},
    {"Options", "Read_SP_Cut", &SettingsRecord::Read_SP_Cut},
    {"Options", "Send_Before", &SettingsRecord::Send_Before},
    {"Options", "AutoSelect", &SettingsRecord::AutoSelect},
    {"Setting", "SendMsg1", &SettingsRecord::SendMsg1},
    {"Setting", "R_Code", &SettingsRecord::R_Code},
    {"Options", "MSG_OP", &SettingsRecord::MSG_OP},
    {"Options", "op2", &SettingsRecord::op2},
    {"Options", "op3", &SettingsRecord::op3},
    {"Options", "op4", &SettingsRecord::op4},
    {"Options", "op5", &SettingsRecord::op5},
    {"Options", "op6", &SettingsRecord::op6},
    {"Options", "WinVer", &SettingsRecord::WinVer},
    {"Setting", "ModemePort1", &SettingsRecord::ModemePort1},
    {"Setting", "ModemePort2", &SettingsRecord::ModemePort2},
};

template <class... F> struct Overloaded : F... { using F::operator()...; };
template <class... F> Overloaded(F...) -> Overloaded<F...>;

} // namespace

SettingsRecord defaultSettings(const std::string& homeFolder) {
  SettingsRecord s;
  s.DirPath = homeFolder;
  return s;
}

SettingsRecord loadSettings(const platform::IniFile& ini, const std::string& homeFolder) {
  const SettingsRecord defaults = defaultSettings(homeFolder);
  SettingsRecord s = defaults;
  for (const Key& k : kKeys) {
    std::visit(
        Overloaded{
            [&](std::string SettingsRecord::*m) { s.*m = ini.readString(k.section, k.name, defaults.*m); },
            [&](int32_t SettingsRecord::*m) { s.*m = ini.readInteger(k.section, k.name, defaults.*m); },
            [&](bool SettingsRecord::*m) { s.*m = ini.readBool(k.section, k.name, defaults.*m); },
        },
        k.member);
  }
  return s;
}

void saveSettings(const SettingsRecord& s, platform::IniFile& ini) {
  auto write = [&](const Key& k) {
    std::visit(Overloaded{
                   [&](std::string SettingsRecord::*m) { ini.writeString(k.section, k.name, s.*m); },
                   [&](int32_t SettingsRecord::*m) { ini.writeInteger(k.section, k.name, s.*m); },
                   [&](bool SettingsRecord::*m) { ini.writeBool(k.section, k.name, s.*m); },
               },
               k.member);
  };
  write(kKeys[1]); // Top
  write(kKeys[0]); // Left
  for (size_t i = 2; i < std::size(kKeys); ++i)
    write(kKeys[i]);
}

std::string settingsFilePath(const std::string& programFolder, const std::string& exeBaseName) {
  return platform::joinPath(programFolder, exeBaseName + ".INI");
}

} // namespace kestrovan::base
