#pragma once
// Every setting that survives a restart: one member per key of the settings
// file, named after the key. Loaded once while the main window is created and
// written back once when it closes (never when the run had arguments).

#include <cstdint>
#include <string>

namespace kestrovan::platform {
class IniFile;
}

namespace kestrovan::base {

struct SettingsRecord {
  // [Main]
  int32_t Left = 10;
  int32_t Top = 10;
  // [Setting]
  std::string Port = "COM1";
  std::string Speed = "4800,8,N,2";
  std::string DirPath; // the user's home folder unless stored
  std::string Mask = "*.NC";
  std::string Signal = "Y";
  std::string FileSort = "N";
  std::string SortMuki = "D";
  // [Edit]
  std::string Font_Name = "ＭＳ Ｐゴシック";
  int32_t Font_Size = 10;
  std::string NC_Color = "Y"; // NC syntax colouring in the editor and the file view
  // [Setting]
  std::string StartChar = "N";
  std::string Code = "N";
  std::string EndChar = "Y";
  std::string O_Change = "N";
  std::string ALL_Files = "Y";
  // [Options]
  std::string op1 = "N";
  int32_t InvTime = 0;
  int32_t ListColumn = 2;
  std::string DC3_0X93 = "Y";
  std::string Add_No = "Y";
  int32_t StartChar_Type = 1;
  int32_t EndChar_Type = 1;
  std::string Power_Off = "N";
  std::string Send_SP_Cut = "N";
  std::string Read_SP_Cut = "N";
  int32_t Send_Before = 0;
  std::string AutoSelect = "N";
  std::string SendMsg1;
  int32_t R_Code = 0;
  std::string MSG_OP = "N";
  std::string op2 = "N";
  std::string op3 = "N";
  std::string op4 = "N";
  std::string op5 = "N";
  std::string op6 = "N";
  bool WinVer = false;
  std::string ModemePort1;
  std::string ModemePort2;
};

// Defaults, with the data folder set to `homeFolder`.
SettingsRecord defaultSettings(const std::string& homeFolder);

// Fills every member from the profile in key order, taking the default for a
// missing key (and for an integer or boolean that does not parse).
SettingsRecord loadSettings(const platform::IniFile& ini, const std::string& homeFolder);

// Writes every member back, key by key in the same order ("Top" before
// "Left"), keeping every other line of the profile.
void saveSettings(const SettingsRecord& settings, platform::IniFile& ini);

// The settings file: "<executable base name>.INI" in the program folder.
std::string settingsFilePath(const std::string& programFolder, const std::string& exeBaseName);

} // namespace kestrovan::base
