#include "editor/ProgramText.h"

#include "platform/Cp932.h"
#include "platform/Text.h"

#include <algorithm>

namespace kestrovan::editor {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD

std::size_t lineOf(std::string_view text, std::size_t offset) {
  return static_cast<std::size_t>(
             std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(offset), '\n')) +
         1;
}

} // namespace

std::string unifyLineEnds(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  // CR and LF are never the second byte of a CP932 character, so the bytes
  // can be walked one by one.
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\r') {
      out += '\n';
      if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

DecodedText decodeProgramText(std::string_view bytes) {
  DecodedText result;
  const std::string unified = unifyLineEnds(bytes);
  result.text = platform::cp932ToUtf8(unified);
  const platform::Cp932Encoding back = platform::utf8ToCp932Exact(result.text);
  if (back.complete() && back.bytes == unified) return result;
  // The first byte that differs is in the first line that would change.
  const std::size_t n = std::min(back.bytes.size(), unified.size());
  std::size_t differ = static_cast<std::size_t>(
      std::mismatch(unified.begin(), unified.begin() + static_cast<std::ptrdiff_t>(n), back.bytes.begin())
          .first -
      unified.begin());
  result.alteration = Alteration::Undecodable;
  result.alteredLine = lineOf(unified, differ);
  return result;
}

EncodedText encodeProgramText(std::string_view utf8, bool replaceUndecodable) {
  EncodedText result;
  std::string text;
  text.reserve(utf8.size() + utf8.size() / 16);
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if (replaceUndecodable && utf8.compare(i, kReplacement.size(), kReplacement) == 0) {
      text += '?';
      i += kReplacement.size() - 1;
    } else {
      text += utf8[i];
    }
  }
  platform::Cp932Encoding encoded = platform::utf8ToCp932Exact(text);
  if (!encoded.complete()) {
    const std::size_t at = encoded.failedAt;
    std::size_t start = 0;
    if (at > 0) {
      const std::size_t newline = text.rfind('\n', at - 1);
      if (newline != std::string::npos) start = newline + 1;
    }
    std::size_t column = 1;
    for (std::size_t p = start; p < at; p += platform::utf8CharLength(text, p))
      ++column;
    result.unencodable.line = lineOf(text, at);
    result.unencodable.column = column;
    result.unencodable.character = text.substr(at, platform::utf8CharLength(text, at));
    return result;
  }
  result.bytes.reserve(encoded.bytes.size() + encoded.bytes.size() / 16);
  for (char c : encoded.bytes) {
    if (c == '\n') result.bytes += '\r';
    result.bytes += c;
  }
  result.ok = true;
  return result;
}

} // namespace kestrovan::editor
