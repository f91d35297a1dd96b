#pragma once
// Where a copy or a move goes: the copy prompt's target name, the copy/move
// dialog's destination text, the same-folder refusal and the characters the
// destination field refuses.

#include <string>

namespace kestrovan::files {

// The extension a copy made on the prompt gets: Mask without its first
// character ("*.NC" gives ".NC"); none when that is itself a wildcard.
std::string maskExtension(const std::string& mask);

// The copy prompt's target in the data folder: the typed name, with the
// extension of Mask unless every file is listed (ALL-Files "Y").
std::string copyPromptTarget(const std::string& folder, const std::string& typed, const std::string& allFiles,
                             const std::string& mask);

// The destination folder the dialog's text names: without its trailing "/",
// a relative path read against the data folder.
std::string destinationFolder(const std::string& text, const std::string& dirPath);

// The destination is the data folder itself: the same path in any letter
// case, or another path to the same folder.
bool sameFolder(const std::string& destination, const std::string& dirPath);

// The destination field's refused characters and the box text naming them.
// Paths are typed as this system writes them, so "/" is the separator and
// the backslash is refused in its place.
inline constexpr const char* kDestinationRefused = "\\,;*?<>|";
inline constexpr const char* kDestinationRefusedText = "この文字はフォルダー名に使えません。\n\\,;*?<>|";

} // namespace kestrovan::files
