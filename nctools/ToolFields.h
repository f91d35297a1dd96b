#pragma once
// The rules of the NC tool dialogs' fields and the texts they show: which
// characters each field refuses, where the split's destination text points,
// and the messages of the three tools.

#include <string>
#include <string_view>

namespace kestrovan::nctools {

// The split's destination folder. Paths are typed as this system writes
// them, so "/" is the separator and the backslash is refused in its place;
// the colon and the dot are accepted (folders with dots are ordinary here).
inline constexpr const char* kFolderRefused = "\\,;*?<>|";
inline constexpr const char* kFolderRefusedText = "この文字はフォルダー名に使えません。\n\\,;*?<>|";
// The join's file name.
inline constexpr const char* kFileNameRefused = "/:,;*?<>|.";
inline constexpr const char* kFileNameRefusedText = "この文字はファイル名に使えません。\n/:,;*?<>|.";
// The doubling's letter box takes the axis letters only.
inline constexpr const char* kLetterRefusedText = "この文字は変更できません。\n";

// Whether a text holds a character of `refused` (ASCII only: the second
// byte of a two-byte character is never taken for one).
int refusedCount(std::string_view text, const char* refused);

// Whether a join name is refused when OK takes it, however it came into the
// box: typed, pasted or taken from the history (a NAME.lst edited by hand or
// written elsewhere). Refused are the characters the field refuses as typed
// but the dot, control characters, and the names "." and "..". The dot alone
// never leads out of the data folder, and a history name may carry the
// extension ("ABC.NC").
bool joinNameRefused(std::string_view name);

// Where the split writes: the typed text less one trailing "/", read against
// the data folder when relative. `checkExists` is false for the root, which
// is used as it is.
struct SplitDestination {
  std::string folder;
  bool checkExists = true;
};
SplitDestination splitDestination(const std::string& typed, const std::string& dirPath);

// The lines of a loaded program, as the tools walk them (the progress range).
std::size_t programLineCount(std::string_view text);

// Messages.
inline constexpr const char* kCreateFolderQuestion =
    "ディレクトリが見つかりません。ディレクトリを作成しますか？";
inline constexpr const char* kNoProgramNumber = "プログラム番号が見つかりませんでした。。";
inline constexpr const char* kSplitDone = "Ｏ番号毎に分割完了しました。";
inline constexpr const char* kJoinDone = "ファイル結合完了しました。";
inline constexpr const char* kJoinNameIsAnInput = "この結合ﾌｧｲﾙ名は選択したﾌｧｲﾙに存在します。";
inline constexpr const char* kNotSeveralMarked = "選択されたﾌｧｲﾙが複数ありません。";
std::string cannotCreateText(const std::string& path);
std::string cannotOpenText(const std::string& path);
std::string overwriteQuestion(const std::string& path);
std::string notANumberText(const std::string& number);
std::string doublingDoneText(char letter, const std::string& outputName);

} // namespace kestrovan::nctools
