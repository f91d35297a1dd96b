#pragma once
// What the NC tool tests share: a destination folder, the names in it, and
// a disk that fills up after a number of bytes.

#include "nctools/OutputFiles.h"
#include "support/Samples.h"
#include "support/TempDir.h"
#include "support/WrittenPrograms.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace kestrovan::test {

inline std::vector<std::string> namesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// The real disk, until `room` bytes have gone to it in all; then every
// write fails with ENOSPC, as a full file system's would. The staged files
// are real, so what is left on disk is what the real code leaves.
class FillingDisk : public nctools::OutputFiles {
public:
  explicit FillingDisk(std::size_t room) : room_(room) {}
  std::unique_ptr<nctools::OutputFile> create(const std::string& path) override {
    return std::make_unique<File>(*this, disk_.create(path));
  }

private:
  class File : public nctools::OutputFile {
  public:
    File(FillingDisk& disk, std::unique_ptr<nctools::OutputFile> real)
        : disk_(disk), real_(std::move(real)) {}
    bool append(std::string_view bytes) override {
      if (bytes.size() > disk_.room_) {
        full_ = true;
        return false;
      }
      disk_.room_ -= bytes.size();
      return real_->append(bytes);
    }
    bool commit() override { return !full_ && real_->commit(); }
    int error() const override { return full_ ? ENOSPC : real_->error(); }

  private:
    FillingDisk& disk_;
    std::unique_ptr<nctools::OutputFile> real_;
    bool full_ = false;
  };

  nctools::DiskOutputFiles disk_;
  std::size_t room_;
};

} // namespace kestrovan::test
