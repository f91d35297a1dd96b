#include "platform/IniFile.h"
#include "platform/Text.h"

#include "platform/AtomicFile.h"
#include "platform/Cp932.h"

#include <limits>

namespace kestrovan::platform {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && isBlank(s.front()))
    s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back()))
    s.remove_suffix(1);
  return s;
}

// Compares two CP932 names ignoring ASCII letter case. The second byte of a
// two-byte character can fall in the ASCII letter range, so it is compared
// exactly rather than folded.
bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (isCp932LeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
      continue;
    }
    if (asciiUpper(a[i]) != asciiUpper(b[i])) return false;
  }
  return true;
}

std::optional<std::string_view> sectionHeadName(std::string_view raw) {
  std::string_view t = trim(raw);
  if (t.empty() || t.front() != '[') return std::nullopt;
  t.remove_prefix(1);
  size_t close = t.find(']');
  if (close != std::string_view::npos) t = t.substr(0, close);
  return trim(t);
}

struct KeyValue {
  std::string_view key;
  std::string_view value;
};

std::optional<KeyValue> keyLine(std::string_view raw) {
  std::string_view t = trim(raw);
  if (t.empty() || t.front() == ';') return std::nullopt;
  size_t eq = t.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return KeyValue{trim(t.substr(0, eq)), trim(t.substr(eq + 1))};
}

} // namespace

std::optional<int32_t> parseProfileInteger(std::string_view text) {
  std::string_view t = trim(text);
  bool negative = false;
  if (!t.empty() && (t.front() == '+' || t.front() == '-')) {
    negative = t.front() == '-';
    t.remove_prefix(1);
  }
  int base = 10;
  if (t.size() >= 1 && t.front() == '$') {
    base = 16;
    t.remove_prefix(1);
  } else if (t.size() >= 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
    base = 16;
    t.remove_prefix(2);
  }
  if (t.empty()) return std::nullopt;
  uint64_t v = 0;
  for (char c : t) {
    int digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else
      return std::nullopt;
    v = v * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
    if (v > 0xFFFFFFFFull) return std::nullopt;
  }
  if (base == 10) {
    // Decimal must fit a signed 32-bit integer.
    const uint64_t limit = negative ? 0x80000000ull : 0x7FFFFFFFull;
    if (v > limit) return std::nullopt;
    return negative ? static_cast<int32_t>(-static_cast<int64_t>(v)) : static_cast<int32_t>(v);
  }
  // Hexadecimal spells the 32-bit pattern: $FFFFFFFF is -1.
  auto bits = static_cast<uint32_t>(v);
  if (negative) bits = 0u - bits;
  return static_cast<int32_t>(bits);
}

IniFile IniFile::load(const std::string& path) {
  FileContents r = readWholeFile(path);
  if (!r.ok) return IniFile();
  return fromBytes(r.bytes);
}

IniFile IniFile::fromBytes(std::string_view bytes) {
  IniFile ini;
  int current = -1;
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", pos);
    std::string_view raw = bytes.substr(pos, end == std::string_view::npos ? bytes.npos : end - pos);
    if (end == std::string_view::npos) {
      pos = bytes.size();
    } else {
      pos = end + 1;
      if (bytes[end] == '\r' && pos < bytes.size() && bytes[pos] == '\n') ++pos;
    }
    Line line{std::string(raw), current, false};
    if (auto name = sectionHeadName(raw)) {
      ini.sections_.push_back({std::string(*name)});
      current = static_cast<int>(ini.sections_.size()) - 1;
      line.sectionIndex = current;
      line.isSectionHead = true;
    }
    ini.lines_.push_back(std::move(line));
  }
  return ini;
}

std::optional<size_t> IniFile::findSection(std::string_view cp932Name) const {
  std::string_view want = trim(cp932Name);
  for (size_t i = 0; i < sections_.size(); ++i)
    if (sameName(sections_[i].name, want)) return i;
  return std::nullopt;
}

