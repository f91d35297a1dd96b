// File names of a reception, the choices before it, and what the saver
// leaves on disk (byte for byte) when a reception completes, stops or fails.

#include "serial/ReceiveFileNames.h"
#include "serial/ReceiveSaveChoice.h"
#include "serial/ReceivedDataSaver.h"

#include "ReceiveHarness.h"
#include "base/SettingsRecord.h"
#include "support/FakeDialogs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kestrovan;
using namespace kestrovan::serial;

using test::filesIn;

TEST(ReceiveFileNames, NamesNeverLeaveTheFolderOrBreakTheFileSystem) {
  const std::pair<const char*, const char*> cases[] = {
      {"O1234", "O1234"},
      {"O12/../../EVIL", "O12_______EVIL"},
      {"..", "__"},
      {".", "_"},
      {"O1.2", "O1.2"}, // a single inner dot is harmless
      {"O1...2", "O1___2"},
      {".hidden", "_hidden"},
      {"O1.", "O1_"},
      {"O7<>*?|\":\\X", "O7________X"},
      {"O1\t2\x7F", "O1_2_"},
      {"  O5  ", "O5"},
      {"   ", "_"},
      {"", "_"},
      {"受信データ", "受信データ"}, // typed by the operator: kept
  };
  for (const auto& [name, safe] : cases)
    EXPECT_EQ(safeFileName(name), safe) << name;

  const std::string longName = "O" + std::string(300, '1');
  EXPECT_EQ(safeFileName(longName).size(), kLongestNameStem);
  // Cut at a character boundary: 67 three-byte characters would be 201 bytes.
  std::string japanese;
  for (int i = 0; i < 80; ++i)
    japanese += "受";
  EXPECT_EQ(safeFileName(japanese).size(), 198u);
  EXPECT_EQ(safeFileName("O" + std::string(198, '1') + ".."), "O" + std::string(198, '1') + "_");
}

TEST(ReceiveFileNames, ProgramFilesAreNamedByNumberWithOrdinalAndExtension) {
  EXPECT_EQ(programName("O0100(ROUGH)"), "O0100");
  EXPECT_EQ(programName(":1234"), "O1234");
  EXPECT_EQ(programName("L10(SUB)"), "L10");
  EXPECT_EQ(programOrdinalSuffix(1), "_001");
  EXPECT_EQ(programOrdinalSuffix(1000), "_1000");
  EXPECT_EQ(programFileName("O0100(ROUGH)", 3, true, ".NC"), "O0100_003.NC");
  EXPECT_EQ(programFileName(":1234(SIDE A)", 1, false, ".NC"), "O1234.NC");
  EXPECT_EQ(programFileName("O1/..(X)", 1, false, ".NC"), "O1___.NC");

  EXPECT_EQ(outputExtension("*.NC"), ".NC");
  EXPECT_EQ(outputExtension("*.*"), "");
  EXPECT_EQ(outputExtension("*.N?"), "");
  EXPECT_EQ(outputExtension("*./x"), "._x");
  EXPECT_EQ(outputExtension(""), "");
}

// A hand-edited Mask may begin with a character of several bytes (a
// full-width "＊"): the extension is what follows that whole character, never
// the rest of its bytes, which would make every received file's name no
// valid UTF-8.
TEST(ReceiveFileNames, MaskBeginningWithAWideCharacter) {
  EXPECT_EQ(outputExtension("\xEF\xBC\x8A.NC"), ".NC");
  EXPECT_EQ(outputExtension("\xC3\xA9"), "");
  EXPECT_EQ(outputExtension("\xEF\xBF\xBD.\xE3\x83\x86"), ".\xE3\x83\x86");
}

TEST(ReceiveSaveChoice, KeysAndClickBands) {
  EXPECT_EQ(saveChoiceForKey('y'), SaveChoice::ByName);
  EXPECT_EQ(saveChoiceForKey('N'), SaveChoice::PerProgramNumber);
  EXPECT_EQ(saveChoiceForKey(0x1B), SaveChoice::Cancel);
  EXPECT_EQ(saveChoiceForKey('X'), SaveChoice::None);
  const std::pair<int, SaveChoice> bands[] = {{-1, SaveChoice::None},
                                              {18, SaveChoice::ByName},
                                              {19, SaveChoice::PerProgramNumber},
                                              {36, SaveChoice::PerProgramNumber},
                                              {37, SaveChoice::Cancel},
                                              {54, SaveChoice::Cancel},
                                              {55, SaveChoice::None}};
  for (const auto& [y, choice] : bands)
    EXPECT_EQ(saveChoiceForClick(y), choice) << y;
}

