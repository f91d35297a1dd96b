#include "files/NameText.h"
#include "platform/Text.h"

namespace kestrovan::files {

std::string_view fileExtension(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return {};
  return name.substr(dot);
}

std::string upperAscii(std::string_view text) { return platform::asciiUpper(text); }

} // namespace kestrovan::files
