#pragma once
// The folder watch on the main window: TFolderCheck started when the window
// is first shown, following every folder the list reads, and the refresh
// timer on the user-interface thread. A change only starts the timer when
// it is not running yet, so every change within about a second makes one
// refresh, a second after the first; the tick refreshes keeping the
// selection, which the list turns away while a rename holds its busy flag.
// The thread is stopped and waited for when the window goes.

#include "files/FolderCheck.h"

#include <QObject>

class QTimer;

namespace kestrovan::host {
class Host;
}

namespace kestrovan::files {

class FolderWatcher : public QObject {
public:
  static constexpr int kRefreshDelayMs = 1000;

  explicit FolderWatcher(host::Host& host);
  ~FolderWatcher() override;

  const TFolderCheck& watcher() const { return check_; }
  QTimer* refreshTimer() const { return Timer_; }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void changed(); // the watcher's thread
  void TimerTimer();

  host::Host& host_;
  QTimer* Timer_;
  TFolderCheck check_;
  int listener_ = 0;
};

} // namespace kestrovan::files
