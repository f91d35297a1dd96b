// The editor's text for large programs: edits, undo and redo against a plain
// string, its lines against the file loader's, and what a save leaves on disk.
#include "editor/PieceTable.h"
#include "editor/ByteCells.h"
#include "editor/LineIndex.h"
#include "editor/PieceSave.h"
#include "editor/PieceSearch.h"
#include "platform/Cp932.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

using namespace kestrovan;
using editor::PieceTable;

namespace {

// Where characters begin in a plain string, as the view finds them.
bool boundaryIn(const std::string& text, std::size_t offset) {
  return offset == text.size() || editor::characterStart(text, offset) == offset;
}

// Everything the table says about its text, against the same text in a
// plain string.
void expectSame(const PieceTable& table, const std::string& model, const std::string& what) {
  ASSERT_EQ(table.size(), model.size()) << what;
  ASSERT_EQ(table.text(), model) << what;
  editor::LineIndex index(model);
  index.scan(model.size());
  ASSERT_EQ(table.lineCount(), index.lineCount()) << what << "\n" << testing::PrintToString(model);
  for (std::size_t i = 0; i < index.lineCount(); ++i) {
    ASSERT_EQ(table.lineStart(i), index.lineStart(i)) << what << " line " << i;
    ASSERT_EQ(table.bytes(table.lineStart(i), table.lineLength(i)), index.line(i)) << what << " line " << i;
  }
  std::size_t line = 0;
  for (std::size_t offset = 0; offset <= model.size(); ++offset) {
    while (line + 1 < index.lineCount() && index.lineStart(line + 1) <= offset)
      ++line;
    ASSERT_EQ(table.lineOf(offset), line) << what << " offset " << offset;
    ASSERT_EQ(table.isCharacterBoundary(offset), boundaryIn(model, offset)) << what << " offset " << offset;
  }
}

// Bytes that make trouble: line ends of every kind, lead bytes alone and in
// pairs, a trail byte that is also a letter.
std::string randomBytes(std::mt19937& rng, std::size_t most) {
  static const std::vector<std::string> atoms = {"A",        "1",        "\r",   "\n",   "\r\n",    "\x82",
                                                 "\x82\xA0", "\x88\x9F", "\xA0", "\xE0", "\x81\x40"};
  std::string out;
  const std::size_t n = 1 + rng() % most;
  for (std::size_t i = 0; i < n; ++i)
    out += atoms[rng() % atoms.size()];
  return out;
}

struct Model {
  std::string text;
  std::vector<std::string> undo; // the text before each step
  std::vector<std::string> redo;
  bool joinable = false;
  std::size_t joinEnd = 0;
};

// One random edit, undo or redo on both; the model predicts whether the
// table takes it and whether typing joins the step before.
void randomStep(std::mt19937& rng, PieceTable& table, Model& m, std::string& what) {
  const unsigned kind = rng() % 10;
  if (kind == 0) {
    what = "undo";
    const bool done = table.undo();
    ASSERT_EQ(done, !m.undo.empty());
    if (done) {
      m.redo.push_back(m.text);
      m.text = m.undo.back();
      m.undo.pop_back();
    }
    m.joinable = false;
    return;
  }
  if (kind == 1) {
    what = "redo";
    const bool done = table.redo();
    ASSERT_EQ(done, !m.redo.empty());
    if (done) {
      m.undo.push_back(m.text);
      m.text = m.redo.back();
      m.redo.pop_back();
    }
    m.joinable = false;
    return;
  }
  const std::size_t offset = rng() % (m.text.size() + 1);
  std::size_t length = kind < 5 ? 0 : rng() % (std::min<std::size_t>(m.text.size() - offset, 6) + 1);
  std::string bytes = kind < 8 ? randomBytes(rng, 3) : std::string();
  if (length == 0 && bytes.empty()) length = std::min<std::size_t>(1, m.text.size() - offset);
  if (length == 0 && bytes.empty()) bytes = "A";
  what = "replace " + std::to_string(offset) + "+" + std::to_string(length) + " by " +
         testing::PrintToString(bytes) + " in " + testing::PrintToString(m.text);
  std::string after = m.text;
  after.replace(offset, length, bytes);
  const bool ok = boundaryIn(m.text, offset) && boundaryIn(m.text, offset + length) &&
                  boundaryIn(after, offset) && boundaryIn(after, offset + bytes.size());
  ASSERT_EQ(table.replace(offset, length, bytes), ok) << what;
  if (!ok) return;
  const bool joins = length == 0 && m.joinable && m.joinEnd == offset && m.redo.empty();
  if (!joins) m.undo.push_back(m.text);
  m.redo.clear();
  m.text = after;
  m.joinable = length == 0;
  m.joinEnd = offset + bytes.size();
}

} // namespace

