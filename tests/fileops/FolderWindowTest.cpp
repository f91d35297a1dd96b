// F5, Shift+F5 and L on the real main window, driven by keys.

#include "FileOpsWindow.h"
#include "platform/Paths.h"

#include <QDir>
#include <QMenu>

using namespace kestrovan;
using base::MessageAnswer;

TEST(FolderWindow, F5CreatesEveryMissingLevelOnYesAndListsTheEmptyFolder) {
  test::FileOpsWindow w;
  w.open();
  const std::string dir = w.settings().DirPath;
  mkdir((dir + "/a").c_str(), 0755);
  test::keyboard::press(Qt::Key_F5);
  EXPECT_EQ(w.prompt()->text().toStdString(), dir);
  EXPECT_TRUE(w.prompt()->hasFocus());
  EXPECT_EQ(w.message(), "現ﾃﾞｨﾚｸﾄﾘ " + dir + " -->>>変更後 ");
  EXPECT_FALSE(w.list()->isEnabled());
  // The backslash is no part of a path here.
  test::keyboard::type("\\");
  ASSERT_EQ(w.dialogs.shown.size(), 1u);
  EXPECT_EQ(w.dialogs.shown[0].text, "この文字はディレクトリ名に使えません。\n\\,;*?<>|");
  test::keyboard::type("/a/b/c/");
  w.dialogs.answers = {MessageAnswer::Yes};
  test::keyboard::press(Qt::Key_Return);
  EXPECT_EQ(w.dialogs.shown.back().text, "ディレクトリが有りません。\n" + dir + "/a/b/cを作成しますか？");
  EXPECT_EQ(w.settings().DirPath, dir + "/a/b/c");
  EXPECT_TRUE(platform::isDirectory(dir + "/a/b/c"));
  EXPECT_EQ(w.form->fileList().folder(), dir + "/a/b/c");
  EXPECT_EQ(w.form->fileList().rows().size(), 1u); // the ".." row only
  EXPECT_TRUE(w.list()->isEnabled());
  EXPECT_TRUE(w.list()->hasFocus());
  EXPECT_FALSE(w.prompt()->isEnabled());
  EXPECT_EQ(w.message(), "");

  // An existing folder typed with its trailing "/" is used without it.
  test::keyboard::press(Qt::Key_F5);
  test::keyboard::press(Qt::Key_A, Qt::ControlModifier);
  test::keyboard::type(dir + "/a/");
  test::keyboard::press(Qt::Key_Return);
  EXPECT_EQ(w.settings().DirPath, dir + "/a");
}

TEST(FolderWindow, DotsTypedOnTheFolderPromptAreResolvedBeforeTheFolderIsTaken) {
  test::FileOpsWindow w;
  w.open();
  const std::string dir = w.settings().DirPath;
  mkdir((dir + "/CHILD").c_str(), 0755);
  // Relative, with "." and "..": the prompt emptied first (Ctrl+A selects its text).
  test::keyboard::press(Qt::Key_F5);
  test::keyboard::press(Qt::Key_A, Qt::ControlModifier);
  test::keyboard::type("CHILD/./../CHILD/");
  test::keyboard::press(Qt::Key_Return);
  EXPECT_EQ(w.settings().DirPath, dir + "/CHILD");
  EXPECT_EQ(w.form->fileList().folder(), dir + "/CHILD");
  // ".." after the folder the prompt shows: its parent.
  test::keyboard::press(Qt::Key_F5);
  test::keyboard::type("/..");
  test::keyboard::press(Qt::Key_Return);
  EXPECT_EQ(w.settings().DirPath, dir);
  EXPECT_TRUE(w.dialogs.shown.empty());
  // The ".." row (selected after the refresh) then leads up, not back down.
  ASSERT_EQ(w.list()->selectedRow(), 0);
  test::keyboard::press(Qt::Key_Return);
  EXPECT_EQ(w.settings().DirPath, platform::parentFolder(dir));
}

TEST(FolderWindow, ShiftF5FillsThePromptFromTheBrowserAndTheCurrentFolderWhenCancelled) {
  test::FileOpsWindow w;
  w.open();
  const std::string dir = w.settings().DirPath;
  w.browser.answer = "/usr";
  test::keyboard::press(Qt::Key_F5, Qt::ShiftModifier);
  EXPECT_EQ(w.browser.captions.back(), "現ﾃﾞｨﾚｸﾄﾘ " + dir);
  EXPECT_EQ(w.browser.starts.back(), dir);
  EXPECT_EQ(w.prompt()->text(), "/usr");
  EXPECT_EQ(w.settings().DirPath, dir); // confirmed with Enter only
  test::keyboard::press(Qt::Key_Return);
  EXPECT_EQ(w.settings().DirPath, "/usr");

  w.browser.answer.reset();
  test::keyboard::press(Qt::Key_F5, Qt::ShiftModifier);
  EXPECT_EQ(w.prompt()->text(), "/usr");
  test::keyboard::press(Qt::Key_Escape);
  EXPECT_EQ(w.message(), "操作中止!!");
}

TEST(FolderWindow, LListsRootAndHomeByKindAndChoosingOneMakesItTheDataFolder) {
  test::FileOpsWindow w;
  w.open();
  std::vector<std::string> texts;
  test::whenShown<QMenu>(w.form, [&](QMenu* menu) {
    for (QAction* a : menu->actions())
      texts.push_back(a->text().toStdString());
    menu->actions().at(1)->trigger();
    menu->close();
  });
  test::keyboard::press(Qt::Key_L);
  ASSERT_GE(texts.size(), 2u);
  EXPECT_EQ(texts[0].substr(0, 6), "&1 / (");
  const std::string home = QDir::homePath().toStdString();
  EXPECT_EQ(texts[1].substr(0, 4 + home.size()), "&2 " + home + " ");
  EXPECT_NE(texts[1].find("ﾃﾞｨｽｸ)"), std::string::npos);
  EXPECT_EQ(w.settings().DirPath, home);
  EXPECT_EQ(w.form->fileList().folder(), home);
  EXPECT_FALSE(w.ops().folders().menu()->actions().at(0)->icon().isNull());
}
