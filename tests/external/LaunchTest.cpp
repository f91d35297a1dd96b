// The launch rules of Alt+letter and X, with nothing started: what the
// argument box is filled with, what OK starts and with which arguments.
// Program paths are checked by a finder that knows the programs of an
// imagined machine; findProgram itself is tested on real files at the end.
#include "external/Launch.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <sys/stat.h>

using namespace kestrovan;
using external::Launch;
using external::LetterDecision;
using Args = std::vector<std::string>;

namespace {

std::string onThisMachine(const std::string& path) {
  static const std::set<std::string> programs{"/opt/edit/edit", "/opt/tool/conv"};
  return programs.count(path) ? path : std::string();
}

const external::SelectedFile kO1234{"/home/op/NC", "O1234.NC"};

external::CommandEntry entry(std::string application, std::string flag) {
  return {std::move(application), std::move(flag), "ｴﾃﾞｨﾀ"};
}

LetterDecision decide(const external::CommandEntry& e,
                      const std::optional<external::SelectedFile>& file = kO1234) {
  return external::decideLetterStart(e, file, onThisMachine);
}

Launch ok(std::string_view application, std::string_view argument) {
  return external::launchOnOk(application, argument, onThisMachine);
}

} // namespace

TEST(Launch, FullPathPlaceholderFillsTheBoxAndOkStartsTheProgramWithItAsOneArgument) {
  const LetterDecision d = decide(entry("/opt/edit/edit $A", "Y"));
  ASSERT_EQ(d.step, LetterDecision::Step::AskArgument);
  EXPECT_EQ(d.initialArgument, "/home/op/NC/O1234.NC");
  const Launch l = ok("/opt/edit/edit $A", d.initialArgument);
  EXPECT_EQ(l.how, Launch::How::Start);
  EXPECT_EQ(l.target, "/opt/edit/edit");
  EXPECT_EQ(l.arguments, Args{"/home/op/NC/O1234.NC"});
}

TEST(Launch, EachPlaceholderFillsTheBoxWithItsPartOfTheFileAndTheLastOneWins) {
  EXPECT_EQ(decide(entry("/opt/tool/conv $B", "Y")).initialArgument, "/home/op/NC/O1234");
  EXPECT_EQ(decide(entry("/opt/tool/conv $C", "Y")).initialArgument, "O1234.NC");
  EXPECT_EQ(decide(entry("/opt/tool/conv $D.TXT", "Y")).initialArgument, "O1234");
  // $D is looked at last, whatever the order in the template.
  EXPECT_EQ(decide(entry("/opt/tool/conv $D $A", "Y")).initialArgument, "O1234");
  EXPECT_EQ(decide(entry("/opt/tool/conv -x", "Y")).initialArgument, "");
  // An extension is the name's, never a folder's; a leading dot is none.
  EXPECT_EQ(external::initialArgument("/opt/tool/conv $B", {"/home/op/v1.2", "README"}),
            "/home/op/v1.2/README");
  EXPECT_EQ(external::initialArgument("/opt/tool/conv $D", {"/home/op", ".NC"}), ".NC");
  EXPECT_EQ(external::initialArgument("/opt/tool/conv $A", {"/", "O1.NC"}), "/O1.NC");
}

TEST(Launch, TheArgumentTakesThePlaceOfEveryPlaceholderOfTheTemplate) {
  EXPECT_EQ(ok("/opt/tool/conv $D.TXT", "O1234").arguments, Args{"O1234.TXT"});
  EXPECT_EQ(ok("/opt/tool/conv -i $A -o $B.bak", "/home/op/NC/O1234").arguments,
            (Args{"-i", "/home/op/NC/O1234", "-o", "/home/op/NC/O1234.bak"}));
  EXPECT_EQ(ok("/opt/tool/conv $C=$D", "X").arguments, Args{"X=X"});
  // No placeholder: the template goes as it is; the argument only says "start".
  EXPECT_EQ(ok("/opt/tool/conv  -v   -q ", "anything").arguments, (Args{"-v", "-q"}));
  // "$E" and a lone "$" are no placeholders.
  EXPECT_EQ(ok("/opt/tool/conv $E $ $a", "X").arguments, (Args{"$E", "$", "$a"}));
}

