#include "editor/PieceSearch.h"

#include "platform/Cp932.h"

#include <algorithm>
#include <string>

namespace kestrovan::editor {
namespace {

constexpr std::size_t kBlock = 1024 * 1024;

// Small letters to capitals in CP932 bytes, character by character (the
// second byte of a two-byte character is never taken for a letter).
std::string capitals(std::string_view bytes) {
  std::string out(bytes);
  for (std::size_t i = 0; i < out.size();) {
    const auto b = static_cast<unsigned char>(out[i]);
    if (platform::isCp932LeadByte(b) && i + 1 < out.size() &&
        platform::isCp932TrailByte(static_cast<unsigned char>(out[i + 1]))) {
      const auto t = static_cast<unsigned char>(out[i + 1]);
      unsigned char upper = t;
      if (b == 0x82 && t >= 0x81 && t <= 0x9A) upper = static_cast<unsigned char>(t - 0x21); // ａ-ｚ
      if (b == 0x83 && t >= 0xBF && t <= 0xD6) upper = static_cast<unsigned char>(t - 0x20); // α-ω
      if (b == 0x84 && t >= 0x70 && t <= 0x7E) upper = static_cast<unsigned char>(0x40 + t - 0x70);
      if (b == 0x84 && t >= 0x80 && t <= 0x91) upper = static_cast<unsigned char>(0x40 + 15 + t - 0x80);
      out[i + 1] = static_cast<char>(upper);
      i += 2;
      continue;
    }
    if (b >= 'a' && b <= 'z') out[i] = static_cast<char>(b - 0x20);
    ++i;
  }
  return out;
}

// The bytes of [from, from + length), in capitals when the case does not
// count. A block begins where a character begins, so that folding takes the
// characters as they are.
std::string block(const PieceTable& text, std::size_t from, std::size_t length, bool matchCase) {
  const std::string bytes = text.bytes(from, length);
  return matchCase ? bytes : capitals(bytes);
}

} // namespace

std::optional<std::size_t> searchPieces(const PieceTable& text, std::string_view pattern, std::size_t from,
                                        bool down, bool matchCase) {
  if (pattern.empty() || pattern.size() > text.size()) return std::nullopt;
  const std::string wanted = matchCase ? std::string(pattern) : capitals(pattern);
  const std::size_t overlap = wanted.size() - 1;
  if (down) {
    std::size_t start = text.characterStart(std::min(from, text.size()));
    while (start + wanted.size() <= text.size()) {
      const std::size_t length = std::min(text.size() - start, kBlock + overlap);
      const std::string bytes = block(text, start, length, matchCase);
      for (std::size_t at = bytes.find(wanted); at != std::string::npos; at = bytes.find(wanted, at + 1)) {
        const std::size_t hit = start + at;
        if (hit >= from && text.isCharacterBoundary(hit) && text.isCharacterBoundary(hit + wanted.size()))
          return hit;
      }
      if (start + length >= text.size()) break;
      start = text.characterStart(start + kBlock);
    }
    return std::nullopt;
  }
  // Up: blocks ending at the caret plus the pattern, nearest first.
  std::size_t end = std::min(text.size(), from + overlap);
  while (end >= wanted.size()) {
    const std::size_t start = end > kBlock + overlap ? text.characterStart(end - kBlock - overlap) : 0;
    const std::string bytes = block(text, start, end - start, matchCase);
    for (std::size_t at = bytes.rfind(wanted); at != std::string::npos;
         at = at ? bytes.rfind(wanted, at - 1) : std::string::npos) {
      const std::size_t hit = start + at;
      if (hit < from && text.isCharacterBoundary(hit) && text.isCharacterBoundary(hit + wanted.size()))
        return hit;
    }
    if (start == 0) break;
    end = start + overlap;
  }
  return std::nullopt;
}

} // namespace kestrovan::editor
