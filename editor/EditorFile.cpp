#include "editor/EditorFile.h"

#include "editor/EditorTexts.h"
#include "platform/AtomicFile.h"
#include "platform/Paths.h"

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrovan::editor {

OpenedProgram openForEditing(const std::string& path, const serial::WrongFormatQuestion& askReadAgain) {
  serial::ProgramFile file = serial::loadProgramFile(path, askReadAgain);
  OpenedProgram result;
  result.size = file.size;
  result.decoded = decodeProgramText(file.text);
  if (file.readLineWise && !file.text.empty()) {
    result.decoded.alteration = Alteration::ReadLineWise;
    result.decoded.alteredLine = 1;
  } else if (file.opened && file.text.size() < file.size && result.decoded.alteration == Alteration::None) {
    // The text stopped at a NUL: a save would drop everything after it.
    result.decoded.alteration = Alteration::CutAtNul;
    result.decoded.alteredLine =
        static_cast<std::size_t>(std::count(result.decoded.text.begin(), result.decoded.text.end(), '\n')) +
        1;
  }
  return result;
}

Readability readability(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return Readability::Unopenable;
  if (!S_ISREG(st.st_mode)) return Readability::Special;
  return ::access(path.c_str(), R_OK) == 0 ? Readability::Readable : Readability::Unopenable;
}

std::optional<std::string> refusalMessage(const std::string& path, const std::string& doing) {
  switch (readability(path)) {
  case Readability::Readable: return std::nullopt;
  case Readability::Special: return specialFileMessage(path, doing);
  case Readability::Unopenable: break;
  }
  return cannotOpenMessage(path);
}

SaveResult saveEditedText(const std::string& path, std::string_view utf8, bool replaceUndecodable) {
  SaveResult result;
  EncodedText encoded = encodeProgramText(utf8, replaceUndecodable);
  if (!encoded.ok) {
    result.status = SaveStatus::Unencodable;
    result.unencodable = std::move(encoded.unencodable);
    return result;
  }
  if (platform::isReadOnlyFile(path) || !platform::writeFileAtomically(path, encoded.bytes)) return result;
  result.status = SaveStatus::Written;
  result.size = encoded.bytes.size();
  return result;
}

} // namespace kestrovan::editor
