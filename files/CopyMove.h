#pragma once
// The program's own copy and move of files and folders into a destination
// folder (folders with everything in them), in place of the desktop shell's:
// an overwrite question per file (yes, no, all, cancel), progress for the
// screen between pieces, the first failure told in a box and the rest left
// alone, and whether the operator stopped it.
//
// - A file is copied under a temporary name beside its target and takes the
//   target's name only when complete: a failed or stopped copy leaves the old
//   target as it was and no partial file.
// - A move within one file system is a rename. Across file systems each file
//   is copied (to the disk) and its source removed only then; folders go
//   once they are empty, so what was skipped or not reached stays.
// - A copy takes what a link points to: the program, or the folder with
//   everything in it. A move moves the link itself.
// - A folder is never copied or moved into itself or below itself.
// - A folder that cannot be read is not copied (no empty folder stands for
//   it) and, in a move, stays; such folders are named in one box at the end.

#include <cstdint>
#include <string>
#include <vector>

namespace kestrovan::base {
class Dialogs;
}

namespace kestrovan::files {

enum class TransferMode { Copy, Move };

enum class OverwriteAnswer { Yes, No, All, Cancel };

// What a copy or move asks and tells the screen on the way.
class CopyMoveScreen {
public:
  virtual ~CopyMoveScreen() = default;
  // `target` exists: replace it with `source`?
  virtual OverwriteAnswer askOverwrite(const std::string& source, const std::string& target) = 0;
  // A file begins.
  virtual void copying(const std::string& source, const std::string& target, std::uint64_t size) = 0;
  // Between pieces: the current file's bytes so far. False: the operator
  // stopped the operation.
  virtual bool keepGoing(std::uint64_t copied) = 0;
};

enum class CopyMoveEnd { Done, Aborted, Failed };

CopyMoveEnd copyOrMoveEntries(const std::vector<std::string>& sources, const std::string& destination,
                              TransferMode mode, CopyMoveScreen& screen, base::Dialogs& dialogs);

// The first of `sources` that is a folder holding `destination` (or that
// is it), which need not exist yet; empty when there is none. A copy goes by
// what a link to a folder points to, a move by the link itself.
std::string folderHoldingDestination(const std::vector<std::string>& sources, const std::string& destination,
                                     TransferMode mode);
// The refusal of a folder to be copied or moved into itself.
std::string intoItselfText(const std::string& folder, TransferMode mode);

// The operator's words for a failure of the file system (errno).
std::string failureReason(int error);

// The box title of the mode: "ﾌｧｲﾙｺﾋﾟｰ" or "ﾌｧｲﾙ移動".
const char* modeTitle(TransferMode mode);

} // namespace kestrovan::files
