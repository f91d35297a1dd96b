// The join of files into one, on real files.

#include "nctools/JoinFiles.h"
#include "nctools/OutputNames.h"
#include "nctools/SplitPrograms.h"

#include "ToolFixture.h"

#include <gtest/gtest.h>

using namespace kestrovan;
using nctools::JoinEnd;

namespace {

struct JoinTest : ::testing::Test {
  test::TempDir dir;
  nctools::DiskOutputFiles disk;
  std::vector<std::size_t> joining;

  std::vector<std::string> paths(std::initializer_list<const char*> names) const {
    std::vector<std::string> p;
    for (const char* n : names)
      p.push_back(dir.file(n));
    return p;
  }
  nctools::JoinResult join(const std::vector<std::string>& inputs, const std::string& output) {
    return nctools::joinFiles(
        inputs, output, disk, [](const std::string& p) { return nctools::loadedInput(test::readFile(p)); },
        [this](std::size_t i) { joining.push_back(i); });
  }
  void expectSplitJoinedGivesBackTheProgramLines(const std::string& source,
                                                 std::initializer_list<const char*> parts) {
    ASSERT_EQ(nctools::splitPrograms(source, {dir.path(), ".NC", {}, {}}, disk).end, nctools::SplitEnd::Done);
    ASSERT_EQ(join(paths(parts), dir.file("ALL.NC")).end, JoinEnd::Done);
    std::string programLines;
    for (std::size_t at = 0, end; (end = source.find("\r\n", at)) != std::string::npos; at = end + 2)
      if (source[at] != '%') programLines += source.substr(at, end - at + 2);
    EXPECT_EQ(test::readFile(dir.file("ALL.NC")), programLines);
  }
};

} // namespace

TEST_F(JoinTest, FilesOneAfterTheOtherEachLineEndedByCrLf) {
  test::writeFile(dir.file("A.NC"), "O1\r\nM30\r\n");
  test::writeFile(dir.file("B.NC"), "O2\nM30"); // LF and no last line end
  test::writeFile(dir.file("EMPTY.NC"), "");
  test::writeFile(dir.file("C.NC"), "O3\r\n");
  EXPECT_EQ(join(paths({"A.NC", "B.NC", "EMPTY.NC", "C.NC"}), dir.file("ABC.NC")).end, JoinEnd::Done);
  EXPECT_EQ(test::readFile(dir.file("ABC.NC")), "O1\r\nM30\r\nO2\r\nM30\r\nO3\r\n");
  EXPECT_EQ(joining, (std::vector<std::size_t>{0, 1, 2, 3}));
}

TEST_F(JoinTest, TheNameAndItsExtension) {
  EXPECT_EQ(nctools::joinFileName("ABC", ".NC"), "ABC.NC");
  EXPECT_EQ(nctools::joinFileName("ABC.NC", ".NC"), "ABC.NC");
  EXPECT_EQ(nctools::joinFileName("ABC", ""), "ABC"); // "*.*"
}

TEST_F(JoinTest, TheOutputIsNeverOneOfTheInputsWhateverItIsCalled) {
  test::writeFile(dir.file("A.NC"), "O1\r\n");
  test::writeFile(dir.file("B.NC"), "O2\r\n");
  const std::vector<std::string> inputs = paths({"A.NC", "B.NC"});
  EXPECT_TRUE(nctools::outputIsAnInput(dir.file("A.NC"), inputs));
  std::filesystem::create_symlink(dir.file("B.NC"), dir.file("LINK.NC"));
  EXPECT_TRUE(nctools::outputIsAnInput(dir.file("LINK.NC"), inputs));
  std::filesystem::create_hard_link(dir.file("A.NC"), dir.file("HARD.NC")); // as a.NC is A.NC on a FAT stick
  EXPECT_TRUE(nctools::outputIsAnInput(dir.file("HARD.NC"), inputs));
  EXPECT_FALSE(nctools::outputIsAnInput(dir.file("NEW.NC"), inputs));
}

TEST_F(JoinTest, ASplitJoinedAgainGivesBackTheProgramLines) {
  expectSplitJoinedGivesBackTheProgramLines(test::written::shiftJisPrograms(),
                                            {"O2001.NC", "O2002.NC", "O2003.NC"});
}

TEST_F(JoinTest, TheShiftJisSampleSplitAndJoinedAgainGivesBackItsProgramLines) {
  KESTROVAN_NEEDS_SAMPLES("MULTI_PROGRAM_SJIS_O1001_O1003.NC");
  expectSplitJoinedGivesBackTheProgramLines(
      test::readFile(test::samplePath("MULTI_PROGRAM_SJIS_O1001_O1003.NC")),
      {"O1001.NC", "O1002.NC", "O1003.NC"});
}

TEST_F(JoinTest, AFullDiskKeepsTheOlderFileAndLeavesNoPart) {
  test::writeFile(dir.file("A.NC"), std::string(5000, 'X') + "\r\n");
  test::writeFile(dir.file("OUT.NC"), "older\r\n");
  test::FillingDisk full(100);
  nctools::JoinResult r =
      nctools::joinFiles(paths({"A.NC"}), dir.file("OUT.NC"), full,
                         [](const std::string& p) { return nctools::loadedInput(test::readFile(p)); });
  EXPECT_EQ(r.end, JoinEnd::CannotWrite);
  EXPECT_EQ(r.error, ENOSPC);
  EXPECT_EQ(test::readFile(dir.file("OUT.NC")), "older\r\n");
  EXPECT_EQ(test::namesIn(dir.path()), (std::vector<std::string>{"A.NC", "OUT.NC"}));

  EXPECT_EQ(join(paths({"A.NC"}), dir.file("NOFOLDER") + "/OUT.NC").end, JoinEnd::CannotCreate);
}

TEST_F(JoinTest, AStoppedJoinWritesNothing) {
  test::writeFile(dir.file("A.NC"), "O1\r\n");
  test::writeFile(dir.file("B.NC"), "O2\r\n");
  test::writeFile(dir.file("AB.NC"), "older\r\n");
  const nctools::JoinResult r = nctools::joinFiles(
      paths({"A.NC", "B.NC"}), dir.file("AB.NC"), disk,
      [](const std::string& p) { return nctools::loadedInput(test::readFile(p)); }, {}, [] { return true; });
  EXPECT_EQ(r.end, JoinEnd::Stopped);
  EXPECT_EQ(test::readFile(dir.file("AB.NC")), "older\r\n");
  EXPECT_EQ(test::namesIn(dir.path()), (std::vector<std::string>{"A.NC", "AB.NC", "B.NC"}));
}

TEST_F(JoinTest, AnInputTheOperatorWouldNotGoOnWithWritesNothing) {
  test::writeFile(dir.file("A.NC"), "O1\r\n");
  test::writeFile(dir.file("B.NC"), "O2\r\n");
  test::writeFile(dir.file("AB.NC"), "older\r\n");
  const nctools::JoinResult r =
      nctools::joinFiles(paths({"A.NC", "B.NC"}), dir.file("AB.NC"), disk, [this](const std::string& p) {
        if (p == dir.file("B.NC")) return nctools::ToolInput{nctools::ToolInputEnd::Declined, {}};
        return nctools::loadedInput(test::readFile(p));
      });
  EXPECT_EQ(r.end, JoinEnd::Declined);
  EXPECT_EQ(r.failedInput, 1u);
  EXPECT_EQ(test::readFile(dir.file("AB.NC")), "older\r\n");
  EXPECT_EQ(test::namesIn(dir.path()), (std::vector<std::string>{"A.NC", "AB.NC", "B.NC"}));
}
