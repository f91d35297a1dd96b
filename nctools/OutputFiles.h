#pragma once
// Where the NC tools write: each output file is staged under a temporary
// name and put in place when it is complete (platform/StagedFile), so a
// failed run never leaves half a program under a real name. Tests stand in a
// disk that fills up.

#include <memory>
#include <string>
#include <string_view>

namespace kestrovan::nctools {

class OutputFile {
public:
  virtual ~OutputFile() = default;
  virtual bool append(std::string_view bytes) = 0;
  // Puts the file in place under its name; false when that failed.
  virtual bool commit() = 0;
  // errno of the first failure, 0 while none.
  virtual int error() const = 0;
};

class OutputFiles {
public:
  virtual ~OutputFiles() = default;
  // A new file that will replace `path` when committed; check error().
  virtual std::unique_ptr<OutputFile> create(const std::string& path) = 0;
};

// The real disk. A read-only file is never replaced (EACCES).
class DiskOutputFiles : public OutputFiles {
public:
  std::unique_ptr<OutputFile> create(const std::string& path) override;
};

} // namespace kestrovan::nctools
