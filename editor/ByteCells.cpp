#include "editor/ByteCells.h"

#include "platform/Cp932.h"

#include <algorithm>
#include <string>

namespace kestrovan::editor {
namespace {

bool isLead(char c) { return platform::isCp932LeadByte(static_cast<unsigned char>(c)); }
bool isTrail(char c) { return platform::isCp932TrailByte(static_cast<unsigned char>(c)); }

// UTF-8 (as the codec writes it: the BMP only, as CP932 holds nothing else)
// to UTF-16 units.
std::u16string utf16Of(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    if (b < 0x80) {
      out += char16_t(b);
      i += 1;
    } else if ((b & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
      out += char16_t(((b & 0x1F) << 6) | (utf8[i + 1] & 0x3F));
      i += 2;
    } else if ((b & 0xF0) == 0xE0 && i + 2 < utf8.size()) {
      out += char16_t(((b & 0x0F) << 12) | ((utf8[i + 1] & 0x3F) << 6) | (utf8[i + 2] & 0x3F));
      i += 3;
    } else {
      out += u'\uFFFD';
      i += 1;
    }
  }
  return out;
}

} // namespace

std::size_t characterEnd(std::string_view line, std::size_t pos) {
  if (pos >= line.size()) return line.size();
  return isLead(line[pos]) && pos + 1 < line.size() && isTrail(line[pos + 1]) ? pos + 2 : pos + 1;
}

std::size_t characterStart(std::string_view line, std::size_t pos) {
  if (pos >= line.size()) return line.size();
  // A byte that can open no two-byte character ends whatever character it
  // belongs to, so a character begins right after it; walk on from there.
  std::size_t q = pos;
  while (q > 0 && isLead(line[q - 1]))
    --q;
  for (;;) {
    const std::size_t next = characterEnd(line, q);
    if (next > pos) return q;
    q = next;
  }
}

std::vector<ByteCell> byteCells(std::string_view line, std::size_t from, std::size_t to) {
  std::vector<ByteCell> cells;
  to = std::min(to, line.size());
  std::size_t p = characterStart(line, from);
  const std::size_t first = p;
  while (p < to) {
    const std::size_t next = characterEnd(line, p);
    cells.push_back({p, static_cast<std::uint8_t>(next - p), u'\uFFFD'});
    p = next;
  }
  // One decoding for the whole piece; the codec gives one character for each
  // character walked (an undecodable one included), else each goes alone.
  const std::u16string text = utf16Of(platform::cp932ToUtf8(line.substr(first, p - first)));
  if (text.size() == cells.size()) {
    for (std::size_t i = 0; i < cells.size(); ++i)
      cells[i].character = text[i];
  } else {
    for (ByteCell& cell : cells) {
      const std::u16string one = utf16Of(platform::cp932ToUtf8(line.substr(cell.column, cell.width)));
      if (one.size() == 1) cell.character = one[0];
    }
  }
  return cells;
}

} // namespace kestrovan::editor
