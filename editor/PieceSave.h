#pragma once
// Saving a text held as pieces: the pieces go one after the other into a
// temporary file beside the target, renamed over it once complete, so that a
// failure leaves the old file whole. The bytes are written as they are held:
// nothing is decoded, line ends included.

#include "editor/EditorFile.h"
#include "editor/PieceTable.h"

#include <string>

namespace kestrovan::editor {

// Written, or CannotCreate (a read-only file is not written over).
SaveResult savePieces(const std::string& path, const PieceTable& text);

} // namespace kestrovan::editor
