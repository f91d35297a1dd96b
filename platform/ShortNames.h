#pragma once
// 8.3 short names. The list's short layout shows every entry in an eight-
// plus-three form. A name that already is a valid 8.3 name keeps its own
// form; any other is formed from its long name alone, so that it never
// changes while the long name does not: the first two bytes of valid
// characters in upper case, the four hex digits of shortNameHash(), "~1",
// and the first three characters of its extension. Only when that form is
// taken in the folder (a hash collision, or a file of that very name) does
// the number count up, handed out in byte order of the long names. Widths
// count CP932 bytes.

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kestrovan::platform {

// True for a name that needs no separate short form: one to eight bytes,
// optionally a dot and one to three more, only characters allowed in short
// names (letters of either case, digits, $%'-_@~`!(){}^#& and any non-ASCII
// character), no second dot, no space.
bool isValidShortName(std::string_view name);

// Four upper-case hex digits from the long name's bytes: FNV-1a (32 bits)
// folded to 16 by XOR of its halves. The same on every run and machine.
std::string shortNameHash(std::string_view longName);

// The short names of all the entries of one folder, index for index. The
// result does not depend on the order the folder was read in.
std::vector<std::string> formShortNames(const std::vector<std::string>& names);

// Short names of one folder, looked up by long name.
class ShortNameTable {
public:
  ShortNameTable() = default;
  explicit ShortNameTable(const std::vector<std::string>& names);
  // Nothing when the name was not in the folder when the table was made.
  const std::string* find(const std::string& longName) const;
  std::size_t size() const { return map_.size(); }

private:
  std::unordered_map<std::string, std::string> map_;
};

// Reads the folder's names and forms their short names; an unreadable folder
// gives an empty table.
ShortNameTable readShortNames(const std::string& folder);

// The short name of the entry at `path` (its last component only); nothing
// when the entry does not exist.
std::optional<std::string> shortNameOf(const std::string& path);

} // namespace kestrovan::platform
