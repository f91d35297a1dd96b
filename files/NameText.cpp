#include "files/NameText.h"
#include "platform/Text.h"

namespace kestrovan::files {

std::string_view fileExtension(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return {};
  return name.substr(dot);
}

std::string_view withoutExtension(std::string_view name) {
  return name.substr(0, name.size() - fileExtension(name).size());
}

std::string upperAscii(std::string_view text) { return platform::asciiUpper(text); }

} // namespace kestrovan::files
