#pragma once
// File systems a test needs that the machine does not offer as they are: a
// small tmpfs (a full disk, a second file system) mounted in the test
// process's own mount namespace, and a folder nothing may be written into.

#include <string>

namespace kestrovan::test {

// Mounts a tmpfs of `bytes` on `folder`, seen by this process only; false
// when the process may not have a mount namespace of its own (the test then
// skips). Unmounted when the process ends.
bool mountSmallTmpfs(const std::string& folder, std::size_t bytes);

// A folder into which nothing can be written, whoever runs the test: the
// owner's write bit off, and for the super-user the immutable flag. The
// folder is writable again when this ends. ok() false: not possible here.
class ReadOnlyFolder {
public:
  explicit ReadOnlyFolder(std::string folder);
  ~ReadOnlyFolder();
  bool ok() const { return ok_; }

private:
  std::string folder_;
  bool immutable_ = false;
  bool ok_ = false;
};

} // namespace kestrovan::test
