#pragma once
// The system's notification of name changes in one folder: files and
// folders created, deleted or moved in or out of it, not its subfolders and
// not changes of contents or attributes. One instance of the notification
// for the life of the object, moved from folder to folder; one thread waits
// on it while another re-arms it.

#include <memory>
#include <string>

namespace kestrovan::platform {

class FolderWatch {
public:
  // Opens the notification instance; valid() says whether the system gave one.
  FolderWatch();
  ~FolderWatch();
  FolderWatch(const FolderWatch&) = delete;
  FolderWatch& operator=(const FolderWatch&) = delete;

  bool valid() const;

  // Watches `folder` instead of the folder watched so far. False when it
  // cannot be watched (gone, not a folder, no permission, the system's
  // watches used up): then nothing is watched.
  bool watch(const std::string& folder);
  // Nothing is watched any more.
  void unwatch();
  // A folder is watched: watch() succeeded and the folder has not gone
  // since (removed, moved away, its file system unmounted).
  bool watching() const;

  enum class Wait {
    Changed, // names changed in the watched folder, or the folder itself went
    Woken,   // wake() was called
    Failed,  // the instance cannot be waited on; waiting again will not help
  };
  // Blocks without a time-out until one of the above. Several changes that
  // are already waiting are reported as one.
  Wait wait();
  // Ends a wait() in progress, or the next one; any thread may call it.
  void wake();

private:
  struct State;
  std::unique_ptr<State> state_;
};

} // namespace kestrovan::platform
