#pragma once
// Reading a file from its beginning in pieces, with its size from the file
// system: for files too large to be copied around (a 100 MB program is read
// straight into the one buffer that keeps it). The file is opened for reading
// only, so others may read it at the same time.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace kestrovan::platform {

class FileReader {
public:
  explicit FileReader(const std::string& path);
  ~FileReader();
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;

  bool isOpen() const { return fd_ >= 0; }
  int error() const { return error_; } // errno of the failed step

  // The size the file system reports; nothing when it cannot be read.
  std::optional<std::uint64_t> size();
  // Up to `capacity` bytes from the current position: the count, 0 at the
  // end of the file, -1 on a read error.
  long long read(char* buffer, std::size_t capacity);

private:
  int fd_ = -1;
  int error_ = 0;
};

} // namespace kestrovan::platform
