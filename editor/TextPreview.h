#pragma once
// What the open dialog's preview shows of a file, and whether a file is text.

#include <cstddef>
#include <string>

namespace kestrovan::editor {

// The preview reads at most this many bytes from a file's beginning.
inline constexpr std::size_t kPreviewBytes = 1023;
// A file is text when none of its first this many bytes is a NUL.
inline constexpr std::size_t kTextTestBytes = 100;

// True when none of the first min(length, 100) bytes of `buffer` is a NUL.
bool IsTextFile(const char* buffer, std::size_t length);

struct FilePreview {
  enum class Kind {
    Text,       // `bytes`: the beginning to show (up to a NUL after the first 100 bytes)
    NotText,    // a NUL among the first 100 bytes
    NotAFile,   // a folder, a device, a pipe, or gone: nothing to preview, nothing to say
    Unreadable, // `error`: the system's reason
  };
  Kind kind = Kind::NotAFile;
  std::string bytes; // as the file holds them (CP932)
  std::string error;
};

// Reads the first min(size, 1023) bytes of the file at `path`. Only regular
// files are opened, so that selecting a pipe or a device never blocks.
FilePreview previewFile(const std::string& path);

} // namespace kestrovan::editor
