// The copy prompt (F4 on a file row) on the real main window, driven by keys.

#include "FileOpsWindow.h"
#include "editor/PipeUnblocker.h"
#include "platform/DirectoryEnum.h"

using namespace kestrovan;
using base::MessageAnswer;
using test::readFile;
using test::writeFile;

namespace {

// F4 on the file, the name typed, Enter.
void copyOnThePrompt(test::FileOpsWindow& w, const std::string& file, const std::string& typed) {
  w.select(file);
  test::keyboard::press(Qt::Key_F4);
  ASSERT_TRUE(w.prompt()->hasFocus()) << test::keyboard::focusName();
  EXPECT_EQ(w.message(), "コピー元 " + file + " -->>>コピー後 ");
  test::keyboard::type(typed);
  test::keyboard::press(Qt::Key_Return);
}

} // namespace

TEST(PromptCopyWindow, AnExistingTargetIsReplacedOnlyWhenTheOverwriteQuestionSaysYes) {
  test::FileOpsWindow w;
  writeFile(w.data.file("O1.NC"), "one");
  writeFile(w.data.file("MASTER.NC"), "master");
  w.open();
  copyOnThePrompt(w, "O1.NC", "MASTER.NC"); // answered No
  ASSERT_EQ(w.dialogs.shown.size(), 1u);
  EXPECT_EQ(w.dialogs.shown[0].title, "ファイルの上書きの確認");
  EXPECT_EQ(w.dialogs.shown[0].text, w.data.file("MASTER.NC") + " は既にあります。\n置き換えますか？");
  EXPECT_EQ(readFile(w.data.file("MASTER.NC")), "master");
  EXPECT_NE(w.message(), "ファイルコピー完了");
  EXPECT_TRUE(w.list()->hasFocus());

  w.dialogs.answers = {MessageAnswer::Yes};
  copyOnThePrompt(w, "O1.NC", "MASTER.NC");
  EXPECT_EQ(w.dialogs.shown.size(), 2u);
  EXPECT_EQ(readFile(w.data.file("MASTER.NC")), "one");
  EXPECT_EQ(w.message(), "ファイルコピー完了");

  // A new name is not asked about.
  copyOnThePrompt(w, "O1.NC", "O2.NC");
  EXPECT_EQ(w.dialogs.shown.size(), 2u);
  EXPECT_EQ(readFile(w.data.file("O2.NC")), "one");
}

TEST(PromptCopyWindow, AFailedCopyLeavesNoPromptTextOnTheMessageLine) {
  test::FileOpsWindow w;
  writeFile(w.data.file("O1.NC"), "one");
  mkdir(w.data.file("SUB").c_str(), 0755);
  w.open();
  copyOnThePrompt(w, "O1.NC", "SUB");
  ASSERT_EQ(w.dialogs.shown.size(), 1u);
  EXPECT_EQ(w.dialogs.shown[0].text, w.data.file("SUB") + " は同じ名前のフォルダーです。");
  EXPECT_TRUE(w.list()->hasFocus());
  // Back to idle as after any operation, with no key pressed.
  EXPECT_TRUE(QTest::qWaitFor([&] { return w.message().empty(); }, 3000)) << w.message();
}

TEST(PromptCopyWindow, ANamedPipeIsRefusedWithoutBeingOpened) {
  test::FileOpsWindow w;
  test::PipeUnblocker pipe(w.data.file("P.NC"));
  ASSERT_TRUE(pipe.made());
  w.open();
  ASSERT_NE(w.rowOf("P.NC"), -1);
  copyOnThePrompt(w, "P.NC", "COPY.NC");
  EXPECT_FALSE(pipe.blocked()) << "the window waited in open() on the pipe";
  ASSERT_EQ(w.dialogs.shown.size(), 1u);
  EXPECT_EQ(w.dialogs.shown[0].text, w.data.file("P.NC") + " はコピーできない種類のファイルです。");
  EXPECT_FALSE(test::fileExists(w.data.file("COPY.NC")));
  EXPECT_TRUE(w.list()->isEnabled());
  EXPECT_TRUE(w.list()->hasFocus());
}
