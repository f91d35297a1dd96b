#include "core/StartupChecks.h"
#include "base/SettingsRecord.h"
#include "platform/Paths.h"
#include "support/FakeDialogs.h"
#include "support/FakePorts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace kestrovan;
using base::MessageAnswer;

namespace {
base::SettingsRecord settingsIn(const std::string& dir) {
  base::SettingsRecord s = base::defaultSettings("/home/op");
  s.DirPath = dir;
  return s;
}
} // namespace

TEST(DataFolderCheck, ExistingFolderAndRootAskNothing) {
  test::TempDir tmp;
  test::FakeDialogs dialogs;
  auto s = settingsIn(tmp.path());
  core::checkDataFolder(s, dialogs, "/home/op");
  s.DirPath = "/";
  core::checkDataFolder(s, dialogs, "/home/op");
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(s.DirPath, "/");
}

TEST(DataFolderCheck, MissingFolderYesCreatesEveryLevel) {
  test::TempDir tmp;
  test::FakeDialogs dialogs;
  dialogs.answers = {MessageAnswer::Yes};
  auto s = settingsIn(tmp.file("A/B/C"));
  core::checkDataFolder(s, dialogs, "/home/op");
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].title, "警告");
  EXPECT_EQ(dialogs.shown[0].text, "ディレクトリが見つかりません。ディレクトリを作成しますか？");
  EXPECT_EQ(dialogs.shown[0].buttons, base::MessageButtons::YesNo);
  EXPECT_TRUE(platform::isDirectory(tmp.file("A/B/C")));
  EXPECT_EQ(s.DirPath, tmp.file("A/B/C"));
}

TEST(DataFolderCheck, MissingFolderNoFallsBackToHome) {
  test::TempDir tmp;
  test::FakeDialogs dialogs;
  dialogs.answers = {MessageAnswer::No};
  auto s = settingsIn(tmp.file("gone"));
  core::checkDataFolder(s, dialogs, "/home/op");
  EXPECT_EQ(s.DirPath, "/home/op");
  EXPECT_FALSE(platform::pathExists(tmp.file("gone")));
}

TEST(DataFolderCheck, AFolderThatCannotBeMadeIsReportedAndNeverLeftRelative) {
  test::FakeDialogs dialogs;
  dialogs.answers = {MessageAnswer::Yes};
  auto s = settingsIn("C:\\NC"); // a value carried over from another system
  core::checkDataFolder(s, dialogs, "/home/op");
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[1].title, "エラー");
  EXPECT_EQ(s.DirPath, "/home/op");
  EXPECT_FALSE(platform::pathExists("C:\\NC"));
}

TEST(PortCheck, UsablePortSaysNothing) {
  test::FakeDialogs dialogs;
  test::FakePorts ports;
  auto s = settingsIn("/");
  s.Port = "COM2";
  EXPECT_TRUE(core::checkPort(s, ports, dialogs));
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(ports.opened, std::vector<int>{2});
}

TEST(PortCheck, MissingModemAndMalformedPortsAreReported) {
  const std::string tail = "のポートが使用不可です。\n通信設定をおこなってください。";
  struct Case {
    std::string port, modem2;
  } cases[] = {{"COM9", ""}, {"COM3", "com3"}, {"/dev/ttyS0", ""}, {"", ""}, {"COMX", ""}};
  for (const Case& c : cases) {
    test::FakeDialogs dialogs;
    test::FakePorts ports;
    auto s = settingsIn("/");
    s.Port = c.port;
    s.ModemePort2 = c.modem2;
    EXPECT_FALSE(core::checkPort(s, ports, dialogs)) << c.port;
    ASSERT_EQ(dialogs.shown.size(), 1u) << c.port;
    EXPECT_EQ(dialogs.shown[0].title, "エラー");
    EXPECT_EQ(dialogs.shown[0].text, c.port + tail);
  }
}

TEST(PortCheck, AModemPortIsReportedWithoutBeingOpened) {
  test::FakeDialogs dialogs;
  test::FakePorts ports;
  auto s = settingsIn("/");
  s.Port = "COM3";
  s.ModemePort1 = "com3";
  EXPECT_FALSE(core::checkPort(s, ports, dialogs));
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, "COM3のポートが使用不可です。\n通信設定をおこなってください。");
  // Opening it would raise DTR on the modem.
  EXPECT_TRUE(ports.opened.empty());
}

TEST(ListLayout, OutOfRangeColumnsBecomeFiveAndCoverTheLetterList) {
  auto s = settingsIn("/");
  for (int n : {1, 4}) {
    s.ListColumn = n;
    auto l = core::correctListLayout(s);
    EXPECT_EQ(l.columns, n);
    EXPECT_EQ(l.width, 616);
    EXPECT_EQ(s.ListColumn, n);
  }
  for (int n : {5, 0, 9, -1}) {
    s.ListColumn = n;
    auto l = core::correctListLayout(s);
    EXPECT_EQ(l.columns, 5);
    EXPECT_EQ(l.width, 728);
    EXPECT_EQ(s.ListColumn, 5);
  }
}
