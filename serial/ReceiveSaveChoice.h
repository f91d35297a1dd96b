#pragma once
// The choices made before a reception starts, as plain rules for the windows
// that ask them: the save-choice box (save under a name, per program number,
// or cancel) and the name typed on the prompt line with its overwrite
// question.

#include <string>

namespace kestrovan::base {
class Dialogs;
struct SettingsRecord;
} // namespace kestrovan::base
namespace kestrovan::serial {

inline constexpr const char* kSaveChoiceTitle = "データ保存";
inline constexpr const char* kSaveChoiceText =
    "受信ファイル名を付けて保存(Y)Ｏ（Ｌ）番号毎に保存　　　(N)　　　　　　　　　　　Esc:中止";
// The message line while the prompt line asks for the name.
inline constexpr const char* kReceiveNamePromptText = "ファイル受信 受信ファイル名-->>>";

enum class SaveChoice { None, ByName, PerProgramNumber, Cancel };

// A key typed into the box's one-letter entry: Y or N (either case), Esc
// (0x1B). Any other key chooses nothing.
SaveChoice saveChoiceForKey(int key);
// A click on the box's text, by its height in pixels from the top of the
// text: 0-18 Y, 19-36 N, 37-54 Esc; elsewhere nothing.
SaveChoice saveChoiceForClick(int y);

// The file a reception by name writes: `name` as status panel 0 shows it,
// `path` inside the data folder.
struct ReceiveTarget {
  std::string name;
  std::string path;
};

// The typed name as a file of the data folder: with ALL-Files "Y" the typed
// text is the whole name, otherwise the extension from Mask is added. The
// text is made a safe file name first (ReceiveFileNames.h), so whatever was
// typed, the file stays inside the data folder.
ReceiveTarget receiveTargetForName(const std::string& typed, const base::SettingsRecord& settings);

// "すでに<path>が有ります。\n上書きしますか？"
std::string overwriteQuestion(const std::string& path);

// Enter on the prompt line in receive-name mode. When a file of that name
// exists the operator is asked (Yes/No, warning icon) whether to overwrite
// it. Start: the reception starts with `target`. No: the prompt stays open
// for another name.
struct NameEntry {
  bool start = false;
  ReceiveTarget target;
};
NameEntry enterReceiveName(const std::string& typed, const base::SettingsRecord& settings,
                           base::Dialogs& dialogs);

} // namespace kestrovan::serial
