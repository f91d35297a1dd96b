// The real main window on the offscreen platform, driven by key events.
#include "core/ui/MainForm.h"
#include "app/MainWindow.h"
#include "platform/IniFile.h"
#include "support/FakeDialogs.h"
#include "support/FakePorts.h"
#include "support/Keyboard.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace kestrovan;
namespace keyboard = test::keyboard;

namespace {

struct Started {
  test::TempDir home;
  test::TempDir data;
  test::FakeDialogs dialogs;
  test::FakePorts ports;
  std::unique_ptr<app::MainWindow> window;
  core::TForm1* form = nullptr;

  core::ProgramFiles files() const { return core::ProgramFiles::in(home.path(), "kestrovan"); }

  void start(std::vector<std::string> args = {}) {
    window = std::make_unique<app::MainWindow>(core::StartupInputs{files(), data.path(), std::move(args)},
                                               app::Seams{&dialogs, &ports});
    form = &window->form();
    form->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->firstIdleDone(); }, 5000));
  }
  QWidget* list() const { return form->findChild<QWidget*>("ListBox1"); }
};

} // namespace

TEST(MainForm, FreshStartShowsTheFixedBlackScreenAndF10SavesEveryKey) {
  Started s;
  s.start();
  EXPECT_EQ(s.form->size(), QSize(728, 518));
  EXPECT_EQ(s.form->windowTitle(), "Kestrovan(Win98/Me/2000/XP)");
  EXPECT_TRUE(s.dialogs.shown.empty()); // home folder exists, COM1 opens
  EXPECT_EQ(s.list()->width(), 616);

  keyboard::press(Qt::Key_F10);
  EXPECT_FALSE(s.form->isVisible());
  platform::IniFile ini = platform::IniFile::load(s.files().settingsPath);
  EXPECT_EQ(ini.readString("Setting", "Port", ""), "COM1");
  EXPECT_EQ(ini.readString("Setting", "DirPath", ""), s.data.path());
  EXPECT_EQ(ini.readString("Options", "WinVer", ""), "0");
  EXPECT_EQ(ini.sectionEntries("Application").size(), 0u);
  platform::IniFile table = platform::IniFile::load(s.files().commandTablePath);
  EXPECT_EQ(table.sectionEntries("Application").size(), 79u);
  // COM1, opened by the port check at start, is opened once more on the way
  // out; no other port is touched.
  EXPECT_EQ(s.ports.opened, (std::vector<int>{1, 1}));
}

TEST(MainForm, StoredColumnCountOutOfRangeLaysOutFiveAndSavesFive) {
  Started s;
  test::writeFile(s.files().settingsPath, "[Options]\r\nListColumn=0\r\n[Setting]\r\nModemePort1=com2\r\n");
  s.start();
  EXPECT_EQ(s.form->listColumns(), 5);
  EXPECT_EQ(s.list()->width(), 728);
  s.form->close();
  platform::IniFile ini = platform::IniFile::load(s.files().settingsPath);
  EXPECT_EQ(ini.readInteger("Options", "ListColumn", 0), 5);
  // COM2 is a modem port: never opened while releasing the ports.
  EXPECT_EQ(std::count(s.ports.opened.begin(), s.ports.opened.end(), 2), 0);
}

TEST(MainForm, ClosingReleasesOnlyThePortsTheRunOpened) {
  Started s;
  test::writeFile(s.files().settingsPath, "[Setting]\r\nPort=COM2\r\nModemePort1=COM3\r\n");
  s.start();
  keyboard::press(Qt::Key_F7); // the port list opens every port but the modem port
  keyboard::press(Qt::Key_F2);
  EXPECT_EQ(s.ports.opened.size(), 1u + 29u);
  s.ports.opened.clear();
  keyboard::press(Qt::Key_F10);
  EXPECT_FALSE(s.form->isVisible());
  EXPECT_EQ(s.ports.opened, (std::vector<int>{1, 2})); // COM1 to COM3 exist; COM3 is the modem's
}

TEST(MainForm, StartChecksAskAboutAMissingFolderAndReportABadPort) {
  Started s;
  test::writeFile(s.files().settingsPath,
                  "[Setting]\r\nDirPath=" + s.data.file("new/sub") + "\r\nPort=COM7\r\n");
  s.dialogs.answers = {base::MessageAnswer::Yes};
  s.start();
  ASSERT_EQ(s.dialogs.shown.size(), 2u);
  EXPECT_EQ(s.dialogs.shown[0].title, "警告");
  EXPECT_EQ(s.dialogs.shown[1].text, "COM7のポートが使用不可です。\n通信設定をおこなってください。");
  EXPECT_TRUE(test::fileExists(s.data.file("new/sub")));
  EXPECT_EQ(s.form->state().settings.DirPath, s.data.file("new/sub"));
}

TEST(MainForm, ARunWithArgumentsLeavesTheSettingsFileByteForByte) {
  Started s;
  const std::string original = "[Setting]\nport = COM2\n[Main]\nLeft=40\nTop=50\n";
  test::writeFile(s.files().settingsPath, original);
  s.start({"S=A.NC", "COM2"});
  EXPECT_EQ(s.form->state().run.commandItems, (std::vector<std::string>{"S=A.NC", "COM2"}));
  s.form->state().settings.Speed = "9600,7,E,2";
  s.form->close();
  EXPECT_EQ(test::readFile(s.files().settingsPath), original);
  EXPECT_FALSE(test::fileExists(s.files().commandTablePath));
}
