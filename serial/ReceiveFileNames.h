#pragma once
// Names of the files a reception writes. A name may come from received data
// (a program header) or from the operator; either way it becomes one valid
// file name inside the data folder, never a path of its own.

#include <string>
#include <string_view>

namespace kestrovan::serial {

// The one rule that turns a name into a file name, applied to every name a
// reception writes under:
// - control characters (0x00-0x1F, 0x7F) and / \ : * ? " < > | become "_";
// - blanks at either end are removed;
// - a "." that begins or ends the name, or stands next to another ".",
//   becomes "_" (so no ".", "..", hidden name or trailing dot remains);
// - an empty result is "_";
// - a name longer than kLongestNameStem bytes is cut there (never inside a
//   UTF-8 character).
// Everything else (letters, digits, other punctuation, non-ASCII text typed
// by the operator) stays as it is.
std::string safeFileName(std::string_view name);

// Room is left for the serial number, the extension and the working copy's
// suffix within the 255 bytes a file name may have.
inline constexpr std::size_t kLongestNameStem = 200;

// The extension output files get: Mask without its first character ("*.NC"
// gives ".NC"). A mask whose extension is itself a wildcard ("*.*") names no
// extension, so the files get none.
std::string outputExtension(std::string_view mask);

// Text from program data (CP932 bytes, as a header arrives or stands in a
// file) as the UTF-8 text of a file name: every character converted, every
// byte that is no part of a CP932 character made "_", as a refused
// character is, so that the name is valid UTF-8 that any program can pass on.
std::string nameFromProgramData(std::string_view cp932);

// The stem of a per-program file: the header up to its first "(", with a
// leading ":" read as "O", so that names always begin with "O" or "L";
// converted to UTF-8 by nameFromProgramData().
std::string programName(std::string_view header);

// "_001" for the first program of a reception: an underscore and at least
// three digits of `ordinal`.
std::string programOrdinalSuffix(int ordinal);

// The per-program file name: the program name made safe, the ordinal when
// numbering, then the extension.
std::string programFileName(std::string_view header, int ordinal, bool numbered, std::string_view extension);

} // namespace kestrovan::serial
