#include "platform/ShortNames.h"
#include "platform/Text.h"

#include "platform/Cp932.h"

#include <algorithm>
#include <cstdint>
#include <unordered_set>

namespace kestrovan::platform {
namespace {

constexpr std::string_view kAllowedPunctuation = "$%'-_@~`!(){}^#&";

bool isAllowedAscii(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
         kAllowedPunctuation.find(static_cast<char>(c)) != std::string_view::npos;
}

bool isValidPart(std::string_view part, std::size_t maxWidth) {
  if (part.empty()) return false;
  for (unsigned char c : part)
    if (c < 0x80 && !isAllowedAscii(c)) return false;
  return cp932Width(part) <= maxWidth;
}

// One part of a long name cleaned for a short name: spaces and dots go,
// characters a short name cannot hold become "_", letters go to upper case.
std::string cleanPart(std::string_view part) {
  std::string out;
  out.reserve(part.size());
  for (unsigned char c : part) {
    if (c == ' ' || c == '.') continue;
    if (c >= 0x80 || isAllowedAscii(c))
      out.push_back(static_cast<char>(c));
    else
      out.push_back('_');
  }
  return asciiUpper(out);
}

struct ShortParts {
  std::string prefix; // two bytes of the name, then its four hash digits
  std::string ext;    // at most three bytes
};

ShortParts splitForShortName(std::string_view name) {
  const std::string hash = shortNameHash(name);
  // Leading dots do not start an extension: ".profile" is "PRxxxx~1".
  while (!name.empty() && name.front() == '.')
    name.remove_prefix(1);
  std::string_view base = name;
  std::string_view ext;
  if (const std::size_t dot = name.rfind('.'); dot != std::string_view::npos) {
    base = name.substr(0, dot);
    ext = name.substr(dot + 1);
  }
  return {cp932Truncate(cleanPart(base), 2) + hash, cp932Truncate(cleanPart(ext), 3)};
}

} // namespace

std::string shortNameHash(std::string_view longName) {
  std::uint32_t h = 2166136261u; // FNV-1a, 32 bits
  for (unsigned char c : longName) {
    h ^= c;
    h *= 16777619u;
  }
  const unsigned folded = (h >> 16) ^ (h & 0xFFFFu);
  constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out(4, '0');
  for (int i = 3, v = static_cast<int>(folded); i >= 0; --i, v >>= 4)
    out[static_cast<std::size_t>(i)] = kDigits[v & 0xF];
  return out;
}

bool isValidShortName(std::string_view name) {
  const std::size_t dot = name.find('.');
  if (dot == std::string_view::npos) return isValidPart(name, 8);
  if (name.find('.', dot + 1) != std::string_view::npos) return false;
  return isValidPart(name.substr(0, dot), 8) && isValidPart(name.substr(dot + 1), 3);
}

std::vector<std::string> formShortNames(const std::vector<std::string>& names) {
  std::vector<std::string> result(names.size());
  std::unordered_set<std::string> taken;
  taken.reserve(names.size() * 2);
  std::vector<std::size_t> pending;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (isValidShortName(names[i])) {
      result[i] = names[i];
      taken.insert(asciiUpper(names[i]));
    } else {
      pending.push_back(i);
    }
  }
  // A collision goes to the long names in byte order: the first keeps "~1".
  std::sort(pending.begin(), pending.end(),
            [&](std::size_t a, std::size_t b) { return names[a] < names[b]; });

  for (std::size_t i : pending) {
    const ShortParts parts = splitForShortName(names[i]);
    for (unsigned n = 1;; ++n) {
      std::string tail(1, '~');
      tail += std::to_string(n);
      const std::size_t room = tail.size() < 8 ? 8 - tail.size() : 0;
      std::string candidate = cp932Truncate(parts.prefix, room) + tail;
      if (!parts.ext.empty()) {
        candidate += '.';
        candidate += parts.ext;
      }
      if (taken.insert(asciiUpper(candidate)).second) {
        result[i] = std::move(candidate);
        break;
      }
    }
  }
  return result;
}

ShortNameTable::ShortNameTable(const std::vector<std::string>& names) {
  std::vector<std::string> shorts = formShortNames(names);
  map_.reserve(names.size());
  for (std::size_t i = 0; i < names.size(); ++i)
    map_.emplace(names[i], std::move(shorts[i]));
}

const std::string* ShortNameTable::find(const std::string& longName) const {
  const auto it = map_.find(longName);
  return it == map_.end() ? nullptr : &it->second;
}

} // namespace kestrovan::platform
