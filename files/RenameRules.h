#pragma once
// The rules of the rename command (R) and of the extension prompt (F6).

#include <optional>
#include <string>
#include <string_view>

namespace kestrovan::files {

// The five kinds of rename, numbered as the dialogs show them.
enum class RenameKind {
  Rename = 1,      // "名前を変更": the name as typed
  Upper = 2,       // "半角英文字を大文字に"
  Lower = 3,       // "半角英文字を小文字に"
  Capitalised = 4, // "半角英文字の先頭のみ大文字に"
  OneByOne = 5,    // "個々に名前を変更": the single-entry dialog per file
};

// The name as the kind makes it. Only half-width (ASCII) letters change;
// every other character, a Japanese one included, stays whole, so kind 4
// leaves a name that begins with one as it is at its start.
std::string nameByKind(RenameKind kind, std::string_view name);

// Kind 4 while typing: the text rewritten, and where the caret goes (a caret
// at the very start is put after the first character). Positions count
// UTF-16 units as the field does; the caller passes and gets them as such.
struct CapitalisedEdit {
  std::string text;
  int caret = 0;
};
CapitalisedEdit capitalisedWhileTyping(std::string_view text, int caret);

// A name an entry can have in its folder: not empty, not "." or "..", no
// "/" (which would move it elsewhere) and no NUL.
bool validEntryName(std::string_view name);

// Enter on the extension prompt: the new Mask, or nothing when the text would
// list every file ("*.*", ".*", "*." or "*").
std::optional<std::string> maskForExtension(const std::string& typed);

} // namespace kestrovan::files
