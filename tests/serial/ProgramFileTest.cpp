// The file loader: what it keeps of a file, the second reading after the
// wrong-format question, and how program text falls into lines.

#include "serial/ProgramFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <vector>

using namespace kestrovan;
using serial::loadProgramFile;
using serial::ProgramFile;

namespace {

struct Question {
  int asked = 0;
  bool answer = false;
  serial::WrongFormatQuestion ask() {
    return [this] {
      ++asked;
      return answer;
    };
  }
};

std::vector<std::pair<std::string, std::size_t>> linesOf(std::string_view text) {
  std::vector<std::pair<std::string, std::size_t>> out;
  serial::ProgramLines lines(text);
  serial::ProgramLine line;
  while (lines.next(line))
    out.emplace_back(std::string(line.text), line.endBytes);
  EXPECT_EQ(lines.consumed(), text.size()); // every byte belongs to exactly one line
  return out;
}

using Lines = std::vector<std::pair<std::string, std::size_t>>;

} // namespace

TEST(ProgramFile, KeepsTheBytesUpToTheFirstNulAndTheSizeOnDisk) {
  test::TempDir dir;
  Question q;
  // Shift-JIS comment bytes stay as they are; nothing is transcoded.
  const std::string sjis = "O1(\x89\xC1\x8D\x48)\r\nM30\r\n";
  test::writeFile(dir.file("A.NC"), sjis);
  ProgramFile a = loadProgramFile(dir.file("A.NC"), q.ask());
  EXPECT_EQ(a.text, sjis);
  EXPECT_EQ(a.size, sjis.size());
  EXPECT_TRUE(a.opened);

  test::writeFile(dir.file("B.NC"), std::string("O1\r\nM30\r\n\0garbage", 17));
  ProgramFile b = loadProgramFile(dir.file("B.NC"), q.ask());
  EXPECT_EQ(b.text, "O1\r\nM30\r\n");
  EXPECT_EQ(b.size, 17u);
  EXPECT_EQ(q.asked, 0);
}

TEST(ProgramFile, LargeFileIsHeldOnceWithoutSpareCapacity) {
  test::TempDir dir;
  std::string big;
  while (big.size() < (8u << 20))
    big += "N12345G01X-123.456Y789.012F1500\r\n";
  test::writeFile(dir.file("BIG.NC"), big);
  ProgramFile p = loadProgramFile(dir.file("BIG.NC"), nullptr);
  EXPECT_EQ(p.text, big);
  // Read into one buffer sized from the file system, not grown by doubling.
  EXPECT_LT(p.text.capacity(), big.size() + 4096);
}

TEST(ProgramFile, NothingReadAsksAndTheSecondReadingTakesLinePieces) {
  test::TempDir dir;
  // Starts with a NUL: the first reading keeps nothing.
  std::string bytes("\0\r\nO1\r\n\r\nG01X1\nA", 16);
  bytes += std::string(600, 'B') + "\n";
  bytes += std::string("C\0D\n", 4);
  test::writeFile(dir.file("BIN.NC"), bytes);

  Question no;
  ProgramFile refused = loadProgramFile(dir.file("BIN.NC"), no.ask());
  EXPECT_EQ(no.asked, 1);
  EXPECT_TRUE(refused.text.empty());
  EXPECT_EQ(refused.size, bytes.size());

  Question yes{0, true};
  ProgramFile p = loadProgramFile(dir.file("BIN.NC"), yes.ask());
  EXPECT_TRUE(p.readLineWise);
  // CR LF read as LF; empty pieces dropped; a piece is text to its own NUL;
  // a long line breaks after 499 bytes ("A" and 498 "B", then 102 "B").
  EXPECT_EQ(p.text, "O1\nG01X1\nA" + std::string(498, 'B') + "\n" + std::string(102, 'B') + "\nC\n");
}

TEST(ProgramFile, MissingOrEmptyFileLeavesNothingWhateverTheAnswer) {
  test::TempDir dir;
  Question yes{0, true};
  ProgramFile missing = loadProgramFile(dir.file("NONE.NC"), yes.ask());
  EXPECT_FALSE(missing.opened);
  EXPECT_TRUE(missing.text.empty());
  EXPECT_EQ(missing.size, 0u);

  test::writeFile(dir.file("EMPTY.NC"), "");
  ProgramFile empty = loadProgramFile(dir.file("EMPTY.NC"), yes.ask());
  EXPECT_TRUE(empty.opened);
  EXPECT_TRUE(empty.text.empty());
  EXPECT_EQ(yes.asked, 2);
}

TEST(ProgramLines, LineEndsOfEveryStyle) {
  EXPECT_EQ(linesOf("A\r\nB\r\n"), (Lines{{"A", 2}, {"B", 2}}));
  EXPECT_EQ(linesOf("A\nB\n"), (Lines{{"A", 1}, {"B", 1}}));
  EXPECT_EQ(linesOf("A\nB"), (Lines{{"A", 1}, {"B", 0}}));
  EXPECT_EQ(linesOf("A\r\r\nB"), (Lines{{"A", 3}, {"B", 0}}));
  EXPECT_EQ(linesOf("A\rB\r"), (Lines{{"A", 1}, {"B", 1}}));
  EXPECT_EQ(linesOf("A\r\rB"), (Lines{{"A", 1}, {"", 1}, {"B", 0}}));
  EXPECT_EQ(linesOf("\n\r\n"), (Lines{{"", 1}, {"", 2}}));
  EXPECT_EQ(linesOf(""), Lines{});
}
