#pragma once
// TFolderCheck, the folder watcher: a thread that blocks on the system's
// notification of name changes in the folder the list shows and reports each
// change (on its own thread) to whoever refreshes the list. One watcher for
// the run: when the list moves to another folder the watch moves with it
// (follow), and Stop ends the thread and waits for it.
//
// A folder that cannot be watched (gone, no permission, the system's
// watches used up) or that goes while watched ends the watch without a
// word; the next folder the list reads, the same one included, is armed
// again.

#include "platform/FolderWatch.h"

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace kestrovan::files {

class TFolderCheck {
public:
  using Changed = std::function<void()>; // called on the watcher's thread

  explicit TFolderCheck(Changed changed);
  ~TFolderCheck();
  TFolderCheck(const TFolderCheck&) = delete;
  TFolderCheck& operator=(const TFolderCheck&) = delete;

  // Starts the thread and arms it on the folder followed so far. False when
  // the system offers no notification; the list is then refreshed only by
  // its other triggers.
  bool Start();
  // The list reads `folder`: watch it, unless it is watched already.
  void follow(const std::string& folder);
  // Ends the thread and waits for it; nothing is watched afterwards.
  void Stop();

  bool running() const { return thread_.joinable(); }
  bool watching() const { return running() && watch_.watching(); }
  const std::string& folder() const { return folder_; }

private:
  void Execute();
  void arm();

  Changed changed_;
  platform::FolderWatch watch_;
  std::thread thread_;
  std::atomic<bool> stopping_{false};
  std::string folder_; // user-interface thread only
};

} // namespace kestrovan::files
