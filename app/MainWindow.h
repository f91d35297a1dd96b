#pragma once
// The composition root: the main window and every operation module plugged
// into it. Adding an operation is one line in MainWindow.cpp (and its key
// table row when the key is new); nothing in the main window changes.

#include "core/ui/MainForm.h"
#include "host/Operation.h"

#include <memory>
#include <string>
#include <vector>

namespace kestrovan::platform {
class PowerOff;
}
namespace kestrovan::host {
class FolderBrowser;
}

namespace kestrovan::app {

// What tests replace; null: the real thing.
struct Seams {
  base::Dialogs* dialogs = nullptr;
  serial::PortOpener* ports = nullptr;
  platform::PowerOff* powerOff = nullptr;
  host::FolderBrowser* folderBrowser = nullptr;
  std::string deviceRoot = {}; // the folder holding dev/ and sys/ where serial devices are found; empty: "/"
};

class MainWindow {
public:
  explicit MainWindow(core::StartupInputs inputs, Seams seams = {});
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  core::TForm1& form() { return *form_; }
  // The operation module of type T, for tests that look inside one.
  template <class T> T* operation() {
    for (const std::unique_ptr<host::Operation>& op : operations_)
      if (auto* found = dynamic_cast<T*>(op.get())) return found;
    return nullptr;
  }

private:
  template <class T, class... Args> void plugIn(Args&&... args) {
    operations_.push_back(std::make_unique<T>(*form_, std::forward<Args>(args)...));
  }

  std::unique_ptr<platform::PowerOff> systemPowerOff_;
  std::unique_ptr<host::FolderBrowser> qtFolderBrowser_;
  std::unique_ptr<core::TForm1> form_;
  // Destroyed before the window they work on.
  std::vector<std::unique_ptr<host::Operation>> operations_;
};

} // namespace kestrovan::app
