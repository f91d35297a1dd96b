// Opening programs for editing and saving them again, on real files.
#include "editor/EditorFile.h"
#include "editor/EditorTexts.h"
#include "platform/Cp932.h"
#include "platform/FileMode.h"
#include "support/Samples.h"
#include "support/TempDir.h"
#include "support/WrittenPrograms.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kestrovan;
using editor::Alteration;
using editor::SaveStatus;

namespace {

std::string sample(const std::string& name) { return test::samplePath(name); }

std::vector<std::string> sampleNames() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(test::samplesDir()))
    if (entry.path().extension() == ".NC") names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// What a save of the unchanged text must give: the bytes as they were, every
// lone LF given the CR before it (the samples have no lone CR).
std::string withCrLf(const std::string& bytes) {
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) out += '\r';
    out += bytes[i];
  }
  return out;
}

editor::OpenedProgram open(const std::string& path, bool* asked = nullptr) {
  return editor::openForEditing(path, [asked] {
    if (asked) *asked = true;
    return false;
  });
}

// Saved unchanged, a program comes back byte for byte, every lone LF given
// its CR; tells whether it was an LF-only file.
bool expectSavedUnchanged(const std::string& name, const std::string& original) {
  test::TempDir dir;
  const std::string path = dir.file(name);
  test::writeFile(path, original);
  const editor::OpenedProgram program = open(path);
  EXPECT_EQ(program.decoded.alteration, Alteration::None) << name << " line " << program.decoded.alteredLine;
  EXPECT_EQ(program.size, original.size());
  const editor::SaveResult saved = editor::saveEditedText(path, program.decoded.text, false);
  EXPECT_EQ(saved.status, SaveStatus::Written) << name;
  const std::string back = test::readFile(path);
  const bool lfOnly = original.find('\r') == std::string::npos;
  if (lfOnly) {
    EXPECT_EQ(back, withCrLf(original)) << name;
    EXPECT_EQ(back.size(),
              original.size() + static_cast<std::size_t>(std::count(original.begin(), original.end(), '\n')));
  } else {
    EXPECT_EQ(back, original) << name;
  }
  // Nothing is left beside it.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << name;
  return lfOnly;
}

} // namespace

TEST(EditorRoundTrip, EveryKindOfProgramSavedUnchangedIsByteIdenticalApartFromLoneLineFeeds) {
  int lfOnly = 0;
  for (const test::written::Program& p : test::written::all())
    lfOnly += expectSavedUnchanged(p.name, p.bytes);
  EXPECT_EQ(lfOnly, 3);
}

TEST(EditorRoundTrip, EverySampleSavedUnchangedIsByteIdenticalApartFromLoneLineFeeds) {
  KESTROVAN_NEEDS_SAMPLES();
  const std::vector<std::string> names = sampleNames();
  ASSERT_EQ(names.size(), 11u);
  int lfOnly = 0;
  for (const std::string& name : names)
    lfOnly += expectSavedUnchanged(name, test::readFile(sample(name)));
  EXPECT_EQ(lfOnly, 4);
}

TEST(EditorRoundTrip, ShiftJisCommentsShowAsJapaneseAndTheCtrlZStaysAtTheEnd) {
  const test::TempDir dir;
  test::writeFile(dir.file("SJIS.NC"), test::written::shiftJisPrograms());
  test::writeFile(dir.file("CTRLZ.NC"), test::written::ctrlZAtTheEnd());
  const editor::OpenedProgram sjis = open(dir.file("SJIS.NC"));
  EXPECT_EQ(sjis.decoded.text, test::written::shiftJisProgramsUtf8());
  const editor::OpenedProgram ctrlZ = open(dir.file("CTRLZ.NC"));
  ASSERT_FALSE(ctrlZ.decoded.text.empty());
  EXPECT_EQ(ctrlZ.decoded.text.back(), '\x1A');
}

