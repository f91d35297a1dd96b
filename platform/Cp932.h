#pragma once
// Shift-JIS (code page 932) at the file boundary. Inside the program text is
// UTF-8; settings files, history lists, the transfer log and text written by
// the editor are CP932 on disk. NC program content is never converted.

#include <cstddef>
#include <string>
#include <string_view>

namespace kestrovan::platform {

// CP932 bytes to UTF-8. Bytes that are not valid CP932 become U+FFFD, so the
// conversion never fails; callers that must keep bytes exactly keep the bytes.
std::string cp932ToUtf8(std::string_view cp932);

// UTF-8 to CP932. Characters CP932 cannot hold become "?".
std::string utf8ToCp932(std::string_view utf8);

// UTF-8 to CP932 without substitution: the conversion stops at the first
// character CP932 cannot hold, and `failedAt` is its byte offset in `utf8`
// (npos when every character went). `bytes` holds what came before it.
struct Cp932Encoding {
  std::string bytes;
  std::size_t failedAt = std::string_view::npos;
  bool complete() const { return failedAt == std::string_view::npos; }
};
Cp932Encoding utf8ToCp932Exact(std::string_view utf8);

// True for a byte that opens a two-byte CP932 character.
constexpr bool isCp932LeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// True for a byte that can follow a lead byte as the second byte of a character.
constexpr bool isCp932TrailByte(unsigned char b) {
  return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// Screen width of UTF-8 text counted in CP932 bytes: one for ASCII and
// half-width katakana, two for other characters.
std::size_t cp932Width(std::string_view utf8);

// The longest prefix of UTF-8 text whose CP932 width is at most maxBytes,
// never cutting a character in half.
std::string cp932Truncate(std::string_view utf8, std::size_t maxBytes);

} // namespace kestrovan::platform
