#pragma once
// Small text helpers for file names.

#include <string>
#include <string_view>

namespace kestrovan::files {

// The extension of a file name from its last dot, dot included ("O1.NC" ->
// ".NC"); empty when there is none. A leading dot does not start one
// (".profile" has none), matching platform::removeExtension.
std::string_view fileExtension(std::string_view name);

// ASCII letters to upper case; everything else, Japanese text included,
// stays as it is.
std::string upperAscii(std::string_view text);

} // namespace kestrovan::files