std::optional<size_t> IniFile::findKeyLine(size_t section, std::string_view cp932Key) const {
  std::string_view want = trim(cp932Key);
  for (size_t i = 0; i < lines_.size(); ++i) {
    const Line& line = lines_[i];
    if (line.sectionIndex != static_cast<int>(section) || line.isSectionHead) continue;
    if (auto kv = keyLine(line.raw); kv && sameName(kv->key, want)) return i;
  }
  return std::nullopt;
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const {
  auto s = findSection(utf8ToCp932(section));
  if (!s) return std::nullopt;
  auto l = findKeyLine(*s, utf8ToCp932(key));
  if (!l) return std::nullopt;
  return cp932ToUtf8(keyLine(lines_[*l].raw)->value);
}

std::string IniFile::readString(std::string_view section, std::string_view key, std::string_view def) const {
  if (auto v = value(section, key)) return *v;
  return std::string(def);
}

int32_t IniFile::readInteger(std::string_view section, std::string_view key, int32_t def) const {
  auto v = value(section, key);
  if (!v) return def;
  return parseProfileInteger(*v).value_or(def);
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool def) const {
  return readInteger(section, key, def ? 1 : 0) != 0;
}

void IniFile::setRaw(std::string_view section, std::string_view key, std::string_view cp932Value) {
  const std::string sectionName(trim(utf8ToCp932(section)));
  const std::string keyName(trim(utf8ToCp932(key)));
  std::string text = keyName + "=" + std::string(cp932Value);

  auto s = findSection(sectionName);
  if (!s) {
    sections_.push_back({sectionName});
    const int index = static_cast<int>(sections_.size()) - 1;
    lines_.push_back({"[" + sectionName + "]", index, true});
    lines_.push_back({std::move(text), index, false});
    return;
  }
  if (auto l = findKeyLine(*s, keyName)) {
    lines_[*l].raw = std::move(text);
    return;
  }
  // After the last non-blank line of the section, so that a blank line that
  // separates it from the next section stays where it is.
  size_t insertAt = 0;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].sectionIndex != static_cast<int>(*s)) continue;
    if (lines_[i].isSectionHead || !trim(lines_[i].raw).empty()) insertAt = i + 1;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt),
                Line{std::move(text), static_cast<int>(*s), false});
}

bool IniFile::reads(std::string_view section, std::string_view key, std::string_view utf8Value) const {
  const std::optional<std::string> stored = value(section, key);
  return stored && *stored == utf8Value;
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
  // A line break inside a value would split it into lines of its own.
  std::string flat(value);
  for (char& c : flat)
    if (c == '\r' || c == '\n') c = ' ';
  // A value that is not valid CP932 reads with U+FFFD in place of its bad
  // bytes; written again unchanged it keeps them.
  if (reads(section, key, flat)) return;
  setRaw(section, key, utf8ToCp932(flat));
}

void IniFile::writeInteger(std::string_view section, std::string_view key, int32_t value) {
  const std::string text = std::to_string(value);
  if (reads(section, key, text)) return;
  setRaw(section, key, text);
}

void IniFile::writeBool(std::string_view section, std::string_view key, bool value) {
  if (reads(section, key, value ? "1" : "0")) return;
  setRaw(section, key, value ? "1" : "0");
}

std::vector<std::pair<std::string, std::string>> IniFile::sectionEntries(std::string_view section) const {
  std::vector<std::pair<std::string, std::string>> out;
  auto s = findSection(utf8ToCp932(section));
  if (!s) return out;
  for (const Line& line : lines_) {
    if (line.sectionIndex != static_cast<int>(*s) || line.isSectionHead) continue;
    auto kv = keyLine(line.raw);
    if (!kv) continue;
    bool seen = false;
    for (const auto& e : out)
      if (sameName(utf8ToCp932(e.first), kv->key)) seen = true;
    if (!seen) out.emplace_back(cp932ToUtf8(kv->key), cp932ToUtf8(kv->value));
  }
  return out;
}

std::string IniFile::toBytes() const {
  std::string out;
  for (const Line& line : lines_) {
    out += line.raw;
    out += "\r\n";
  }
  return out;
}

bool IniFile::save(const std::string& path) const {
  return static_cast<bool>(writeFileAtomically(path, toBytes()));
}

} // namespace kestrovan::platform