TEST(PieceTable, RandomEditsUndoAndRedoGiveThePlainStringsBytesLinesAndCharacters) {
  const std::vector<std::string> originals = {"", "%\r\nO1\r\nM30\r\n%", "A\r\r\nB\r\rC\n\n",
                                              "\x82\xA0\x82\r\x82\n"};
  for (unsigned seed = 1; seed <= 60; ++seed) {
    std::mt19937 rng(seed);
    const std::string& original = originals[seed % originals.size()];
    PieceTable table(original);
    Model m;
    m.text = original;
    for (int step = 0; step < 150; ++step) {
      std::string what;
      randomStep(rng, table, m, what);
      if (HasFatalFailure()) return;
      expectSame(table, m.text,
                 "seed " + std::to_string(seed) + " step " + std::to_string(step) + ": " + what);
      if (HasFatalFailure()) return;
    }
    // Undoing everything gives the original back, redoing everything the
    // last text there was.
    const std::string end = m.redo.empty() ? m.text : m.redo.front();
    while (table.undo()) {
    }
    EXPECT_EQ(table.text(), original) << "seed " << seed;
    EXPECT_FALSE(table.modified());
    while (table.redo()) {
    }
    EXPECT_EQ(table.text(), end) << "seed " << seed;
  }
}

TEST(PieceTable, EditsAcrossThousandsOfLinesKeepEveryLineStart) {
  // Enough lines for the line starts to be held in many chunks, and edits
  // that take out and bring in thousands of lines at once.
  std::string original;
  for (int i = 0; i < 30000; ++i)
    original += "N" + std::to_string(i) + (i % 7 == 0 ? "\r" : i % 5 == 0 ? "\n" : "\r\n");
  std::mt19937 rng(7);
  PieceTable table(original);
  std::string model = original;
  for (int step = 0; step < 60; ++step) {
    const std::size_t offset = rng() % (model.size() + 1);
    const std::size_t length =
        step % 3 == 0 ? std::min<std::size_t>(model.size() - offset, rng() % 60000) : 0;
    std::string bytes;
    if (step % 2 == 0)
      for (int i = 0; i < static_cast<int>(rng() % 9000); ++i)
        bytes += i % 3 ? "X\r\n" : "\r";
    ASSERT_TRUE(table.replace(offset, length, bytes));
    model.replace(offset, length, bytes);
  }
  editor::LineIndex index(model);
  index.scan(model.size());
  ASSERT_EQ(table.lineCount(), index.lineCount());
  for (std::size_t i = 0; i < index.lineCount(); ++i)
    ASSERT_EQ(table.lineStart(i), index.lineStart(i)) << "line " << i;
  for (std::size_t offset = 0; offset <= model.size(); offset += 97)
    ASSERT_EQ(table.lineStart(table.lineOf(offset)), index.lineStart(table.lineOf(offset)));
  while (table.undo()) {
  }
  EXPECT_EQ(table.text(), original);
}

TEST(PieceTable, TypingIsOneStepOfUndoAndTheSavedStateIsKnown) {
  PieceTable table("O1\r\nM30\r\n");
  EXPECT_FALSE(table.modified());
  const std::string typed = "G01X1.";
  for (std::size_t i = 0; i < typed.size(); ++i)
    ASSERT_TRUE(table.insert(4 + i, typed.substr(i, 1)));
  EXPECT_EQ(table.text(), "O1\r\nG01X1.M30\r\n");
  EXPECT_EQ(table.pieceCount(), 3u) << "typing goes into one piece";
  EXPECT_TRUE(table.modified());
  table.markSaved();
  EXPECT_FALSE(table.modified());
  ASSERT_TRUE(table.insert(10, "\r\n"));
  EXPECT_TRUE(table.modified());
  PieceTable::Change change;
  ASSERT_TRUE(table.undo(&change));
  EXPECT_FALSE(table.modified()) << "typing after a save is a step of its own";
  EXPECT_EQ(change.offset, 10u);
  EXPECT_EQ(change.length, 0u);
  ASSERT_TRUE(table.undo(&change));
  EXPECT_EQ(table.text(), "O1\r\nM30\r\n");
  EXPECT_EQ(change.offset, 4u);
  EXPECT_TRUE(table.modified());
  // Another edit now: the saved text can no longer come back by redo.
  ASSERT_TRUE(table.insert(0, "%"));
  EXPECT_FALSE(table.canRedo());
  EXPECT_TRUE(table.modified());
}