TEST(EditorRoundTrip, TheShiftJisSampleShowsItsJapaneseAndTheCtrlZStaysAtTheEnd) {
  KESTROVAN_NEEDS_SAMPLES();
  const editor::OpenedProgram sjis = open(sample("MULTI_PROGRAM_SJIS_O1001_O1003.NC"));
  EXPECT_NE(sjis.decoded.text.find("O1001(荒加工 ポケット)\n(材質:S50C 工具:φ10エンドミル)\n"),
            std::string::npos);
  EXPECT_EQ(sjis.decoded.text.find('\r'), std::string::npos);
  const editor::OpenedProgram ctrlZ = open(sample("MILL_COLON_0097_CTRLZ_EOF.NC"));
  ASSERT_FALSE(ctrlZ.decoded.text.empty());
  EXPECT_EQ(ctrlZ.decoded.text.back(), '\x1A');
}

TEST(EditorSave, AJapaneseCommentTypedIsWrittenAsShiftJisWithCrLf) {
  test::TempDir dir;
  const std::string path = dir.file("O1.NC");
  const editor::SaveResult saved = editor::saveEditedText(path, "O1(荒加工ｱﾗ)\nG00X0\n", false);
  ASSERT_EQ(saved.status, SaveStatus::Written);
  EXPECT_EQ(test::readFile(path), "O1(\x8D\x72\x89\xC1\x8D\x48\xB1\xD7)\r\nG00X0\r\n");
  EXPECT_EQ(saved.size, 21u);
  // A backslash stays a backslash, a tilde a tilde.
  ASSERT_EQ(editor::saveEditedText(path, "\\~", false).status, SaveStatus::Written);
  EXPECT_EQ(test::readFile(path), "\\~");
}

