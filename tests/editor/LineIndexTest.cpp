// The file view's reading in pieces, its line index and the cells of a
// line's visible part.
#include "editor/LineIndex.h"
#include "editor/ByteCells.h"
#include "editor/ProgramBytes.h"
#include "platform/Cp932.h"
#include "serial/ProgramFile.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace kestrovan;
using editor::LineIndex;

namespace {

std::vector<std::string> linesOf(const LineIndex& index) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < index.lineCount(); ++i)
    out.emplace_back(index.line(i));
  return out;
}

// The lines the file loader's walk finds.
std::vector<std::string> loaderLines(std::string_view text) {
  std::vector<std::string> out;
  serial::ProgramLines walk(text);
  serial::ProgramLine line;
  while (walk.next(line))
    out.emplace_back(line.text);
  if (out.empty()) out.emplace_back();
  return out;
}

using L = std::vector<std::string>;

} // namespace

TEST(LineIndex, FindsTheLinesTheLoaderFindsWhateverTheLineEndsAndThePieceSize) {
  const std::vector<std::string> texts = {
      "",
      "%",
      "%\r\n",
      "%\r\nO1\r\nM30\r\n%",
      "A\nB\n\nC\n",
      "A\rB\r\rC",
      "A\r\r\nB\r\r",
      "\r\n\r\n",
      "\n",
      "\r",
      "A\r\r\r\nB",
      "G01X1.\r\nG01X2.\rG01X3.\nG01X4.\r\r\n",
  };
  for (const std::string& text : texts)
    for (std::size_t piece : {std::size_t(1), std::size_t(2), std::size_t(3), std::size_t(1) << 20}) {
      LineIndex index(text);
      int passes = 0;
      while (!index.scan(piece))
        ++passes;
      EXPECT_EQ(linesOf(index), loaderLines(text))
          << testing::PrintToString(text) << " in pieces of " << piece;
      EXPECT_TRUE(index.complete());
      if (piece == 1 && text.size() > 4) {
        EXPECT_GT(passes, 1) << "each pass takes only its piece";
      }
    }
}

