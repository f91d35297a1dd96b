#pragma once
// The real main window, started on a temporary program folder and data folder
// with scripted message boxes and fake ports.

#include "core/FileListBox.h"
#include "core/MainForm.h"
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
  std::unique_ptr<core::TForm1> form;

  core::ProgramFiles files() const { return core::ProgramFiles::in(home.path(), "kestrovan"); }

  // realPorts: the devices of the settings file's [Ports] section, as the
  // program opens them, rather than the fake ports.
  void start(std::vector<std::string> args = {}, bool realPorts = false) {
    form = std::make_unique<core::TForm1>(core::StartupInputs{files(), data.path(), std::move(args)},
                                          &dialogs, realPorts ? nullptr : &ports);
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->firstIdleDone(); }, 5000));
  }
  core::FileListBox* list() const { return form->findChild<core::FileListBox*>("ListBox1"); }
  template <class T> T* find(const char* name) const { return form->findChild<T*>(name); }
};

} // namespace kestrovan::test
