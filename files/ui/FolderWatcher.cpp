#include "files/ui/FolderWatcher.h"

#include "files/FileList.h"
#include "host/Host.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace kestrovan::files {

FolderWatcher::FolderWatcher(host::Host& host)
    : host_(host), Timer_(new QTimer(this)), check_([this] { changed(); }) {
  Timer_->setObjectName("FolderCheckTimer");
  Timer_->setInterval(kRefreshDelayMs);
  connect(Timer_, &QTimer::timeout, this, &FolderWatcher::TimerTimer);
  listener_ = host.fileList().onFolderRead([this](const std::string& folder) { check_.follow(folder); });
  host.window()->installEventFilter(this);
}

// The thread ends before the timer and this object go, so no change is
// reported to something that is no longer there.
FolderWatcher::~FolderWatcher() {
  host_.fileList().dropFolderListener(listener_);
  check_.Stop();
}

bool FolderWatcher::eventFilter(QObject* watched, QEvent* event) {
  if (watched == host_.window() && event->type() == QEvent::Show && !check_.running()) check_.Start();
  return QObject::eventFilter(watched, event);
}

// On the watcher's thread: hand over to the user-interface thread without
// waiting for it, so that stopping the thread from there can never wait on
// a thread that waits on it. A timer already running is left to run.
void FolderWatcher::changed() {
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (!Timer_->isActive()) Timer_->start();
      },
      Qt::QueuedConnection);
}

void FolderWatcher::TimerTimer() {
  Timer_->stop();
  host_.refreshFileList({.keepSelection = true});
}

} // namespace kestrovan::files
