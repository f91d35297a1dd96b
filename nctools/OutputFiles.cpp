#include "nctools/OutputFiles.h"

#include "platform/Paths.h"
#include "platform/StagedFile.h"

#include <cerrno>

namespace kestrovan::nctools {
namespace {

class DiskOutputFile : public OutputFile {
public:
  explicit DiskOutputFile(std::string path) : file_(std::move(path)) {}
  bool append(std::string_view bytes) override { return file_.append(bytes); }
  bool commit() override { return file_.commit(); }
  int error() const override { return file_.error(); }

private:
  platform::StagedFile file_;
};

// A file the tools may not replace: nothing is staged for it at all.
class RefusedOutputFile : public OutputFile {
public:
  explicit RefusedOutputFile(int error) : error_(error) {}
  bool append(std::string_view) override { return false; }
  bool commit() override { return false; }
  int error() const override { return error_; }

private:
  int error_;
};

} // namespace

// A read-only file (its owner may not write it) is never written over, also
// when the program runs as the super-user, whose rename would replace it.
std::unique_ptr<OutputFile> DiskOutputFiles::create(const std::string& path) {
  if (platform::isReadOnlyFile(path)) return std::make_unique<RefusedOutputFile>(EACCES);
  return std::make_unique<DiskOutputFile>(path);
}

} // namespace kestrovan::nctools
