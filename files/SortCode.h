#pragma once
// The sort box: "N-D", "s-u" ... give the sort key (name, size, time) and the
// direction (down, up); and which typed characters the box takes.

#include <optional>
#include <string>

namespace kestrovan::files {

struct SortCode {
  std::string fileSort;
  std::string sortMuki;
};
// Anything but the six codes, in either case, gives nothing.
std::optional<SortCode> parseSortCode(const std::string& text);

inline constexpr std::size_t kSortCodeLength = 3;

// What a typed character (UTF-8) puts into a box that holds `current` with
// `selected` characters of it selected: the character in upper case, or
// nothing when it is not one of N S T - U D (either case) or the box is
// full.
std::optional<std::string> sortBoxTakes(const std::string& current, std::size_t selected,
                                        const std::string& typed);

} // namespace kestrovan::files
