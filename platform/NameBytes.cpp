#include "platform/NameBytes.h"

#include "platform/Cp932.h"
#include "platform/Text.h"

namespace kestrovan::platform {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// Bytes of the valid UTF-8 character at s[pos], or 0.
std::size_t utf8Char(std::string_view s, std::size_t pos) {
  const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[pos + i]); };
  const auto cont = [&](std::size_t i) { return pos + i < s.size() && (b(i) & 0xC0) == 0x80; };
  const unsigned char lead = b(0);
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return cont(1) ? 2 : 0;
  if (lead >= 0xE0 && lead <= 0xEF) {
    if (!cont(1) || !cont(2)) return 0;
    if (lead == 0xE0 && b(1) < 0xA0) return 0;  // overlong
    if (lead == 0xED && b(1) >= 0xA0) return 0; // surrogates
    return 3;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    if (!cont(1) || !cont(2) || !cont(3)) return 0;
    if (lead == 0xF0 && b(1) < 0x90) return 0;  // overlong
    if (lead == 0xF4 && b(1) >= 0x90) return 0; // past U+10FFFF
    return 4;
  }
  return 0;
}

std::vector<std::string> utf8Chars(std::string_view text) {
  std::vector<std::string> chars;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t n = utf8CharLength(text, pos);
    chars.emplace_back(text.substr(pos, n));
    pos += n;
  }
  return chars;
}

} // namespace

bool isUtf8(std::string_view bytes) {
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::size_t n = utf8Char(bytes, pos);
    if (n == 0) return false;
    pos += n;
  }
  return true;
}

std::vector<NameChar> nameChars(std::string_view name) {
  std::vector<NameChar> chars;
  if (isUtf8(name)) {
    for (std::size_t pos = 0; pos < name.size();) {
      const std::size_t n = utf8Char(name, pos);
      chars.push_back({pos, n, std::string(name.substr(pos, n))});
      pos += n;
    }
    return chars;
  }
  for (std::size_t pos = 0; pos < name.size();) {
    const auto lead = static_cast<unsigned char>(name[pos]);
    std::size_t n = 1;
    if (isCp932LeadByte(lead) && pos + 1 < name.size() &&
        isCp932TrailByte(static_cast<unsigned char>(name[pos + 1])))
      n = 2;
    std::string shown = lead < 0x80 ? std::string(1, name[pos]) : cp932ToUtf8(name.substr(pos, n));
    if (shown.empty()) shown = kReplacement;
    chars.push_back({pos, n, std::move(shown)});
    pos += n;
  }
  return chars;
}

std::string shownName(std::string_view name) {
  if (isUtf8(name)) return std::string(name);
  std::string shown;
  for (const NameChar& c : nameChars(name))
    shown += c.shown;
  return shown;
}

std::string nameFromShown(std::string_view name, std::string_view edited) {
  const std::vector<NameChar> was = nameChars(name);
  const std::vector<std::string> now = utf8Chars(edited);
  std::size_t head = 0;
  while (head < was.size() && head < now.size() && was[head].shown == now[head])
    ++head;
  std::size_t tail = 0;
  while (tail < was.size() - head && tail < now.size() - head &&
         was[was.size() - 1 - tail].shown == now[now.size() - 1 - tail])
    ++tail;
  const std::size_t keptHead = head < was.size() ? was[head].offset : name.size();
  const std::size_t keptTail = tail > 0 ? was[was.size() - tail].offset : name.size();
  std::string bytes(name.substr(0, keptHead));
  for (std::size_t i = head; i < now.size() - tail; ++i)
    bytes += now[i];
  bytes += name.substr(keptTail);
  return bytes;
}

} // namespace kestrovan::platform
