#include "files/RenameRules.h"

#include "files/NameText.h"

namespace kestrovan::files {
namespace {

std::string lowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::string capitalised(std::string_view name) {
  std::string out = lowerAscii(name);
  if (!out.empty() && out[0] >= 'a' && out[0] <= 'z') out[0] = static_cast<char>(out[0] - 'a' + 'A');
  return out;
}

} // namespace

std::string nameByKind(RenameKind kind, std::string_view name) {
  switch (kind) {
  case RenameKind::Upper: return upperAscii(name);
  case RenameKind::Lower: return lowerAscii(name);
  case RenameKind::Capitalised: return capitalised(name);
  case RenameKind::Rename:
  case RenameKind::OneByOne: break;
  }
  return std::string(name);
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
