#pragma once
// A file written under a temporary name beside its target and put in place
// only when it is complete, so that a failed or stopped write never leaves a
// half file under the real name and never destroys an older file of that
// name before the new one is whole. Move-only; an uncommitted file is
// removed when it goes.

#include "platform/UniqueFd.h"

#include <string>
#include <string_view>

namespace kestrovan::platform {

class StagedFile {
public:
  // Creates the temporary file beside `target`; error() says why it could
  // not (ENOENT: no such folder, ENOTDIR: the folder is a file, EACCES ...).
  explicit StagedFile(std::string target);
  StagedFile(StagedFile&& other) noexcept;
  StagedFile& operator=(StagedFile&&) = delete;
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;
  ~StagedFile();

  bool ok() const { return error_ == 0; }
  int error() const { return error_; }
  const std::string& target() const { return target_; }

  // Appends bytes; false (with error()) when the disk refused them.
  bool append(std::string_view bytes);
  // Flushes the bytes to the disk and renames the file over its target.
  bool commit();

private:
  void discard();

  std::string target_;
  std::string temp_;
  UniqueFd fd_;
  int error_ = 0;
};

// Whether two paths name the same file on disk (the same device and inode):
// "a.NC" and "A.NC" on a file system that ignores case, a name and a link to
// it. False when either does not exist.
bool sameFile(const std::string& a, const std::string& b);

} // namespace kestrovan::platform
