#pragma once
// What the open dialog's preview shows of a file, and whether a file is text.

#include <cstddef>

namespace kestrovan::editor {

// True when none of the first min(length, 100) bytes of `buffer` is a NUL.
bool IsTextFile(const char* buffer, std::size_t length);

} // namespace kestrovan::editor
