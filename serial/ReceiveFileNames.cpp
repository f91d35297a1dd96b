#include "serial/ReceiveFileNames.h"

#include "platform/Cp932.h"

#include <cstdio>

namespace kestrovan::serial {
namespace {

constexpr std::string_view kRefused = "/\\:*?\"<>|";

bool refused(unsigned char c) {
  return c < 0x20 || c == 0x7F || kRefused.find(static_cast<char>(c)) != std::string_view::npos;
}

bool isUtf8Continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

} // namespace

std::string safeFileName(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (char c : name)
    out += refused(static_cast<unsigned char>(c)) ? '_' : c;

  const std::size_t first = out.find_first_not_of(' ');
  if (first == std::string::npos) return "_";
  out = out.substr(first, out.find_last_not_of(' ') - first + 1);

  if (out.size() > kLongestNameStem) {
    std::size_t cut = kLongestNameStem;
    while (cut > 0 && isUtf8Continuation(static_cast<unsigned char>(out[cut])))
      --cut;
    out.resize(cut);
  }

  // Dots last, on the final text: a cut may have left one at the end.
  std::string safe = out;
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (out[i] != '.') continue;
    const bool edge = i == 0 || i + 1 == out.size();
    const bool doubled = (i > 0 && out[i - 1] == '.') || (i + 1 < out.size() && out[i + 1] == '.');
    if (edge || doubled) safe[i] = '_';
  }
  return safe;
}

std::string outputExtension(std::string_view mask) {
  if (mask.empty()) return "";
  // The first character whole: a hand-edited mask may begin with one of
  // several bytes, and half of it would leave the name no valid UTF-8.
  std::size_t first = 1;
  while (first < mask.size() && isUtf8Continuation(static_cast<unsigned char>(mask[first])))
    ++first;
  std::string_view ext = mask.substr(first);
  if (ext.find_first_of("*?") != std::string_view::npos) return "";
  std::string out(ext); // a hand-edited settings file may hold anything
  for (char& c : out)
    if (refused(static_cast<unsigned char>(c))) c = '_';
  return out;
}

std::string nameFromProgramData(std::string_view cp932) {
  // CP932 holds no U+FFFD: every one the conversion gives stands for bytes
  // it could not read.
  constexpr std::string_view kUnreadable = "\xEF\xBF\xBD";
  std::string text = platform::cp932ToUtf8(cp932);
  for (std::size_t at = 0; (at = text.find(kUnreadable, at)) != std::string::npos; ++at)
    text.replace(at, kUnreadable.size(), "_");
  return text;
}

std::string programName(std::string_view header) {
  // "(" is never the second byte of a CP932 character: the cut comes first.
  std::string name = nameFromProgramData(header.substr(0, header.find('(')));
  if (!name.empty() && name[0] == ':') name[0] = 'O';
  return name;
}

std::string programOrdinalSuffix(int ordinal) {
  char text[24];
  std::snprintf(text, sizeof text, "_%03d", ordinal);
  return text;
}

std::string programFileName(std::string_view header, int ordinal, bool numbered, std::string_view extension) {
  std::string name = safeFileName(programName(header));
  if (numbered) name += programOrdinalSuffix(ordinal);
  return name + std::string(extension);
}

} // namespace kestrovan::serial
