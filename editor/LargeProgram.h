#pragma once
// Which programs the editor edits in its large-program area rather than in a
// text document: a text document holds about ten times a file and lays out a
// line whole, so that a 100 MB program or a 5 MB line froze the window for
// seconds and took a gigabyte.

#include <cstddef>
#include <cstdint>
#include <string>

namespace kestrovan::editor {

inline constexpr std::uint64_t kLargeProgramBytes = 8ull * 1024 * 1024;
inline constexpr std::size_t kLongLineBytes = 64 * 1024;

// A file above kLargeProgramBytes, or one with a line longer than
// kLongLineBytes (in what the file loader reads of it, up to a NUL).
bool editsAsLargeProgram(const std::string& path);

// What the large-program area says when asked for something it does not do:
// "大きなファイルの編集では" + what + "は使えません。".
std::string notInLargeAreaMessage(const std::string& what);

} // namespace kestrovan::editor
