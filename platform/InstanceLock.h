#pragma once
// One running instance per executable name: a lock file named after the
// executable's file name, held with flock for the whole run. The kernel drops
// the lock when the process ends, however it ends.

#include "platform/UniqueFd.h"

#include <string>

namespace kestrovan::platform {

class InstanceLock {
public:
  enum class Outcome {
    Acquired,      // we are the only instance
    HeldByAnother, // another instance of the same name runs
    Unavailable,   // no lock could be made (no writable folder); run anyway
  };

  // Tries to take the lock for executable file name `name` in `folder`.
  static InstanceLock acquire(const std::string& folder, const std::string& name);

  Outcome outcome() const { return outcome_; }
  const std::string& path() const { return path_; }

  InstanceLock(InstanceLock&&) = default;
  InstanceLock& operator=(InstanceLock&&) = default;

private:
  InstanceLock(Outcome o, std::string path, UniqueFd fd)
      : outcome_(o), path_(std::move(path)), fd_(std::move(fd)) {}
  Outcome outcome_;
  std::string path_;
  UniqueFd fd_;
};

// $XDG_RUNTIME_DIR, else the temporary folder.
std::string instanceLockFolder();
// "<name>.lock" in the runtime folder; in the shared temporary folder the
// user id is added so that two users on one machine do not shut each other out.
std::string instanceLockFileName(const std::string& exeFileName);

} // namespace kestrovan::platform
