#include "files/SortCode.h"

#include "platform/Text.h"

#include <cstring>

namespace kestrovan::files {

std::optional<SortCode> parseSortCode(const std::string& text) {
  const std::string up = platform::asciiUpper(text);
  for (const char* valid : {"N-D", "N-U", "S-D", "S-U", "T-D", "T-U"})
    if (up == valid) return SortCode{up.substr(0, 1), up.substr(2, 1)};
  return std::nullopt;
}

std::optional<std::string> sortBoxTakes(const std::string& current, std::size_t selected,
                                        const std::string& typed) {
  if (typed.size() != 1 || !std::strchr("NST-UDnstud", typed[0]) || typed[0] == 0) return std::nullopt;
  if (current.size() >= kSortCodeLength && selected == 0) return std::nullopt;
  return platform::asciiUpper(typed);
}

} // namespace kestrovan::files
