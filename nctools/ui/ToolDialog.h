#pragma once
// What the NC tool dialogs share: their frame and modal show, a one-line
// field that refuses characters as they are typed or pasted, and the run of
// a tool on the user-interface thread (progress in lines, pending events
// handled now and then, a close request of the main window stopping it).

#include "host/Host.h"

#include <QObject>

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>

class QDialog;
class QLineEdit;
class QProgressBar;

namespace kestrovan::nctools {

void setUpToolDialog(QDialog& dialog, const char* name, const char* title, QSize size);
// Shows the dialog application-modal and centred on the main window; the
// main window's loop keeps it alive.
void showToolDialog(QDialog& dialog, host::Host& host);

// A field whose refused characters never get in: a typed one is dropped, a
// pasted or dropped text that brings one is taken back whole; either way the
// "確認" box names the refused set. Enter goes to `enter`.
class RefusingField : public QObject {
public:
  using Count = std::function<int(const std::string& text)>; // refused characters in a text
  RefusingField(QLineEdit* edit, base::Dialogs& dialogs, Count count, std::string message);
  void refuse();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void edited(const QString& text);

  QLineEdit* edit_;
  base::Dialogs& dialogs_;
  Count count_;
  std::string message_;
  QString before_;
};

// One run of a tool. The bar and the window are brought up to date at most
// every kRefreshMs, not on every line.
class ToolRun : public host::BusyOperation {
public:
  static constexpr int kRefreshMs = 50;

  // bar: none for a run that counts no lines.
  ToolRun(host::Host& host, QProgressBar* bar);
  ~ToolRun() override;
  ToolRun(const ToolRun&) = delete;
  ToolRun& operator=(const ToolRun&) = delete;

  // `lines` lines are done.
  void progress(std::size_t lines);
  bool stopRequested() const { return stopped_; }
  bool requestStop() override {
    stopped_ = true;
    return true;
  }

private:
  host::Host& host_;
  QProgressBar* bar_;
  std::chrono::steady_clock::time_point next_;
  bool stopped_ = false;
};

} // namespace kestrovan::nctools
