#pragma once
// Replacing a file so that a failed write never destroys what it held: the new
// content goes to a temporary file beside it, which is then renamed over it.

#include <string>
#include <string_view>
#include <vector>

namespace kestrovan::platform {

struct WriteResult {
  bool ok = false;
  int error = 0; // errno of the step that failed
  explicit operator bool() const { return ok; }
};

// A path that is a symbolic link (or a chain of them) stays one: the file it
// leads to is replaced, created when it does not exist yet; a circle of links
// fails with ELOOP and changes nothing.
WriteResult writeFileAtomically(const std::string& path, std::string_view bytes);
// The same with the content given in parts, written one after the other (a
// large edited text is never put together in memory).
WriteResult writeFileAtomically(const std::string& path, const std::vector<std::string_view>& parts);

// Reads a whole file; ok is false (with errno in error) when it cannot be read.
struct FileContents {
  bool ok = false;
  int error = 0;
  std::string bytes;
};
FileContents readWholeFile(const std::string& path);

} // namespace kestrovan::platform