// Without a shell, nothing in a file name is read: blanks, quotes, ";", "$",
// a placeholder's own spelling all reach the program in the one argument.
TEST(Launch, AFileNameWithBlanksQuotesAndSemicolonsIsOneArgumentUnchanged) {
  const external::SelectedFile odd{"/home/op/NC 2", "O 1\"2';3 $B `x`.NC"};
  const LetterDecision d = decide(entry("/opt/edit/edit $A", "Y"), odd);
  EXPECT_EQ(d.initialArgument, "/home/op/NC 2/O 1\"2';3 $B `x`.NC");
  EXPECT_EQ(ok("/opt/edit/edit $A", d.initialArgument).arguments, Args{d.initialArgument});
  // A template written for a shell with the placeholder in quotes gives the same.
  EXPECT_EQ(ok("/opt/edit/edit \"$A\"", d.initialArgument).arguments, Args{d.initialArgument});
  EXPECT_EQ(ok("/opt/edit/edit \"--title=My NC\" \"\" $C", "a b").arguments,
            (Args{"--title=My NC", "", "a b"}));
}

TEST(Launch, WithoutArgumentsOrWithTheBoxClearedTheProgramStartsAlone) {
  const LetterDecision d = decide(entry("/opt/edit/edit $A", "N"));
  ASSERT_EQ(d.step, LetterDecision::Step::Start);
  EXPECT_EQ(d.launch.how, Launch::How::Start);
  EXPECT_EQ(d.launch.target, "/opt/edit/edit");
  EXPECT_TRUE(d.launch.arguments.empty());
  // Any flag but "Y" is no.
  EXPECT_EQ(decide(entry("/opt/edit/edit $A", "y")).step, LetterDecision::Step::Start);

  const Launch cleared = ok("/opt/edit/edit $A", "");
  EXPECT_EQ(cleared.how, Launch::How::Start);
  EXPECT_EQ(cleared.target, "/opt/edit/edit");
  EXPECT_TRUE(cleared.arguments.empty());
  // An application without a blank has no template: the program alone.
  const Launch bare = ok("/opt/edit/edit", "O1234");
  EXPECT_EQ(bare.target, "/opt/edit/edit");
  EXPECT_TRUE(bare.arguments.empty());
}

TEST(Launch, NothingStartsWithoutAFileOrWithoutAProgram) {
  EXPECT_EQ(decide(entry("/opt/edit/edit $A", "Y"), std::nullopt).step, LetterDecision::Step::SelectAFile);
  // The program path ends at the first blank: "/opt/my tools/edit" is "/opt/my",
  // which is no program, so nothing starts.
  EXPECT_EQ(external::programPath("/opt/my tools/edit $A"), "/opt/my");
  EXPECT_EQ(decide(entry("/opt/my tools/edit $A", "Y")).step, LetterDecision::Step::NoProgram);
  EXPECT_EQ(ok("/opt/my tools/edit $A", "/home/op/NC/O1234.NC").how, Launch::How::Nothing);
  EXPECT_EQ(decide(entry("", "Y")).step, LetterDecision::Step::NoProgram);
  EXPECT_EQ(decide(entry("/opt/edit/edit$A", "Y")).step, LetterDecision::Step::NoProgram);
  EXPECT_EQ(decide(entry(" /opt/edit/edit $A", "N")).step, LetterDecision::Step::NoProgram);
  // A placeholder in the program part is replaced before the program is looked for.
  EXPECT_EQ(ok("/opt/edit/$C $A", "missing").how, Launch::How::Nothing);
  EXPECT_EQ(ok("/opt/edit/e$D", "dit").target, "/opt/edit/edit");
}

TEST(Launch, XOpensTheSelectedFileWithTheDesktopsOpener) {
  const Launch l = external::openWithAssociation({"/home/op/NC", "O1234.NC"});
  EXPECT_EQ(l.how, Launch::How::Open);
  EXPECT_EQ(l.target, "/home/op/NC/O1234.NC");
  EXPECT_TRUE(l.arguments.empty());
}

