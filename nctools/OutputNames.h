#pragma once
// The names of the files the NC tools write. The extension is the listing
// mask without its first character (".NC" for "*.NC"); a mask whose
// extension part is itself a wildcard ("*.*", "*.N?") gives no extension at
// all, so the outputs are plain names rather than names the file system
// refuses.

#include <string>
#include <string_view>

namespace kestrovan::nctools {

std::string toolExtension(std::string_view mask);

// A split program's file name: the header up to its first "(" (a leading ":"
// read as "O"), converted from CP932 to UTF-8 (bytes that are no CP932
// become "_"), blanks kept; "/" and control characters become "_" so that
// the name stays one name inside the destination folder. With `numbered` the
// running number follows as "_001"; then the extension.
std::string splitFileName(std::string_view header, int ordinal, bool numbered, std::string_view extension);

// The join's output file name: the join name, with the extension unless it
// already holds it.
std::string joinFileName(std::string_view joinName, std::string_view extension);

// The doubled copy's name: the source name without its extension, "_2",
// then the extension.
std::string doubledFileName(std::string_view sourceName, std::string_view extension);

} // namespace kestrovan::nctools
