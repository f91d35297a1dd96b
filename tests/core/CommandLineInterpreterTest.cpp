#include "core/CommandLineInterpreter.h"
#include "base/SettingsRecord.h"
#include "core/AppState.h"
#include "support/FakeDialogs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kestrovan;

namespace {

struct Interpreter {
  test::TempDir data;
  base::SettingsRecord settings = base::defaultSettings("/home/op");
  base::RunState run;
  test::FakeDialogs dialogs;
  core::RealItemFileSystem fs;

  Interpreter() { settings.DirPath = data.path(); }
  void operator()(std::initializer_list<const char*> items) {
    for (const char* item : items)
      core::interpretItem(item, settings, run, dialogs, fs);
  }
};

} // namespace

TEST(CommandLineItems, SendWithPortLineSettingsAndEnd) {
  Interpreter in;
  test::writeFile(in.data.file("O1234.NC"), "%\r\nO1234\r\nM30\r\n%\r\n");
  in({"S=O1234.NC", "COM2", "9600,7,E,2", "END"});
  EXPECT_EQ(in.run.PendingSend, "Y");
  EXPECT_EQ(in.run.sendFileName, "O1234.NC");
  EXPECT_EQ(in.settings.DirPath, in.data.path());
  EXPECT_EQ(in.settings.Mask, "*.NC");
  EXPECT_EQ(in.settings.Port, "COM2");
  EXPECT_EQ(in.settings.Speed, "9600,7,E,2");
  EXPECT_TRUE(in.run.ExitAfterTransfer);
  EXPECT_TRUE(in.dialogs.shown.empty());
}

TEST(CommandLineItems, SendMarkerInAnyCaseAndAFullPathSetsFolderAndMask) {
  Interpreter in;
  test::writeFile(in.data.file("O1.TAP"), "%\r\n");
  const std::string item = "s=" + in.data.file("O1.TAP");
  core::interpretItem(item, in.settings, in.run, in.dialogs, in.fs);
  EXPECT_EQ(in.run.PendingSend, "Y");
  EXPECT_EQ(in.settings.DirPath, in.data.path());
  EXPECT_EQ(in.settings.Mask, "*.TAP");
}

TEST(CommandLineItems, AMissingSendFileIsReportedAndNothingIsSent) {
  Interpreter in;
  in({"S=NONE.NC"});
  EXPECT_EQ(in.run.PendingSend, "N");
  ASSERT_EQ(in.dialogs.shown.size(), 1u);
  EXPECT_EQ(in.dialogs.shown[0].text, "送信データ\n" + in.data.file("NONE.NC") + "が見つかりません。");
}

TEST(CommandLineItems, ReceiveIntoANewFileOrOverAnAnsweredOne) {
  Interpreter in;
  const std::string target = in.data.file("x/NEW.NC");
  core::interpretItem("R=" + target, in.settings, in.run, in.dialogs, in.fs);
  EXPECT_EQ(in.run.PendingReceive, "Y");
  EXPECT_EQ(in.run.receivePath, target);
  EXPECT_EQ(in.settings.DirPath, in.data.file("x"));
  EXPECT_EQ(in.settings.Mask, "*.NC");
  EXPECT_TRUE(in.dialogs.shown.empty());

  in.settings.DirPath = in.data.path();
  test::writeFile(in.data.file("OLD.NC"), "%\r\n");
  in.dialogs.answers = {base::MessageAnswer::No};
  in({"r=OLD.NC"});
  EXPECT_EQ(in.run.PendingReceive, "N");
  ASSERT_EQ(in.dialogs.shown.size(), 1u);
  EXPECT_EQ(in.dialogs.shown[0].text, "すでに" + in.data.file("OLD.NC") + "が有ります。\n上書きしますか？");
  in.dialogs.answers = {base::MessageAnswer::Yes};
  in({"R=OLD.NC"});
  EXPECT_EQ(in.run.PendingReceive, "Y");
}

