#pragma once
// INI profile files as stored settings rely on them: sections and keys match
// without regard to ASCII letter case and with surrounding blanks ignored; a
// missing file, section or key gives the default; a key present with an empty
// value gives the empty text. Writing a key updates it in place and keeps every
// other line of the file (other sections, unknown keys, comments) byte for byte;
// a new key goes at the end of its section, a new section at the end of the
// file. Writing the value a key already reads as leaves its line byte for byte
// (its blanks, its spelling, bytes that are not valid CP932). Files are CP932
// with CR LF line ends.
//
// The whole file is held in memory; save() writes it back atomically.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrovan::platform {

// Parses an integer as the profile reader does: decimal, or hexadecimal after
// "0x", "0X" or "$", with an optional sign and surrounding blanks. Anything
// else, or a value beyond 32 bits, gives nullopt.
std::optional<int32_t> parseProfileInteger(std::string_view text);

class IniFile {
public:
  IniFile() = default;

  // Reads the file; a missing or unreadable file gives an empty profile.
  static IniFile load(const std::string& path);
  // Parses CP932 bytes (any mix of CR LF, LF and CR line ends).
  static IniFile fromBytes(std::string_view cp932);

  // Values are UTF-8 in and out.
  std::optional<std::string> value(std::string_view section, std::string_view key) const;
  std::string readString(std::string_view section, std::string_view key, std::string_view def) const;
  int32_t readInteger(std::string_view section, std::string_view key, int32_t def) const;
  bool readBool(std::string_view section, std::string_view key, bool def) const;

  void writeString(std::string_view section, std::string_view key, std::string_view value);
  void writeInteger(std::string_view section, std::string_view key, int32_t value);
  void writeBool(std::string_view section, std::string_view key, bool value);

  // Every key of a section, in file order (first occurrence only), UTF-8.
  std::vector<std::pair<std::string, std::string>> sectionEntries(std::string_view section) const;

  // The file content as written: CP932, CR LF after every line.
  std::string toBytes() const;
  // Writes toBytes() to `path` through a temporary file renamed over it.
  // Returns false (leaving any old file intact) when that is not possible.
  bool save(const std::string& path) const;

private:
  struct Line {
    std::string raw;  // CP932 bytes as in the file, without the line end
    int sectionIndex; // index into sections_ of the section this line is in, -1 before any
    bool isSectionHead;
  };
  struct Section {
    std::string name; // trimmed CP932 name
  };

  bool reads(std::string_view section, std::string_view key, std::string_view utf8Value) const;
  std::optional<size_t> findSection(std::string_view cp932Name) const;
  std::optional<size_t> findKeyLine(size_t section, std::string_view cp932Key) const;
  void setRaw(std::string_view section, std::string_view key, std::string_view cp932Value);

  std::vector<Line> lines_;
  std::vector<Section> sections_;
};

} // namespace kestrovan::platform
