#pragma once
// The editor's search in a text held as pieces (the large-program area): the
// pattern encoded to CP932 is looked for in the bytes, a hit only where a
// character begins, without letter case for ASCII, full-width Latin, Greek
// and Cyrillic letters when asked. The text is read a block at a time, never
// put together whole.

#include "editor/PieceTable.h"

#include <cstddef>
#include <optional>
#include <string_view>

namespace kestrovan::editor {

// Down: the first hit that begins at or after `from`. Up: the nearest that
// begins before `from`. The offset of the hit's first byte.
std::optional<std::size_t> searchPieces(const PieceTable& text, std::string_view pattern, std::size_t from,
                                        bool down, bool matchCase);

} // namespace kestrovan::editor