TEST(CommandLineItems, PortsMasksAndEndFollowTheirExactForms) {
  Interpreter in;
  in({"com3"});
  EXPECT_EQ(in.settings.Port, "COM1"); // the port test wants upper-case COM
  in({"COM12/"});
  EXPECT_EQ(in.settings.Port, "COM1"); // longer than five characters
  in({"COM2/"});
  EXPECT_EQ(in.settings.Port, "COM2");
  in({"COM12"});
  EXPECT_EQ(in.settings.Port, "COM12");
  in({"*.tap"});
  EXPECT_EQ(in.settings.Mask, "*.TAP");
  in({"4800,8,n,2"});
  EXPECT_EQ(in.settings.Speed, "4800,8,N,2");
  in({"ENDX"});
  EXPECT_TRUE(in.run.ExitAfterTransfer);
  Interpreter other;
  other({"THE_END", "whatever"});
  EXPECT_FALSE(other.run.ExitAfterTransfer);
  EXPECT_EQ(other.settings.DirPath, other.data.path());
}

TEST(CommandLineItems, FoldersAndFilesByAbsolutePath) {
  Interpreter in;
  test::TempDir work;
  test::writeFile(work.file("A.NC"), "%\r\nO0001\r\n%\r\n");
  in({work.file("A.NC").c_str()});
  EXPECT_EQ(test::readFile(in.data.file("A.NC")), "%\r\nO0001\r\n%\r\n");
  EXPECT_EQ(in.settings.Mask, "*.NC");
  EXPECT_EQ(in.settings.DirPath, in.data.path());

  in({(work.path() + "/").c_str()});
  EXPECT_EQ(in.settings.DirPath, work.path());
  in({work.file("NONE").c_str()}); // nothing there: a folder to offer for creation
  EXPECT_EQ(in.settings.DirPath, work.file("NONE"));
}

// A file brought in never silently replaces a different file of its name in
// the data folder: the overwrite question decides; the same bytes are no
// question, and neither is the data folder's own file.
TEST(CommandLineItems, AFileBroughtInOverADifferentOneAsksFirst) {
  Interpreter in;
  test::TempDir work;
  const std::string shop = "%\r\nO0001(SHOP)\r\n%\r\n", desktop = "%\r\nO0001(DESKTOP)\r\n%\r\n";
  test::writeFile(in.data.file("A.NC"), shop);
  test::writeFile(work.file("A.NC"), desktop);
  const std::string question = "すでに" + in.data.file("A.NC") + "が有ります。\n上書きしますか？";

  in.dialogs.answers = {base::MessageAnswer::No};
  in({work.file("A.NC").c_str()});
  ASSERT_EQ(in.dialogs.shown.size(), 1u);
  EXPECT_EQ(in.dialogs.shown[0].text, question);
  EXPECT_EQ(in.dialogs.shown[0].title, "警告");
  EXPECT_EQ(in.dialogs.shown[0].buttons, base::MessageButtons::YesNo);
  EXPECT_EQ(test::readFile(in.data.file("A.NC")), shop);
  EXPECT_EQ(in.settings.Mask, "*.NC");

  in.dialogs.answers = {base::MessageAnswer::Yes};
  in({work.file("A.NC").c_str()});
  ASSERT_EQ(in.dialogs.shown.size(), 2u);
  EXPECT_EQ(test::readFile(in.data.file("A.NC")), desktop);

  // Now the same bytes: nothing to ask.
  in({work.file("A.NC").c_str()});
  EXPECT_EQ(in.dialogs.shown.size(), 2u);
  EXPECT_EQ(test::readFile(in.data.file("A.NC")), desktop);

  // The data folder's own file, named by its path.
  in({in.data.file("A.NC").c_str()});
  EXPECT_EQ(in.dialogs.shown.size(), 2u);
  EXPECT_EQ(test::readFile(in.data.file("A.NC")), desktop);
}

