#include "files/NameFilter.h"

#include "platform/Paths.h"

#include <string>

namespace kestrovan::files {

bool nameFilterRefuses(std::string_view text) {
  // The refused characters are ASCII, which never occurs inside a
  // multi-byte UTF-8 character.
  return text.find_first_of(kNameFilterRefused) != std::string_view::npos;
}

std::string nameFilterPattern(std::string_view folder, std::string_view name, std::string_view mask) {
  std::string wildcard(name);
  if (!wildcard.empty() && wildcard.back() == '*') {
    wildcard.pop_back();
    wildcard += mask;
  }
  std::erase(wildcard, platform::kSeparator);
  return platform::joinPath(platform::stripTrailingSeparator(folder), wildcard);
}

} // namespace kestrovan::files
