#pragma once
// The name filter's rules: which characters its field refuses, and the
// search pattern a name gives. A name that ends in "*" takes the listing
// mask's wildcard in place of that "*" (O12* with "*.NC" searches O12*.NC);
// any other name is searched as it is, "*" and "?" as wildcards.

#include <string>
#include <string_view>

namespace kestrovan::files {

inline constexpr const char* kNameFilterTitle = "絞り込み・検索";
inline constexpr const char* kNameFilterLabel = "検索・絞り込み名";
// No dot and no "?" can be typed, so "*" is the only wildcard the field takes.
inline constexpr std::string_view kNameFilterRefused = "/:,;?<>|.";
inline constexpr const char* kNameFilterRefusedMessage = "この文字はファイル名に使えません。\n/:,;*?<>|.";

// True when `text` holds a character the field refuses.
bool nameFilterRefuses(std::string_view text);

// The search pattern for `name` in `folder` with the listing mask `mask`.
// The names part never holds a "/": the search stays in `folder`, whatever
// a hand-edited mask says, so every listed name is a name of that folder.
std::string nameFilterPattern(std::string_view folder, std::string_view name, std::string_view mask);

} // namespace kestrovan::files
