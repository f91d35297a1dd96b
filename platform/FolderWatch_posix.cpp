#include "platform/FolderWatch.h"

#include "platform/UniqueFd.h"

#include <cerrno>
#include <cstdint>
#include <mutex>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace kestrovan::platform {
namespace {

// Names created, deleted, moved in or out: what the list shows. Writes,
// closes and attribute changes are left out, so a file being written does
// not count until its name appears.
constexpr std::uint32_t kNameChanges = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
// The watched folder itself goes: the watch ends (IN_IGNORED and IN_UNMOUNT
// come without being asked for).
constexpr std::uint32_t kFolderGone = IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT | IN_IGNORED;

} // namespace

struct FolderWatch::State {
  UniqueFd inotify{inotify_init1(IN_NONBLOCK | IN_CLOEXEC)};
  UniqueFd wakeUp{eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)};
  mutable std::mutex mutex;
  int wd = -1; // the watch on the folder watched now; events of earlier ones are stale

  void removeWatch() {
    if (wd >= 0) inotify_rm_watch(inotify.get(), wd);
    wd = -1;
  }

  // Reads every event waiting; true when one of them concerns the folder
  // watched now.
  bool readEvents() {
    bool changed = false;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
      const ssize_t n = read(inotify.get(), buffer, sizeof buffer);
      if (n <= 0) break; // EAGAIN: all read
      const std::lock_guard lock(mutex);
      for (ssize_t at = 0; at < n;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        if (event->mask & IN_Q_OVERFLOW) {
          changed = true; // some were lost: look again
        } else if (event->wd == wd && wd >= 0) {
          if (event->mask & kNameChanges) changed = true;
          if (event->mask & kFolderGone) {
            changed = true; // the list shows a folder that is no longer there
            removeWatch();
          }
        }
      }
    }
    return changed;
  }
};

FolderWatch::FolderWatch() : state_(std::make_unique<State>()) {}

FolderWatch::~FolderWatch() = default;

bool FolderWatch::valid() const { return state_->inotify && state_->wakeUp; }

bool FolderWatch::watch(const std::string& folder) {
  const std::lock_guard lock(state_->mutex);
  state_->removeWatch();
  if (!valid()) return false;
  const int wd = inotify_add_watch(state_->inotify.get(), folder.c_str(),
                                   kNameChanges | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR);
  state_->wd = wd >= 0 ? wd : -1;
  return wd >= 0;
}

void FolderWatch::unwatch() {
  const std::lock_guard lock(state_->mutex);
  state_->removeWatch();
}

bool FolderWatch::watching() const {
  const std::lock_guard lock(state_->mutex);
  return state_->wd >= 0;
}

FolderWatch::Wait FolderWatch::wait() {
  if (!valid()) return Wait::Failed;
  for (;;) {
    pollfd fds[2] = {{state_->inotify.get(), POLLIN, 0}, {state_->wakeUp.get(), POLLIN, 0}};
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return Wait::Failed;
    }
    if (fds[1].revents & POLLIN) {
      std::uint64_t count = 0;
      [[maybe_unused]] const ssize_t n = read(state_->wakeUp.get(), &count, sizeof count);
      return Wait::Woken;
    }
    if (fds[0].revents & (POLLERR | POLLNVAL) || fds[1].revents & (POLLERR | POLLNVAL)) return Wait::Failed;
    if ((fds[0].revents & POLLIN) && state_->readEvents()) return Wait::Changed;
  }
}

void FolderWatch::wake() {
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t n = write(state_->wakeUp.get(), &one, sizeof one);
}

} // namespace kestrovan::platform