TEST(CommandLineItems, LaterItemsOverrideEarlierOnes) {
  Interpreter in;
  test::TempDir other;
  test::writeFile(in.data.file("O1.NC"), "%\r\n");
  in({"S=O1.NC", other.path().c_str()});
  EXPECT_EQ(in.run.PendingSend, "Y");
  EXPECT_EQ(in.settings.DirPath, other.path()); // the send now reads from here
}

TEST(CommandLineItems, TheSlashOfTheSlashFormIsNoPartOfASendOrReceivePath) {
  Interpreter in;
  test::writeFile(in.data.file("O1234.NC"), "%\r\n");
  in({"S=O1234.NC/"});
  EXPECT_EQ(in.run.PendingSend, "Y");
  EXPECT_EQ(in.run.sendFileName, "O1234.NC");
  EXPECT_EQ(in.settings.DirPath, in.data.path());
  EXPECT_EQ(in.settings.Mask, "*.NC");
  in({"/S=O1234.NC"});
  EXPECT_EQ(in.run.PendingSend, "Y");
  EXPECT_EQ(in.settings.DirPath, in.data.path());
  EXPECT_TRUE(in.dialogs.shown.empty());

  in({"R=NEW.NC/"});
  EXPECT_EQ(in.run.PendingReceive, "Y");
  EXPECT_EQ(in.run.receivePath, in.data.file("NEW.NC"));
  EXPECT_EQ(in.settings.DirPath, in.data.path());
  EXPECT_EQ(in.settings.Mask, "*.NC");
  const std::string full = "R=" + in.data.file("FULL.NC") + "/";
  core::interpretItem(full, in.settings, in.run, in.dialogs, in.fs);
  EXPECT_EQ(in.run.receivePath, in.data.file("FULL.NC"));
  EXPECT_TRUE(in.dialogs.shown.empty());
}

TEST(CommandLineItems, ASlashItemThatNamesNoExistingPathIsReadByTheOtherRulesFirst) {
  Interpreter in;
  test::writeFile(in.data.file("O1234.NC"), "%\r\n");
  in({"S=O1234.NC", "/COM2", "/9600,7,E,2", "/*.TAP", "/END"});
  EXPECT_EQ(in.settings.Port, "COM2");
  EXPECT_EQ(in.settings.Speed, "9600,7,E,2");
  EXPECT_EQ(in.settings.Mask, "*.TAP");
  EXPECT_TRUE(in.run.ExitAfterTransfer);
  EXPECT_EQ(in.settings.DirPath, in.data.path()); // the send still reads from here
  EXPECT_EQ(in.run.PendingSend, "Y");
}

TEST(CommandLineItems, ARelativePathIsReadAgainstTheWorkingFolder) {
  Interpreter in;
  const std::string here = std::filesystem::current_path().string();
  in({"R=sub/REL.NC"});
  EXPECT_EQ(in.run.receivePath, here + "/sub/REL.NC");
  EXPECT_EQ(in.settings.DirPath, here + "/sub");
  EXPECT_EQ(in.run.PendingReceive, "Y");

  in({"S=./none/O1.NC"});
  EXPECT_EQ(in.settings.DirPath, here + "/none");
  EXPECT_EQ(in.run.sendFileName, "O1.NC");
  ASSERT_EQ(in.dialogs.shown.size(), 1u);
  EXPECT_EQ(in.dialogs.shown[0].text, "送信データ\n" + here + "/none/O1.NC" + "が見つかりません。");

  in.settings.DirPath = in.data.path();
  in({"R=BARE.NC"}); // a bare name still comes from the data folder
  EXPECT_EQ(in.run.receivePath, in.data.file("BARE.NC"));
}

TEST(CommandLineItems, TheMaskTakesTheExtensionFromTheLastDot) {
  Interpreter in;
  in({"R=.NC"});
  EXPECT_EQ(in.settings.Mask, "*.NC");
  in({"R=O1.TAP.NC"});
  EXPECT_EQ(in.settings.Mask, "*.NC");
  in({"R=O1"});
  EXPECT_EQ(in.settings.Mask, "*");
}