TEST(Launch, CarryingOutGoesToTheLauncherOnceAndNothingForNothing) {
  struct Calls : external::Launcher {
    std::vector<std::string> log;
    bool start(const std::string& program, const Args& arguments) override {
      log.push_back("start " + program + " " + std::to_string(arguments.size()));
      return true;
    }
    bool open(const std::string& path) override {
      log.push_back("open " + path);
      return true;
    }
  } calls;
  EXPECT_FALSE(external::carryOut({}, calls));
  EXPECT_TRUE(external::carryOut({Launch::How::Start, "/opt/edit/edit", {"a", "b"}}, calls));
  EXPECT_TRUE(external::carryOut({Launch::How::Open, "/home/op/NC/O1.NC", {}}, calls));
  EXPECT_EQ(calls.log, (std::vector<std::string>{"start /opt/edit/edit 2", "open /home/op/NC/O1.NC"}));
}

// Real files: only an executable regular file is a program; a bare name is
// looked for in PATH, never in the working folder.
TEST(Launch, FindProgramTakesExecutableFilesAndLooksBareNamesUpInPath) {
  test::TempDir dir;
  const std::string tool = dir.file("tool");
  const std::string text = dir.file("notes");
  test::writeFile(tool, "#!/bin/sh\n");
  test::writeFile(text, "#!/bin/sh\n");
  chmod(tool.c_str(), 0755);
  chmod(text.c_str(), 0644);
  EXPECT_EQ(external::findProgram(tool), tool);
  EXPECT_EQ(external::findProgram(text), "") << "no execute bit";
  EXPECT_EQ(external::findProgram(dir.path()), "") << "a folder";
  EXPECT_EQ(external::findProgram(dir.file("missing")), "");
  EXPECT_EQ(external::findProgram(""), "");
  EXPECT_EQ(external::findProgram("./tool"), "") << "relative to the working folder";

  const char* saved = std::getenv("PATH");
  const std::string before = saved ? saved : "";
  setenv("PATH", (".::" + dir.path()).c_str(), 1);
  EXPECT_EQ(external::findProgram("tool"), tool);
  EXPECT_EQ(external::findProgram("notes"), "");
  setenv("PATH", before.c_str(), 1);
}

// A file bound to a letter that is no program (a set-up sheet, a drawing) is
// opened with the desktop's opener, as X opens the selected file; a program
// still starts itself. Real files.
TEST(Launch, AnExistingFileThatIsNoProgramIsOpenedWithTheDesktopsOpener) {
  test::TempDir dir;
  const std::string sheet = dir.file("SHEET.TXT");
  const std::string tool = dir.file("tool");
  test::writeFile(sheet, "clamp left\n");
  test::writeFile(tool, "#!/bin/sh\n");
  chmod(sheet.c_str(), 0644);
  chmod(tool.c_str(), 0755);

  const LetterDecision alone = external::decideLetterStart(entry(sheet, "N"), kO1234);
  EXPECT_EQ(alone.step, LetterDecision::Step::Start);
  EXPECT_EQ(alone.launch.how, Launch::How::Open);
  EXPECT_EQ(alone.launch.target, sheet);
  const LetterDecision program = external::decideLetterStart(entry(tool, "N"), kO1234);
  EXPECT_EQ(program.launch.how, Launch::How::Start);
  EXPECT_EQ(program.launch.target, tool);

  // With arguments: the box is asked for; OK with the box cleared opens the
  // file, while a file that is no program cannot take an argument.
  const LetterDecision asked = external::decideLetterStart(entry(sheet + " $A", "Y"), kO1234);
  EXPECT_EQ(asked.step, LetterDecision::Step::AskArgument);
  const Launch cleared = external::launchOnOk(sheet + " $A", "");
  EXPECT_EQ(cleared.how, Launch::How::Open);
  EXPECT_EQ(cleared.target, sheet);
  EXPECT_EQ(external::launchOnOk(sheet + " $A", "/home/op/NC/O1234.NC").how, Launch::How::Nothing);

  // Still nothing for a folder, a missing file, or a path relative to the working folder.
  EXPECT_EQ(external::decideLetterStart(entry(dir.path(), "N"), kO1234).step,
            LetterDecision::Step::NoProgram);
  EXPECT_EQ(external::decideLetterStart(entry(dir.file("missing"), "N"), kO1234).step,
            LetterDecision::Step::NoProgram);
  EXPECT_EQ(external::decideLetterStart(entry("./SHEET.TXT", "N"), kO1234).step,
            LetterDecision::Step::NoProgram);
}
