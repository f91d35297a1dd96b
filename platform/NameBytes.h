#pragma once
// File names as the file system holds them: bytes. Most are UTF-8, the names
// of this system; a name that is not is taken for CP932, the code of names
// written by the shop floor's older computers and copied over as they were.
// Whatever the screen shows of a name, the bytes it did not change stay.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kestrovan::platform {

// True when the bytes are valid UTF-8 (no overlong forms, no surrogates).
bool isUtf8(std::string_view bytes);

// One character of a name: where its bytes are in the name, and how the
// screen shows it (UTF-8; U+FFFD for bytes that are no character).
struct NameChar {
  std::size_t offset = 0;
  std::size_t length = 0;
  std::string shown;
  bool isAscii() const { return length == 1 && shown.size() == 1; }
};
std::vector<NameChar> nameChars(std::string_view name);

// The name as the screen shows it: itself when it is UTF-8, else read as CP932.
std::string shownName(std::string_view name);

// The bytes of a name after its shown text was edited into `edited`: the
// characters at its start and at its end that the edit left as they were keep
// their bytes; what was typed in between is UTF-8.
std::string nameFromShown(std::string_view name, std::string_view edited);

} // namespace kestrovan::platform
