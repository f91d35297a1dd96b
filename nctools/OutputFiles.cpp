#include "nctools/OutputFiles.h"

#include "platform/StagedFile.h"

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

} // namespace

std::unique_ptr<OutputFile> DiskOutputFiles::create(const std::string& path) {
  return std::make_unique<DiskOutputFile>(path);
}

} // namespace kestrovan::nctools