TEST(EditorSave, ACharacterShiftJisCannotHoldStopsTheSaveNamingItsPlaceAndWritesNothing) {
  test::TempDir dir;
  const std::string path = dir.file("O1.NC");
  test::writeFile(path, "OLD\r\n");
  const editor::SaveResult saved = editor::saveEditedText(path, "O1\nG01(荒😀)X1\n", false);
  EXPECT_EQ(saved.status, SaveStatus::Unencodable);
  EXPECT_EQ(saved.unencodable.line, 2u);
  EXPECT_EQ(saved.unencodable.column, 6u);
  EXPECT_EQ(saved.unencodable.character, "😀");
  EXPECT_EQ(test::readFile(path), "OLD\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
  EXPECT_EQ(editor::unencodableMessage(saved.unencodable),
            "2 行 6 桁目の文字「😀」は Shift-JIS "
            "で保存できません。\n保存を中止しました（ファイルは書き換えていません）。");
  // First character of the text, and a replacement character when the file
  // had none: both are refused.
  EXPECT_EQ(editor::saveEditedText(path, "€", false).unencodable.column, 1u);
  EXPECT_EQ(editor::saveEditedText(path, "A\xEF\xBF\xBD", false).status, SaveStatus::Unencodable);
}

TEST(EditorSave, AReadOnlyFileOrAMissingFolderIsNotWrittenAndTheOldFileStaysWhole) {
  test::TempDir dir;
  const std::string path = dir.file("O1.NC");
  test::writeFile(path, "OLD\r\n");
  ASSERT_EQ(platform::setOwnerWritable(path, false), 0);
  const editor::SaveResult saved = editor::saveEditedText(path, "NEW\n", false);
  EXPECT_EQ(saved.status, SaveStatus::CannotCreate);
  EXPECT_EQ(test::readFile(path), "OLD\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
  EXPECT_EQ(editor::saveEditedText(dir.file("no/such/O2.NC"), "NEW\n", false).status,
            SaveStatus::CannotCreate);
  EXPECT_EQ(editor::cannotCreateMessage(path), "ファイル " + path + " を作成できません");
}

TEST(EditorOpen, BytesThatWouldNotComeBackAreNamedByTheirFirstLine) {
  test::TempDir dir;
  // Line 3 holds a lead byte without its second byte; line 2 is fine Shift-JIS.
  const std::string broken = dir.file("BROKEN.NC");
  test::writeFile(broken, "O1\r\n(\x83\x65\x83\x58\x83\x67)\r\nG0\x81\r\nM30\r\n");
  editor::OpenedProgram program = open(broken);
  EXPECT_EQ(program.decoded.alteration, Alteration::Undecodable);
  EXPECT_EQ(program.decoded.alteredLine, 3u);
  EXPECT_NE(program.decoded.text.find("(テスト)"), std::string::npos);
  // Saving it, once agreed, writes "?" for the byte that could not be read,
  // and keeps every other byte.
  ASSERT_EQ(editor::saveEditedText(broken, program.decoded.text, true).status, SaveStatus::Written);
  EXPECT_EQ(test::readFile(broken), "O1\r\n(\x83\x65\x83\x58\x83\x67)\r\nG0?\r\nM30\r\n");

  // A character with a second code (NEC-selected IBM extension 0xED40 is
  // U+7E8A, whose own code is 0xFA5C) would come back with the other code.
  const std::string twoCodes = dir.file("TWO.NC");
  test::writeFile(twoCodes, "O1\n\n(\xED\x40)\n");
  program = open(twoCodes);
  EXPECT_EQ(program.decoded.alteration, Alteration::Undecodable);
  EXPECT_EQ(program.decoded.alteredLine, 3u);

  // A NUL on line 2: the text ends there, the rest of the file is not in it.
  const std::string nul = dir.file("NUL.NC");
  test::writeFile(nul, std::string("O1\r\nG0\0X1\r\nM30\r\n", 15));
  program = open(nul);
  EXPECT_EQ(program.decoded.text, "O1\nG0");
  EXPECT_EQ(program.decoded.alteration, Alteration::CutAtNul);
  EXPECT_EQ(program.decoded.alteredLine, 2u);
  EXPECT_EQ(program.size, 15u);
  EXPECT_EQ(editor::alteredOnOpenWarning(nul, program.decoded.alteration, 2),
            nul + "\n2 行目に NUL "
                  "バイトがあり、そこから後は読み込まれていません。\n保存すると、その部分は読み込んだ時のバイ"
                  "トと変わります。");
}

TEST(EditorOpen, AnEmptyFileOrOneThatStartsWithNulAsksTheLoadersQuestion) {
  test::TempDir dir;
  const std::string empty = dir.file("EMPTY.NC");
  test::writeFile(empty, "");
  bool asked = false;
  editor::OpenedProgram program = open(empty, &asked);
  EXPECT_TRUE(asked);
  EXPECT_TRUE(program.decoded.text.empty());
  EXPECT_EQ(program.decoded.alteration, Alteration::None);

  const std::string binary = dir.file("BIN.NC");
  test::writeFile(binary, std::string("\0\nO1\nG0\n", 8));
  program = editor::openForEditing(binary, [] { return true; });
  EXPECT_EQ(program.decoded.text, "O1\nG0\n");
  EXPECT_EQ(program.decoded.alteration, Alteration::ReadLineWise);
}

TEST(EditorText, LoneCarriageReturnsAndLineFeedsBecomeOneLineEnd) {
  EXPECT_EQ(editor::unifyLineEnds("A\r\nB\rC\nD\r\r\nE"), "A\nB\nC\nD\n\nE");
  // The Shift-JIS second byte 0x0A/0x0D cannot occur; 0x5C after a lead
  // byte is no backslash to anything here either.
  const editor::DecodedText decoded = editor::decodeProgramText("(\x95\x5C)\r\n");
  EXPECT_EQ(decoded.text, "(表)\n");
  EXPECT_EQ(decoded.alteration, Alteration::None);
  const editor::EncodedText encoded = editor::encodeProgramText("A\nB\n\nC", false);
  ASSERT_TRUE(encoded.ok);
  EXPECT_EQ(encoded.bytes, "A\r\nB\r\n\r\nC");
}
