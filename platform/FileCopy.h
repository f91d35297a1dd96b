#pragma once
// Copying a file: the copy is written under a temporary name beside the
// target and renamed to it only when it is complete, so a failed or stopped
// copy never destroys the file it replaces and never leaves half a file.
// The copy keeps the source's permission bits and modification time.

#include "platform/AtomicFile.h"

#include <cstdint>
#include <functional>
#include <string>

namespace kestrovan::platform {

// The largest piece copied between two calls of the progress callback.
inline constexpr std::uint64_t kCopyPiece = 8u << 20;

enum class CopyEnd { Done, Stopped, Failed };

struct CopyResult {
  CopyEnd end = CopyEnd::Failed;
  int error = 0; // errno of the step that failed; EEXIST when the target may not be replaced
  explicit operator bool() const { return end == CopyEnd::Done; }
};

struct CopyOptions {
  bool replace = false; // an existing target is replaced; otherwise the copy fails with EEXIST
  bool durable = false; // the copy reaches the disk before it takes the target's name
};

// Called before the first piece and after every piece with the bytes copied
// so far; false stops the copy.
using CopyProgress = std::function<bool(std::uint64_t copied)>;

// Copies the regular file `from` to `to`. The kernel copies (copy_file_range)
// where it can, read and write where it cannot.
CopyResult copyFile(const std::string& from, const std::string& to, const CopyOptions& options,
                    const CopyProgress& progress = {});

// Copies over an existing file without asking, the copy on disk before it
// replaces the old one.
WriteResult copyFileReplacing(const std::string& from, const std::string& to);

} // namespace kestrovan::platform
