#pragma once
// The rules of the communication settings panel that need no window: the
// fixed list of line settings, the ports offered, the type-ahead of the two
// lists, and what saving the six fields does to the settings.

#include <cstddef>
#include <string>
#include <vector>

namespace kestrovan::base {
struct SettingsRecord;
}
namespace kestrovan::serial {
class PortOpener;
}

namespace kestrovan::core {

// The 48 line settings, 1200 to 19200 baud, each speed with the same eight
// patterns ("1200,8,N,1" first, "19200,7,O,2" last). A value that is not in
// the list can still be typed.
const std::vector<std::string>& lineSettingsEntries();

// "COM1" to "COM30", each only when it opens and is not a modem port.
std::vector<std::string> usablePortEntries(serial::PortOpener& opener, const std::string& modemPort1,
                                           const std::string& modemPort2);

// After a character is typed, the text up to the caret is looked up as the
// beginning of an entry (the first one, letter case ignored). A match shows
// the whole entry with the part after the caret selected, so that the next
// character replaces it; no match cuts the text back to the caret.
struct Completion {
  std::string text;
  std::size_t caret;        // selection start
  std::size_t selectionEnd; // == caret when nothing is selected
  int entry;                // index of the entry shown, -1 for none
};
Completion typeAhead(const std::vector<std::string>& entries, const std::string& text, std::size_t caret);

// The six fields of the panel, in tag order.
struct CommFields {
  std::string speed;
  std::string port;
  std::string signal;
  std::string startChar;
  std::string endChar;
  std::string code;
};

CommFields commFieldsFrom(const base::SettingsRecord& settings);

// Fields by tag: 0 the line settings list, 1 the port list, 2 to 5 the
// one-letter switches (Signal, StartChar, EndChar, Code).
inline constexpr int kCommFieldCount = 6;
inline bool isCommList(int tag) { return tag < 2; }
// Whether typed text (UTF-8) holds only characters the field takes: digits,
// "," and the parity letters for the line settings, digits and "COM" for the
// port, Y and N for the switches (either case).
bool commFieldTakes(int tag, const std::string& typed);
// Whether `typed` characters fit a field that holds `length` characters of
// which `selected` are selected (and replaced): a switch holds one
// character, a list any number. A stored value longer than that still shows.
bool commFieldHasRoom(int tag, int length, int selected, int typed);
// Enter and Down go to the next field (from the last back to the first), Up
// to the one before.
inline int commFieldAfter(int tag, bool down) {
  return down ? (tag + 1) % kCommFieldCount : (tag + kCommFieldCount - 1) % kCommFieldCount;
}

// Whether any field differs from its setting (exactly: letter case counts,
// and an emptied field counts as a change).
bool commFieldsChanged(const CommFields& fields, const base::SettingsRecord& settings);

// A line settings text is only plausible at 10 ("4800,8,N,2") to 12 characters
// ("19200,7,O,2" is 11); an empty field is left alone and passes.
bool lineSettingsLengthOk(const std::string& speed);

// Copies the non-empty fields into the settings in upper case; a port typed
// as a bare number becomes "COM" and the number. Returns false, changing
// nothing, when the line settings text has the wrong length.
bool saveCommFields(const CommFields& fields, base::SettingsRecord& settings);

} // namespace kestrovan::core
