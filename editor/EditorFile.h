#pragma once
// Opening a program for editing and saving the edited text, on disk.

#include "editor/ProgramText.h"
#include "serial/ProgramFile.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kestrovan::editor {

struct OpenedProgram {
  DecodedText decoded;
  std::uint64_t size = 0; // the file's size on disk
};

// The file loader's reading (bytes up to the first NUL, the wrong-format
// question when that leaves nothing), decoded for the editor, with the first
// line that a save would change.
OpenedProgram openForEditing(const std::string& path, const serial::WrongFormatQuestion& askReadAgain);

// Whether the view and the editor can read a path. A named pipe, a device or
// a socket listed among the files is Special: reading one could wait for ever
// on a writer or a device. A file gone since it was listed, a dangling link or
// one that may not be read is Unopenable.
enum class Readability { Readable, Special, Unopenable };
Readability readability(const std::string& path);
// What the view or the editor says when it does not read `path` for `doing`
// ("表示", "編集"); nothing when the path can be read.
std::optional<std::string> refusalMessage(const std::string& path, const std::string& doing);

enum class SaveStatus { Written, Unencodable, CannotCreate };

struct SaveResult {
  SaveStatus status = SaveStatus::CannotCreate;
  TextPlace unencodable;  // with Unencodable
  std::uint64_t size = 0; // bytes written, with Written
};

// Encodes the text (see encodeProgramText) and replaces the file with it
// through a temporary file beside it: nothing is written when a character
// cannot be encoded, and a failure leaves the old file whole. A read-only file
// is not written over.
SaveResult saveEditedText(const std::string& path, std::string_view utf8, bool replaceUndecodable);

} // namespace kestrovan::editor