TEST(PieceTable, NeverSplitsOrJoinsACharacter) {
  // "あ" (82 A0) then a lead byte alone before a line end.
  PieceTable table("\x82\xA0\x82\r\nA");
  EXPECT_FALSE(table.insert(1, "X")) << "inside a two-byte character";
  EXPECT_FALSE(table.erase(1, 2)) << "from the middle of one";
  EXPECT_FALSE(table.erase(3, 2)) << "the line end after a lone lead byte: 82 'A' would be one character";
  EXPECT_FALSE(table.insert(3, "A")) << "'A' after a lone lead byte would join it";
  EXPECT_FALSE(table.insert(0, "\x82")) << "a lead byte before a character would take its first byte";
  EXPECT_TRUE(table.insert(3, "\r")) << "a line end after it joins nothing";
  EXPECT_TRUE(table.erase(0, 2));
  EXPECT_EQ(table.text(), "\x82\r\r\nA");
  EXPECT_EQ(table.characterStart(1), 1u);
  PieceTable pair("A\x88\x9F"
                  "B");
  EXPECT_EQ(pair.characterStart(2), 1u);
  EXPECT_EQ(pair.characterEnd(1), 3u);
  EXPECT_EQ(pair.characterEnd(2), 3u);
}

TEST(PieceTable, IndexedPieceByPieceEditsWaitForTheWhole) {
  std::string original;
  for (int i = 0; i < 1000; ++i)
    original += "G01X" + std::to_string(i) + "\r\n";
  PieceTable table(original, false);
  EXPECT_FALSE(table.insert(0, "%")) << "not before the lines are all known";
  int passes = 0;
  while (!table.indexMore(1000))
    ++passes;
  EXPECT_GT(passes, 5);
  EXPECT_EQ(table.lineCount(), 1000u);
  EXPECT_EQ(table.bytes(table.lineStart(999), table.lineLength(999)), "G01X999");
  EXPECT_TRUE(table.insert(0, "%"));
}

TEST(PieceTableSave, WritesBackWhatWasNotEditedByteForByte) {
  // Every kind of line end, a lone lead byte, bytes that are no CP932: none
  // of them is the save's to change.
  std::string original = "%\r\nO0001(\x83\x65\x83\x58\x83\x67)\n\x82\r\r\nG01\xFF\x80X1.\rM30\r\n";
  for (int i = 0; i < 20000; ++i)
    original += "N" + std::to_string(i) + "G01X1.Y2.\r\n";
  original += "%";
  test::TempDir dir;
  const std::string path = dir.file("BIG.NC");
  test::writeFile(path, original);
  PieceTable table(test::readFile(path));
  std::string model = original;
  ASSERT_TRUE(table.insert(3, "N1"));
  model.insert(3, "N1");
  const std::size_t mid = model.size() / 2;
  const std::size_t cut = table.lineStart(table.lineOf(mid));
  ASSERT_TRUE(table.erase(cut, 100));
  model.erase(cut, 100);
  ASSERT_TRUE(table.insert(table.size(), "\r\n"));
  model += "\r\n";
  const editor::SaveResult saved = editor::savePieces(path, table);
  EXPECT_EQ(saved.status, editor::SaveStatus::Written);
  EXPECT_EQ(saved.size, model.size());
  EXPECT_EQ(test::readFile(path), model);
}

TEST(PieceTableSave, AFailedSaveLeavesTheOldFileWhole) {
  test::TempDir dir;
  const std::string path = dir.file("RO.NC");
  test::writeFile(path, "OLD\r\n");
  ::chmod(path.c_str(), 0444);
  PieceTable table("OLD\r\n");
  ASSERT_TRUE(table.insert(0, "NEW"));
  EXPECT_EQ(editor::savePieces(path, table).status, editor::SaveStatus::CannotCreate);
  EXPECT_EQ(test::readFile(path), "OLD\r\n");
  EXPECT_EQ(editor::savePieces(dir.file("gone/X.NC"), table).status, editor::SaveStatus::CannotCreate);
  EXPECT_FALSE(test::fileExists(dir.file("gone/X.NC")));
}

