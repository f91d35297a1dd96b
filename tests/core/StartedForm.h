#pragma once
// The program's main window with its operations plugged in, as main() builds
// it, started on a temporary program folder and data folder with scripted
// message boxes and fake ports.

#include "app/MainWindow.h"
#include "core/ui/FileListBox.h"
#include "core/ui/MainForm.h"
#include "support/FakeDialogs.h"
#include "support/FakePorts.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace kestrovan::test {

struct StartedForm {
  TempDir home;
  TempDir data;
  FakeDialogs dialogs;
  FakePorts ports;
  platform::PowerOff* powerOff = nullptr;       // the computer's own when null
  host::FolderBrowser* folderBrowser = nullptr; // the desktop's when null
  bool realBoxes = false;                       // the program's own message boxes, not `dialogs`
  std::string deviceRoot;                       // dev/ and sys/ of serial devices; the system's when empty
  std::unique_ptr<app::MainWindow> window;
  core::TForm1* form = nullptr;

  core::ProgramFiles files() const { return core::ProgramFiles::in(home.path(), "kestrovan"); }

  // realPorts: the devices of the settings file's [Ports] section, as the
  // program opens them, rather than the fake ports.
  void start(std::vector<std::string> args = {}, bool realPorts = false) {
    window = std::make_unique<app::MainWindow>(core::StartupInputs{files(), data.path(), std::move(args)},
                                               app::Seams{realBoxes ? nullptr : &dialogs,
                                                          realPorts ? nullptr : &ports, powerOff,
                                                          folderBrowser, deviceRoot});
    form = &window->form();
    form->show();
    QApplication::setActiveWindow(form);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->firstIdleDone(); }, 5000));
  }
  core::FileListBox* list() const { return form->findChild<core::FileListBox*>("ListBox1"); }
  template <class T> T* find(const char* name) const { return form->findChild<T*>(name); }
};

} // namespace kestrovan::test
