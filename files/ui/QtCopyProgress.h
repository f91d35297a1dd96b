#pragma once
// The screen of a copy or move on the main window: the overwrite question
// (yes, no, all, cancel) in a box, and a progress dialog with the file being
// copied and a Cancel button once the operation has taken longer than half
// a second. The window stays alive between pieces; the list takes no keys
// meanwhile, and a close request stops the operation as Cancel does.

#include "files/CopyMove.h"
#include "host/Host.h"

#include <chrono>

class QDialog;
class QLabel;
class QProgressBar;

namespace kestrovan::files {

class QtCopyProgress : public CopyMoveScreen, public host::BusyOperation {
public:
  static constexpr int kShowAfterMs = 500;

  QtCopyProgress(host::Host& host, TransferMode mode, int showAfterMs = kShowAfterMs);
  ~QtCopyProgress() override;
  QtCopyProgress(const QtCopyProgress&) = delete;
  QtCopyProgress& operator=(const QtCopyProgress&) = delete;

  OverwriteAnswer askOverwrite(const std::string& source, const std::string& target) override;
  void copying(const std::string& source, const std::string& target, std::uint64_t size) override;
  bool keepGoing(std::uint64_t copied) override;
  bool requestStop() override {
    stopped_ = true;
    return true;
  }

private:
  void showDialog();

  host::Host& host_;
  TransferMode mode_;
  std::chrono::steady_clock::time_point started_;
  std::chrono::milliseconds showAfter_;
  QDialog* dialog_ = nullptr;
  QLabel* file_ = nullptr;
  QProgressBar* bar_ = nullptr;
  std::string current_;
  std::uint64_t size_ = 0;
  bool stopped_ = false;
};

} // namespace kestrovan::files