TEST(ReceiveSaveChoice, TypedNameWithExtensionRuleAndOverwriteQuestion) {
  test::TempDir dir;
  base::SettingsRecord s = base::defaultSettings(dir.path());
  s.ALL_Files = "N";
  EXPECT_EQ(receiveTargetForName("ABC", s).path, dir.file("ABC.NC"));
  EXPECT_EQ(receiveTargetForName("ABC", s).name, "ABC.NC");
  s.ALL_Files = "Y";
  EXPECT_EQ(receiveTargetForName("ABC", s).path, dir.file("ABC"));
  EXPECT_EQ(receiveTargetForName("../ABC", s).path, dir.file("___ABC"));

  test::FakeDialogs dialogs;
  NameEntry fresh = enterReceiveName("NEW", s, dialogs);
  EXPECT_TRUE(fresh.start);
  EXPECT_TRUE(dialogs.shown.empty());

  test::writeFile(dir.file("OLD"), "x");
  dialogs.answers = {base::MessageAnswer::No, base::MessageAnswer::Yes};
  EXPECT_FALSE(enterReceiveName("OLD", s, dialogs).start);
  NameEntry yes = enterReceiveName("OLD", s, dialogs);
  EXPECT_TRUE(yes.start);
  EXPECT_EQ(yes.target.path, dir.file("OLD"));
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[0].text, "すでに" + dir.file("OLD") + "が有ります。\n上書きしますか？");
  EXPECT_EQ(dialogs.shown[0].buttons, base::MessageButtons::YesNo);
  EXPECT_EQ(test::readFile(dir.file("OLD")), "x"); // asking changes nothing
}

class ReceivedDataSaverTest : public ::testing::Test {
protected:
  test::TempDir dir;
  SaveOptions options() {
    SaveOptions o;
    o.dataFolder = dir.path();
    o.extension = ".NC";
    o.numbered = true;
    return o;
  }
};

TEST_F(ReceivedDataSaverTest, ByNameStreamsToTheWorkingCopyAndReplacesTheFileOnlyAtTheEnd) {
  test::writeFile(dir.file("ABC.NC"), "old program\r\n");
  ReceivedDataSaver saver(SaveMode::ByName, options());
  std::vector<std::string> viewLines;
  int emptied = 0;
  saver.onViewLine = [&](const std::string& l) { viewLines.push_back(l); };
  saver.onViewEmptied = [&] { ++emptied; };

  ASSERT_TRUE(saver.startByName(dir.file("ABC.NC")));
  saver.addLine("O1");
  saver.addLine("G00 X0");
  ASSERT_TRUE(saver.writeOut());
  EXPECT_EQ(saver.viewBytes(), 0u);
  saver.addLine("M30");
  EXPECT_EQ(test::readFile(dir.file("ABC.NC.part")), "O1\r\nG00 X0\r\n");
  EXPECT_EQ(test::readFile(dir.file("ABC.NC")), "old program\r\n"); // untouched so far
  ASSERT_TRUE(saver.finish());

  EXPECT_EQ(test::readFile(dir.file("ABC.NC")), "O1\r\nG00 X0\r\nM30\r\n");
  EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"ABC.NC"});
  EXPECT_EQ(viewLines, (std::vector<std::string>{"O1", "G00 X0", "M30"}));
  EXPECT_EQ(emptied, 2);
  EXPECT_EQ(saver.outputFile(), dir.file("ABC.NC"));
}

TEST_F(ReceivedDataSaverTest, PerProgramFilesWithOrdinalsAndPercentLines) {
  SaveOptions o = options();
  o.percentFirst = true;
  o.percentLast = true;
  ReceivedDataSaver saver(SaveMode::PerProgramNumber, o);
  saver.addLine("%"); // put there by the reception when it started
  saver.addLine("(BEFORE THE HEADER)");
  ASSERT_TRUE(saver.beginProgram("O1000(FIRST)"));
  saver.addLine("O1000(FIRST)");
  saver.addLine("M99");
  ASSERT_TRUE(saver.beginProgram(":2000"));
  saver.addLine(":2000");
  saver.addLine("M30");
  saver.addLine("%");
  ASSERT_TRUE(saver.finish());

  EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"O1000_001.NC", "O2000_002.NC"}));
  EXPECT_EQ(test::readFile(dir.file("O1000_001.NC")),
            "%\r\n(BEFORE THE HEADER)\r\nO1000(FIRST)\r\nM99\r\n%\r\n");
  EXPECT_EQ(test::readFile(dir.file("O2000_002.NC")), "%\r\n:2000\r\nM30\r\n%\r\n");
  EXPECT_EQ(saver.programCount(), 2);
  EXPECT_EQ(saver.outputFile(), dir.file("O2000_002.NC"));
}

TEST_F(ReceivedDataSaverTest, SameNumberTwiceWithoutOrdinalsKeepsTheSecond) {
  SaveOptions o = options();
  o.numbered = false;
  ReceivedDataSaver saver(SaveMode::PerProgramNumber, o);
  ASSERT_TRUE(saver.beginProgram("O1"));
  saver.addLine("FIRST");
  ASSERT_TRUE(saver.beginProgram("O1"));
  saver.addLine("SECOND");
  ASSERT_TRUE(saver.finish());
  EXPECT_EQ(test::readFile(dir.file("O1.NC")), "SECOND\r\n");
  EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"O1.NC"});
}

