// Requests punched at the controller, the program files that answer them,
// and older files kept under old/.

#include "dnc/RemoteRequest.h"
#include "dnc/OlderFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kestrovan;
using dnc::RequestedProgram;

namespace {

std::vector<std::string> labels(std::string_view request) {
  std::vector<std::string> out;
  for (const RequestedProgram& p : dnc::requestedPrograms(request))
    out.push_back(p.label + "=" + std::to_string(p.number));
  return out;
}

TEST(RemoteRequestTest, CommentsNameTheProgramsInOrderEachOnce) {
  using V = std::vector<std::string>;
  EXPECT_EQ(labels("O9999 (O1234)\r\nM30\r\n"), V{"O1234=1234"});
  EXPECT_EQ(labels("O9999 (LOAD O1234)\r\n"), V{"O1234=1234"});
  EXPECT_EQ(labels("O9999 (O1234 O1235)\r\n(O0012)\r\nM30\r\n"), (V{"O1234=1234", "O1235=1235", "O0012=12"}));
  EXPECT_EQ(labels("O9999 (O1234,O1234)\r\n"), V{"O1234=1234"});
  // Outside a comment, inside a word, or a comment the line end closed.
  EXPECT_EQ(labels("O9999\r\nM98 P1234 O5555\r\n"), V{});
  EXPECT_EQ(labels("O9999 (PO1234 O12A NOT FOUND)\r\n"), V{});
  EXPECT_EQ(labels("O9999 (LOAD\r\nO1234)\r\n"), V{});
}

TEST(RemoteRequestTest, FirstProgramNumberIsTheFirstHeader) {
  EXPECT_EQ(dnc::firstProgramNumber("%\r\nO9999 (O1234)\r\n"), 9999);
  EXPECT_EQ(dnc::firstProgramNumber("\r\n  :0123\r\n"), 123);
  EXPECT_EQ(dnc::firstProgramNumber("G00 X0\r\nO1234\r\n"), std::nullopt);
  EXPECT_EQ(dnc::firstProgramNumber("%\r\n"), std::nullopt);
}

TEST(RemoteRequestTest, ProgramFileByNameThenByItsFirstProgramNumber) {
  test::TempDir dir;
  test::writeFile(dir.file("B.NC"), "%\r\nO1234 (BY NUMBER)\r\n");
  test::writeFile(dir.file("A.NC"), "%\r\nO5\r\n");
  EXPECT_EQ(dnc::findProgramFile(dir.path(), {"O1234", 1234}), dir.file("B.NC"));
  test::writeFile(dir.file("O1234.NC"), "O1234\r\n");
  EXPECT_EQ(dnc::findProgramFile(dir.path(), {"O1234", 1234}), dir.file("O1234.NC"));
  test::writeFile(dir.file("O0005.NC"), "O5\r\n");
  EXPECT_EQ(dnc::findProgramFile(dir.path(), {"O5", 5}), dir.file("O0005.NC"));
  EXPECT_EQ(dnc::findProgramFile(dir.path(), {"O7777", 7777}), "");
}

TEST(RemoteRequestTest, NotFoundIsAShortProgramTheOperatorReads) {
  EXPECT_EQ(dnc::notFoundProgram({"O1234", 1234}), "%\r\nO9998 (NOT FOUND O1234)\r\n%\r\n");
}

TEST(OlderFilesTest, OlderFileMovesToOldUnderItsTimeAndNothingThereIsReplaced) {
  test::TempDir dir;
  const platform::CivilTime when{2026, 12, 9, 7, 5, 3};
  std::string error;
  EXPECT_TRUE(dnc::keepOlderFile(dir.file("O1234.NC"), when, error)); // nothing in the way
  EXPECT_FALSE(test::fileExists(dir.file("old")));

  test::writeFile(dir.file("O1234.NC"), "first");
  ASSERT_TRUE(dnc::keepOlderFile(dir.file("O1234.NC"), when, error)) << error;
  test::writeFile(dir.file("O1234.NC"), "second");
  ASSERT_TRUE(dnc::keepOlderFile(dir.file("O1234.NC"), when, error)) << error;
  EXPECT_FALSE(test::fileExists(dir.file("O1234.NC")));
  EXPECT_EQ(test::readFile(dir.file("old/O1234.NC.20261209-070503")), "first");
  EXPECT_EQ(test::readFile(dir.file("old/O1234.NC.20261209-070503-2")), "second");
}

TEST(OlderFilesTest, OldThatCannotBeMadeKeepsTheFileWhereItIs) {
  test::TempDir dir;
  test::writeFile(dir.file("O1234.NC"), "keep me");
  test::writeFile(dir.file("old"), "a file where the folder should be");
  std::string error;
  EXPECT_FALSE(dnc::keepOlderFile(dir.file("O1234.NC"), {2026, 1, 1, 0, 0, 0}, error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(test::readFile(dir.file("O1234.NC")), "keep me");
}

} // namespace
