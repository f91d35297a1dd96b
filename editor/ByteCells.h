#pragma once
// The characters of a line of CP932 bytes as cells of a text-mode screen: one
// column a byte, so that ASCII and half-width katakana take one column and
// two-byte characters two. Only the part of a line that shows is decoded, so
// a 5 MB line costs no more to draw than a short one.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace kestrovan::editor {

struct ByteCell {
  std::size_t column = 0; // the character's first byte in the line
  std::uint8_t width = 1; // its bytes: 1 or 2
  char16_t character = 0; // decoded; U+FFFD for bytes that are no CP932
};

// The first byte of the character that holds byte `pos` of `line` (`pos` itself
// when it is the line's length). A lead byte takes the next byte with it only
// when that can be a second byte.
std::size_t characterStart(std::string_view line, std::size_t pos);
// The first byte after the character that begins at `pos`.
std::size_t characterEnd(std::string_view line, std::size_t pos);

// The characters of `line` that begin in [from, to), and the one that holds
// byte `from` when it begins before it.
std::vector<ByteCell> byteCells(std::string_view line, std::size_t from, std::size_t to);

} // namespace kestrovan::editor
