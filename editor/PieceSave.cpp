#include "editor/PieceSave.h"

#include "platform/AtomicFile.h"
#include "platform/Paths.h"

namespace kestrovan::editor {

SaveResult savePieces(const std::string& path, const PieceTable& text) {
  SaveResult result;
  if (platform::isReadOnlyFile(path) || !platform::writeFileAtomically(path, text.pieces())) return result;
  result.status = SaveStatus::Written;
  result.size = text.size();
  return result;
}

} // namespace kestrovan::editor