TEST(LineIndex, ALongLineShowsItsIndexedPartWhileTheRestIsScanned) {
  std::string text = "%\r\n" + std::string(1000, 'X') + "\r\n%\r\n";
  LineIndex index(text);
  EXPECT_FALSE(index.scan(503));
  ASSERT_EQ(index.lineCount(), 2u);
  EXPECT_EQ(index.line(0), "%");
  EXPECT_EQ(index.line(1).size(), 500u);
  EXPECT_EQ(index.longestLine(), 500u);
  EXPECT_EQ(index.indexedBytes(), 503u);
  EXPECT_TRUE(index.scan(10'000));
  EXPECT_EQ(linesOf(index), (L{"%", std::string(1000, 'X'), "%"}));
  EXPECT_EQ(index.longestLine(), 1000u);
  EXPECT_EQ(index.lineStart(2), 1005u);
}

TEST(LineIndex, TheLongestLineCountsTheLastLineWithAndWithoutALineEnd) {
  LineIndex a("AB\r\nCDEF");
  a.scan(100);
  EXPECT_EQ(a.longestLine(), 4u);
  LineIndex b("ABCDE\r\nCD\r\n");
  b.scan(100);
  EXPECT_EQ(b.longestLine(), 5u);
  LineIndex c("AB\r\nCDE\r\r\n");
  c.scan(100);
  EXPECT_EQ(c.longestLine(), 3u);
}

namespace {

std::string cellText(const std::vector<editor::ByteCell>& cells) {
  std::u16string text;
  for (const auto& c : cells)
    text += c.character;
  std::string out;
  for (char16_t c : text)
    out += c < 0x80 ? static_cast<char>(c) : '*';
  return out;
}

} // namespace

TEST(ByteCells, TwoByteCharactersTakeTwoColumnsAndAPieceNeverCutsOne) {
  // "O1(穴ｱ)": 穴 two bytes, the half-width ｱ one.
  const std::string line = platform::utf8ToCp932("O1(穴ｱ)X");
  ASSERT_EQ(line.size(), 8u);
  const auto all = editor::byteCells(line, 0, line.size());
  ASSERT_EQ(all.size(), 7u);
  EXPECT_EQ(all[3].column, 3u);
  EXPECT_EQ(all[3].width, 2);
  EXPECT_EQ(all[3].character, u'穴');
  EXPECT_EQ(all[4].column, 5u);
  EXPECT_EQ(all[4].width, 1);
  EXPECT_EQ(all[4].character, u'ｱ');
  // A piece that begins on the second byte of 穴 begins with all of it.
  const auto piece = editor::byteCells(line, 4, 6);
  ASSERT_EQ(piece.size(), 2u);
  EXPECT_EQ(piece[0].column, 3u);
  EXPECT_EQ(piece[0].character, u'穴');
  EXPECT_EQ(editor::characterStart(line, 4), 3u);
  EXPECT_EQ(editor::characterStart(line, 5), 5u);
  EXPECT_EQ(editor::characterEnd(line, 3), 5u);
}

TEST(ByteCells, CharactersWhoseBothBytesCouldOpenOneAreFoundFromTheLastByteThatCannot) {
  // 穴 is 0x8C 0x8A: either of its bytes could open a character.
  const std::string line = "X" + platform::utf8ToCp932("穴穴穴穴穴");
  ASSERT_EQ(line.size(), 11u);
  for (std::size_t pos = 1; pos < line.size(); ++pos)
    EXPECT_EQ(editor::characterStart(line, pos), 1 + (pos - 1) / 2 * 2) << pos;
  const auto piece = editor::byteCells(line, 8, 11);
  ASSERT_EQ(piece.size(), 2u);
  EXPECT_EQ(piece[0].column, 7u);
  EXPECT_EQ(piece[0].character, u'穴');
}

TEST(ByteCells, BytesThatAreNoCp932AreOneReplacementCharacterEachAndShiftNothing) {
  // A stray lead byte before a space, 0xFF, 0x80, then letters.
  const std::string line = std::string("A\x81 B\xFF\x80") + "CD";
  const auto cells = editor::byteCells(line, 0, line.size());
  EXPECT_EQ(cellText(cells), "A* B**CD");
  EXPECT_EQ(cells[1].width, 1);
  EXPECT_EQ(cells[6].column, 6u);
  EXPECT_EQ(cells[6].character, u'C');
}

TEST(ByteCells, APieceOfAVeryLongLineDecodesOnlyThatPiece) {
  std::string line;
  while (line.size() < 5'000'000)
    line += "G01X1.Y-2.5F300.";
  const auto cells = editor::byteCells(line, 4'000'000, 4'000'060);
  ASSERT_EQ(cells.size(), 60u);
  EXPECT_EQ(cells.front().column, 4'000'000u);
  EXPECT_EQ(cellText(cells), line.substr(4'000'000, 60));
}

// The text as it comes in from the file, in pieces that may end anywhere,
// even between the CR and the LF of a line end.
TEST(LineIndex, TextThatComesInPiecesGivesTheLinesOfTheWholeText) {
  const std::string text = "%\r\nO1\r\r\nG01X1.\rM30\r\n\r\n%";
  for (std::size_t piece = 1; piece <= text.size(); ++piece) {
    LineIndex index;
    std::size_t read = 0;
    do {
      read = std::min(text.size(), read + piece);
      index.extend(std::string_view(text).substr(0, read), read == text.size());
      index.scan(piece);
    } while (!index.complete() && read < text.size());
    while (!index.scan(1)) {
    }
    EXPECT_EQ(linesOf(index), loaderLines(text)) << "pieces of " << piece;
  }
}

namespace {

struct TempFile {
  std::string path;
  explicit TempFile(const std::string& bytes) {
    path =
        (std::filesystem::temp_directory_path() / ("kestrovan_bytes_" + std::to_string(::getpid()))).string();
    std::ofstream(path, std::ios::binary) << bytes;
  }
  ~TempFile() { std::filesystem::remove(path); }
};

} // namespace

TEST(ProgramBytes, ReadsInPiecesUpToTheFirstNulAsTheLoaderDoes) {
  std::string bytes;
  while (bytes.size() < 300'000)
    bytes += "G01X1.Y2.\r\n";
  const std::string withNul = bytes + std::string("M30\r\n\0%\r\n", 8);
  for (const std::string& content : {bytes, withNul}) {
    TempFile file(content);
    editor::ProgramBytes read = editor::ProgramBytes::open(file.path);
    ASSERT_TRUE(read.opened());
    EXPECT_EQ(read.size(), content.size());
    int passes = 0;
    while (!read.readMore(64 * 1024))
      ++passes;
    EXPECT_GE(passes, 4);
    EXPECT_EQ(read.text(), content.substr(0, content.find('\0')));
    EXPECT_EQ(read.text(), serial::loadProgramFile(file.path, nullptr).text);
  }
  EXPECT_FALSE(editor::ProgramBytes::open("/nonexistent/kestrovan/O1.NC").opened());
}

TEST(ProgramBytes, AFileThatGrowsWhileItIsReadIsReadToItsNewEnd) {
  TempFile file("O1\r\nG00X1.\r\n");
  editor::ProgramBytes read = editor::ProgramBytes::open(file.path);
  EXPECT_FALSE(read.readMore(4));
  std::ofstream(file.path, std::ios::binary | std::ios::app) << "M30\r\n";
  while (!read.readMore(4)) {
  }
  EXPECT_EQ(read.text(), "O1\r\nG00X1.\r\nM30\r\n");
}
