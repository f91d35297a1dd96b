#pragma once
// A program file's bytes read in pieces, as the file loader reads them (up to
// the first NUL byte), so that a view can show the beginning of a 100 MB
// program while the rest is still being read, the window alive meanwhile.

#include "platform/FileReader.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace kestrovan::editor {

class ProgramBytes {
public:
  // Text that is all there already.
  explicit ProgramBytes(std::string text = {});
  // Opens `path` for reading piece by piece.
  static ProgramBytes open(const std::string& path);

  bool opened() const { return opened_; }
  // The size the file system reports.
  std::uint64_t size() const { return size_; }
  // Reads about `bytes` more; true once the text is all in (the end of the
  // file, a NUL byte, a read error: what came is kept).
  bool readMore(std::size_t bytes);
  bool done() const { return !file_; }
  const std::string& text() const { return text_; }

private:
  std::unique_ptr<platform::FileReader> file_;
  std::string text_;
  std::uint64_t size_ = 0;
  bool opened_ = false;
};

} // namespace kestrovan::editor
