#include "files/RenameRules.h"

#include "platform/NameBytes.h"
#include "platform/Text.h"

namespace kestrovan::files {
namespace {

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string lowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    c = lower(c);
  return out;
}

std::string capitalised(std::string_view name) {
  std::string out = lowerAscii(name);
  if (!out.empty()) out[0] = platform::asciiUpper(out[0]);
  return out;
}

} // namespace

// Only the name's own half-width letters change: in a name that is not UTF-8
// the second byte of a two-byte character may be a letter's code, and stays.
std::string nameByKind(RenameKind kind, std::string_view name) {
  if (kind == RenameKind::Rename || kind == RenameKind::OneByOne) return std::string(name);
  std::string out(name);
  bool first = true;
  for (const platform::NameChar& c : platform::nameChars(name)) {
    if (c.isAscii()) {
      char& b = out[c.offset];
      const bool upper = kind == RenameKind::Upper || (kind == RenameKind::Capitalised && first);
      b = upper ? platform::asciiUpper(b) : lower(b);
    }
    first = false;
  }
  return out;
}

CapitalisedEdit capitalisedWhileTyping(std::string_view text, int caret) {
  CapitalisedEdit edit{capitalised(text), caret};
  if (edit.caret == 0 && !edit.text.empty()) edit.caret = 1;
  return edit;
}

bool validEntryName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
         name.find('\0') == std::string_view::npos;
}

std::optional<std::string> maskForExtension(const std::string& typed) {
  if (typed == "*.*" || typed == ".*" || typed == "*." || typed == "*") return std::nullopt;
  if (typed.find("*.") != std::string::npos) return typed;
  if (typed.find('.') != std::string::npos) return "*" + typed;
  return "*." + typed;
}

} // namespace kestrovan::files