TEST_F(ReceivedDataSaverTest, HeadersInShiftJisNameTheirFilesInUtf8AndKeepTheirBytesInside) {
  // "荒加工" and "表" (whose second byte is the backslash 0x5C) in CP932, then
  // half-width "ｱ", then bytes that are no CP932 at all.
  const std::string rough = "O2001 \x8D\x72\x89\xC1\x8D\x48";
  const std::string table = "O2002\x95\x5C(\x95\x5C)";
  const std::string kana = ":2003\xB1";
  const std::string broken = "O2004\x80\xFF\x82";
  ReceivedDataSaver saver(SaveMode::PerProgramNumber, options());
  for (const std::string& header : {rough, table, kana, broken}) {
    ASSERT_TRUE(saver.beginProgram(header)) << saver.error();
    saver.addLine(header);
  }
  ASSERT_TRUE(saver.finish());

  // Names a desktop shows and passes on as they read; what cannot be read
  // becomes "_" as a refused character does.
  EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"O2001 荒加工_001.NC", "O2002表_002.NC",
                                                           "O2003ｱ_003.NC", "O2004____004.NC"}));
  // The program text is never converted.
  EXPECT_EQ(test::readFile(dir.file("O2001 荒加工_001.NC")), rough + "\r\n");
  EXPECT_EQ(test::readFile(dir.file("O2002表_002.NC")), table + "\r\n");
  EXPECT_EQ(test::readFile(dir.file("O2004____004.NC")), broken + "\r\n");
  EXPECT_EQ(saver.outputFile(), dir.file("O2004____004.NC"));

  // The safe-name rule still holds on the converted text: a full-width
  // solidus is a character of its own, the ASCII one is refused.
  EXPECT_EQ(programFileName("O1\x81\x5E/..", 1, false, ".NC"), "O1／___.NC");
}

TEST_F(ReceivedDataSaverTest, NothingToWriteToBeforeTheFirstHeader) {
  ReceivedDataSaver saver(SaveMode::PerProgramNumber, options());
  saver.addLine("G00 X0");
  EXPECT_FALSE(saver.writeOut());
  EXPECT_FALSE(saver.finish());
  EXPECT_FALSE(saver.error().empty());
  EXPECT_EQ(saver.keepWhatArrived("G01"), "");
  EXPECT_TRUE(filesIn(dir.path()).empty());
}

TEST_F(ReceivedDataSaverTest, FailuresKeepWhatArrivedAndEverythingFinished) {
  // The second program's name is taken by a folder: its file cannot be made.
  std::filesystem::create_directory(dir.file("O2_002.NC"));
  ReceivedDataSaver saver(SaveMode::PerProgramNumber, options());
  ASSERT_TRUE(saver.beginProgram("O1"));
  saver.addLine("O1");
  EXPECT_FALSE(saver.beginProgram("O2"));
  EXPECT_NE(saver.error().find("is a folder"), std::string::npos);
  EXPECT_EQ(saver.keepWhatArrived(""), "");
  EXPECT_EQ(test::readFile(dir.file("O1_001.NC")), "O1\r\n");

  // What arrived is kept for the operator under a name of its own that the
  // mask lists: what was written out, what still waited in the view, and
  // the line that had not ended.
  test::writeFile(dir.file("P.NC"), "older P\r\n");
  ReceivedDataSaver partial(SaveMode::ByName, options());
  ASSERT_TRUE(partial.startByName(dir.file("P.NC")));
  partial.addLine("G01 X1.");
  ASSERT_TRUE(partial.writeOut());
  partial.addLine("G01 X2.");
  EXPECT_EQ(partial.keepWhatArrived("G01 X"), dir.file("P_PART.NC"));
  EXPECT_EQ(test::readFile(dir.file("P_PART.NC")), "G01 X1.\r\nG01 X2.\r\nG01 X\r\n");
  EXPECT_EQ(test::readFile(dir.file("P.NC")), "older P\r\n");
  EXPECT_FALSE(test::fileExists(dir.file("P.NC.part")));
  // The next failed reception of that name keeps its own part beside it.
  ReceivedDataSaver again(SaveMode::ByName, options());
  ASSERT_TRUE(again.startByName(dir.file("P.NC")));
  again.addLine("O9");
  EXPECT_EQ(again.keepWhatArrived(""), dir.file("P_PART2.NC"));
  EXPECT_EQ(test::readFile(dir.file("P_PART.NC")), "G01 X1.\r\nG01 X2.\r\nG01 X\r\n");
  EXPECT_EQ(test::readFile(dir.file("P_PART2.NC")), "O9\r\n");

  // A working copy removed behind the reception's back is not silently made anew.
  ReceivedDataSaver gone(SaveMode::ByName, options());
  ASSERT_TRUE(gone.startByName(dir.file("G.NC")));
  std::filesystem::remove(dir.file("G.NC.part"));
  gone.addLine("X");
  EXPECT_FALSE(gone.writeOut());
  EXPECT_EQ(gone.viewBytes(), 3u); // the view is kept

  // A data folder that is no folder.
  test::writeFile(dir.file("plain"), "");
  ReceivedDataSaver nowhere(SaveMode::ByName, options());
  EXPECT_FALSE(nowhere.startByName(dir.file("plain") + "/X.NC"));
  EXPECT_EQ(nowhere.outputFile(), dir.file("plain") + "/X.NC");
}