TEST(PieceTable, ReadsItsFileInPiecesShowingTheLinesReadSoFar) {
  std::string program;
  for (int i = 0; i < 3000; ++i)
    program += "G01X" + std::to_string(i) + (i % 2 ? "\r\n" : "\r");
  test::TempDir dir;
  const std::string path = dir.file("READ.NC");
  test::writeFile(path, program);
  PieceTable table(editor::ProgramBytes::open(path));
  EXPECT_FALSE(table.indexMore(1024));
  EXPECT_GT(table.lineCount(), 10u);
  EXPECT_LT(table.lineCount(), 3000u);
  EXPECT_EQ(table.bytes(table.lineStart(1), table.lineLength(1)), "G01X1");
  EXPECT_FALSE(table.insert(0, "%")) << "not before all is read";
  while (!table.indexMore(1024)) {
  }
  EXPECT_EQ(table.text(), program);
  EXPECT_EQ(table.lineCount(), 3000u);
  EXPECT_FALSE(table.cutShort());

  // The loader's reading stops at a NUL; the table says so, as a save would
  // drop what follows it.
  test::writeFile(path, "O1\r\nM30\r\n" + std::string(1, '\0') + "G01X1.\r\n");
  PieceTable cut(editor::ProgramBytes::open(path));
  while (!cut.indexMore(4)) {
  }
  EXPECT_EQ(cut.text(), "O1\r\nM30\r\n");
  EXPECT_TRUE(cut.cutShort());
}

TEST(PieceSearch, FindsWholeCharactersDownAndUpAcrossBlocksWithAndWithoutCase) {
  using editor::searchPieces;
  // "ソ" is 83 5C: its second byte is no backslash; "ｇ" and "Ｇ" are one
  // letter without case.
  const std::string text = platform::utf8ToCp932("ソ\\G01 ｇ01\r\nAＧ01 g01");
  PieceTable table(text);
  const std::string g01 = platform::utf8ToCp932("Ｇ01");
  EXPECT_EQ(searchPieces(table, "\\", 0, true, true), std::optional<std::size_t>(2));
  EXPECT_EQ(searchPieces(table, g01, 0, true, true), std::optional<std::size_t>(text.find(g01)));
  EXPECT_EQ(searchPieces(table, g01, 0, true, false), std::optional<std::size_t>(7)) << "ｇ01";
  EXPECT_EQ(searchPieces(table, "G01", 0, true, false), std::optional<std::size_t>(3));
  EXPECT_EQ(searchPieces(table, "G01", 4, true, false), std::optional<std::size_t>(text.size() - 3));
  EXPECT_EQ(searchPieces(table, "G01", text.size(), false, false),
            std::optional<std::size_t>(text.size() - 3));
  EXPECT_EQ(searchPieces(table, "G01", text.size() - 3, false, false), std::optional<std::size_t>(3));
  EXPECT_EQ(searchPieces(table, "G01", 3, false, false), std::nullopt);
  EXPECT_EQ(searchPieces(table, "M30", 0, true, false), std::nullopt);

  // Hits on either side of the blocks the search reads, in an edited text.
  std::string big(3 * 1024 * 1024, 'X');
  PieceTable edited(big);
  for (std::size_t at : {std::size_t(1024 * 1024 - 2), std::size_t(2 * 1024 * 1024 + 5)})
    ASSERT_TRUE(edited.replace(at, 4, "M30;"));
  EXPECT_EQ(searchPieces(edited, "m30;", 0, true, false), std::optional<std::size_t>(1024 * 1024 - 2));
  EXPECT_EQ(searchPieces(edited, "M30;", 1024 * 1024, true, true),
            std::optional<std::size_t>(2 * 1024 * 1024 + 5));
  EXPECT_EQ(searchPieces(edited, "M30;", edited.size(), false, true),
            std::optional<std::size_t>(2 * 1024 * 1024 + 5));
  EXPECT_EQ(searchPieces(edited, "M30;", 2 * 1024 * 1024, false, true),
            std::optional<std::size_t>(1024 * 1024 - 2));
}
