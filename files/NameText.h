#pragma once
// Small text helpers for file names.

#include <string>
#include <string_view>

namespace kestrovan::files {

// The extension of a file name from its last dot, dot included ("O1.NC" ->
// ".NC"); empty when there is none. A dot that is the first character starts
// one too: ".NC" is all extension, so the mask "*.NC" lists it.
std::string_view fileExtension(std::string_view name);

// The name without its fileExtension() (".NC" leaves nothing).
std::string_view withoutExtension(std::string_view name);

// ASCII letters to upper case; everything else, Japanese text included,
// stays as it is.
std::string upperAscii(std::string_view text);

} // namespace kestrovan::files
