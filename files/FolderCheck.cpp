#include "files/FolderCheck.h"

namespace kestrovan::files {

TFolderCheck::TFolderCheck(Changed changed) : changed_(std::move(changed)) {}

TFolderCheck::~TFolderCheck() { Stop(); }

bool TFolderCheck::Start() {
  if (running()) return true;
  if (!watch_.valid()) return false;
  stopping_ = false;
  arm();
  thread_ = std::thread([this] { Execute(); });
  return true;
}

void TFolderCheck::follow(const std::string& folder) {
  if (folder == folder_ && watching()) return;
  folder_ = folder;
  if (running()) arm();
}

void TFolderCheck::arm() {
  if (folder_.empty())
    watch_.unwatch();
  else
    watch_.watch(folder_); // false: nothing is watched until the list reads a folder again
}

void TFolderCheck::Stop() {
  if (!running()) return;
  stopping_ = true;
  watch_.wake();
  thread_.join();
  watch_.unwatch();
}

// The thread body: block until names change, tell, block again. The folder
// is re-armed by follow() on the user-interface thread, so the thread never
// reads the settings.
void TFolderCheck::Execute() {
  for (;;) {
    const platform::FolderWatch::Wait result = watch_.wait();
    if (stopping_ || result == platform::FolderWatch::Wait::Failed) return;
    if (result == platform::FolderWatch::Wait::Changed) changed_();
  }
}

} // namespace kestrovan::files
