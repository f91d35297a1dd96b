// The split per program number, byte for byte, on real files.

#include "nctools/OutputNames.h"
#include "nctools/SplitPrograms.h"

#include "ToolFixture.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace kestrovan;
using nctools::SplitEnd;

namespace {

const char* const kSevenLines = "%\r\nO0001\r\nG0X0\r\nM30\r\nO0002(PART B)\r\nM30\r\n%\r\n";

struct SplitTest : ::testing::Test {
  test::TempDir dir;
  nctools::DiskOutputFiles disk;
  std::vector<std::string> headers;

  nctools::SplitResult split(std::string_view text, nctools::SplitOptions options = {},
                             const std::string& mask = "*.NC") {
    headers.clear();
    nctools::SplitEvents events;
    events.programFound = [this](const std::string& h) { headers.push_back(h); };
    return nctools::splitPrograms(text, {dir.path(), nctools::toolExtension(mask), options, {}}, disk,
                                  events);
  }
  std::string file(const std::string& name) const { return test::readFile(dir.file(name)); }

  // Every line of every output stands in the source as it is (no "%" lines,
  // no conversion of the Japanese comments), and together they are all of it.
  void expectEveryLineKept(const std::string& source, const std::vector<std::string>& names) {
    ASSERT_EQ(split(source).end, SplitEnd::Done);
    ASSERT_EQ(test::namesIn(dir.path()), names);
    std::string joined;
    for (const std::string& name : names) {
      const std::string out = file(name);
      for (std::size_t at = 0, end; (end = out.find("\r\n", at)) != std::string::npos; at = end + 2)
        EXPECT_NE(source.find(out.substr(at, end - at + 2)), std::string::npos) << out.substr(at, end - at);
      joined += out;
    }
    std::string withoutPercent;
    for (std::size_t at = 0, end; (end = source.find("\r\n", at)) != std::string::npos; at = end + 2)
      if (source[at] != '%') withoutPercent += source.substr(at, end - at + 2);
    EXPECT_EQ(joined, withoutPercent);
  }
};

} // namespace

TEST_F(SplitTest, OneFilePerProgramWithAndWithoutPercentLines) {
  nctools::SplitResult r = split(kSevenLines);
  EXPECT_EQ(r.end, SplitEnd::Done);
  EXPECT_EQ(test::namesIn(dir.path()), (std::vector<std::string>{"O0001.NC", "O0002.NC"}));
  EXPECT_EQ(file("O0001.NC"), "O0001\r\nG0X0\r\nM30\r\n");
  EXPECT_EQ(file("O0002.NC"), "O0002(PART B)\r\nM30\r\n");
  EXPECT_EQ(headers, (std::vector<std::string>{"O0001", "O0002(PART B)"}));

  split(kSevenLines, {.F_Set = true, .B_Set = true});
  EXPECT_EQ(file("O0001.NC"), "%\r\nO0001\r\nG0X0\r\nM30\r\n%\r\n");
  EXPECT_EQ(file("O0002.NC"), "%\r\nO0002(PART B)\r\nM30\r\n%\r\n");

  std::filesystem::remove(dir.file("O0001.NC"));
  std::filesystem::remove(dir.file("O0002.NC"));
  split(kSevenLines, {.N_Set = true});
  EXPECT_EQ(test::namesIn(dir.path()), (std::vector<std::string>{"O0001_001.NC", "O0002_002.NC"}));
}

TEST_F(SplitTest, NamesFromTheHeaders) {
  split(":1234\r\nM30\r\nO5 (X)\r\nM30\r\no7\r\nM30\r\nL10\r\n");
  // ":" names the file with "O"; the blank before "(" stays; a lower-case o
  // opens no program; an "L" line does.
  EXPECT_EQ(test::namesIn(dir.path()), (std::vector<std::string>{"L10.NC", "O1234.NC", "O5 .NC"}));
  EXPECT_EQ(file("O5 .NC"), "O5 (X)\r\nM30\r\no7\r\nM30\r\n");

  // A header can never name a path of its own.
  split("O1/../../X\r\nM30\r\n");
  EXPECT_TRUE(test::fileExists(dir.file("O1_.._.._X.NC")));

  // "*.*" gives no extension at all.
  split("O9\r\nM30\r\n", {}, "*.*");
  EXPECT_EQ(file("O9"), "O9\r\nM30\r\n");

  // A header as long as a file name may be (255 bytes with the extension)
  // still gives its file; one byte more is a name no file can have.
  const std::string longest = "O7 " + std::string(249, 'A');
  EXPECT_EQ(split(longest + "\r\nM30\r\n").end, SplitEnd::Done);
  EXPECT_EQ(file(longest + ".NC"), longest + "\r\nM30\r\n");
  const nctools::SplitResult tooLong = split(longest + "B\r\nM30\r\n");
  EXPECT_EQ(tooLong.end, SplitEnd::CannotCreate);
  EXPECT_EQ(tooLong.failedPath, dir.file(longest + "B.NC"));
  EXPECT_FALSE(test::fileExists(dir.file(longest + "B.NC")));
}

TEST_F(SplitTest, HeadersInShiftJisNameTheirFilesInUtf8AndKeepTheirBytesInside) {
  // "荒加工", then "表" (whose second byte is the backslash 0x5C), then
  // half-width "ｱ", then bytes that are no CP932 at all, in CP932.
  const std::string rough = "O2001 \x8D\x72\x89\xC1\x8D\x48";
  const std::string table = "O2002\x95\x5C(\x95\x5C)";
  const std::string kana = ":2003\xB1";
  const std::string broken = "O2004\x80\xFF\x82";
  ASSERT_EQ(split(rough + "\r\nM30\r\n" + table + "\r\nM30\r\n" + kana + "\r\n" + broken + "\r\n").end,
            SplitEnd::Done);
  EXPECT_EQ(test::namesIn(dir.path()),
            (std::vector<std::string>{"O2001 荒加工.NC", "O2002表.NC", "O2003ｱ.NC", "O2004___.NC"}));
  // The program text is never converted.
  EXPECT_EQ(file("O2001 荒加工.NC"), rough + "\r\nM30\r\n");
  EXPECT_EQ(file("O2002表.NC"), table + "\r\nM30\r\n");
  EXPECT_EQ(file("O2004___.NC"), broken + "\r\n");
  EXPECT_EQ(headers, (std::vector<std::string>{rough, table, kana, broken}));

  // Numbered, and still never a path of its own after the conversion.
  EXPECT_EQ(nctools::splitFileName("O1\x81\x5E/..(X)", 7, true, ".NC"), "O1／_.._007.NC");
}

TEST_F(SplitTest, LinesBeforeTheFirstProgramEmptyLinesAndPercentLines) {
  split("(HEAD)\r\n%\r\nO1\r\n\r\nG00\r\n%X\r\nO2\r\nM30", {.F_Set = true});
  // The head goes first, ahead of the "%" line; "%" lines never copy; the
  // empty line stays; the last line without a line end gets one.
  EXPECT_EQ(file("O1.NC"), "(HEAD)\r\n%\r\nO1\r\n\r\nG00\r\n");
  EXPECT_EQ(file("O2.NC"), "%\r\nO2\r\nM30\r\n");
}

TEST_F(SplitTest, NoProgramNumberWritesNothingAndTheSameNumberTwiceKeepsTheLast) {
  EXPECT_EQ(split("%\r\nG00X0\r\nM30\r\n%\r\n").end, SplitEnd::NoProgram);
  EXPECT_TRUE(test::namesIn(dir.path()).empty());

  split("O1\r\nFIRST\r\nO1\r\nSECOND\r\n");
  EXPECT_EQ(test::namesIn(dir.path()), std::vector<std::string>{"O1.NC"});
  EXPECT_EQ(file("O1.NC"), "O1\r\nSECOND\r\n");
}

TEST_F(SplitTest, ShiftJisCommentsKeepTheirBytes) {
  expectEveryLineKept(test::written::shiftJisPrograms(), {"O2001.NC", "O2002.NC", "O2003.NC"});
  // The second bytes that look like "O", "`" and a backslash stayed with their first.
  EXPECT_NE(file("O2001.NC").find("(\x8AO\x8C` "), std::string::npos);
  EXPECT_NE(file("O2001.NC").find("\x83\\\x95\\)"), std::string::npos);
}

TEST_F(SplitTest, TheShiftJisSampleKeepsItsBytes) {
  KESTROVAN_NEEDS_SAMPLES("MULTI_PROGRAM_SJIS_O1001_O1003.NC");
  expectEveryLineKept(test::readFile(test::samplePath("MULTI_PROGRAM_SJIS_O1001_O1003.NC")),
                      {"O1001.NC", "O1002.NC", "O1003.NC"});
}

TEST_F(SplitTest, AFullDiskLeavesEveryFinishedProgramWholeAndNoHalfFile) {
  test::writeFile(dir.file("O0002.NC"), "older O0002\r\n");
  // Room for the first program, not for the second.
  test::FillingDisk full(20);
  nctools::SplitResult r = nctools::splitPrograms(kSevenLines, {dir.path(), ".NC", {}, {}}, full);
  EXPECT_EQ(r.end, SplitEnd::CannotCreate);
  EXPECT_EQ(r.failedPath, dir.file("O0002.NC"));
  EXPECT_EQ(r.error, ENOSPC);
  EXPECT_EQ(r.files, std::vector<std::string>{dir.file("O0001.NC")});
  EXPECT_EQ(file("O0001.NC"), "O0001\r\nG0X0\r\nM30\r\n");
  EXPECT_EQ(file("O0002.NC"), "older O0002\r\n"); // not destroyed before a new one was whole
  EXPECT_EQ(test::namesIn(dir.path()), (std::vector<std::string>{"O0001.NC", "O0002.NC"}));
}

TEST_F(SplitTest, ADestinationThatIsNoFolder) {
  test::writeFile(dir.file("plain"), "keep");
  nctools::SplitResult r = nctools::splitPrograms(kSevenLines, {dir.file("plain"), ".NC", {}, {}}, disk);
  EXPECT_EQ(r.end, SplitEnd::CannotCreate);
  EXPECT_EQ(r.failedPath, dir.file("plain") + "/O0001.NC");
  EXPECT_EQ(r.error, ENOTDIR);
  EXPECT_EQ(test::readFile(dir.file("plain")), "keep");
}

TEST(SplitOptionsFile, OneAndZeroAndAnyNumberThatIsNotZero) {
  test::TempDir dir;
  const std::string path = dir.file("Div_Sub.ini");
  nctools::SplitOptions none = nctools::loadSplitOptions(path);
  EXPECT_FALSE(none.F_Set || none.B_Set || none.N_Set);
  ASSERT_TRUE(nctools::saveSplitOptions(path, {.F_Set = true, .B_Set = false, .N_Set = true}));
  EXPECT_EQ(test::readFile(path), "[Sub]\r\nF_Set=1\r\nB_Set=0\r\nN_Set=1\r\n");
  test::writeFile(path, "[sub]\r\nf_set=7\r\nB_Set=0\r\n");
  nctools::SplitOptions read = nctools::loadSplitOptions(path);
  EXPECT_TRUE(read.F_Set);
  EXPECT_FALSE(read.B_Set);
  EXPECT_FALSE(read.N_Set);
}

TEST_F(SplitTest, AStoppedSplitKeepsTheFinishedProgramsOnlyAndAReadOnlyFileIsKept) {
  test::writeFile(dir.file("O0002.NC"), "older O0002\r\n");
  nctools::SplitEvents events;
  std::size_t seen = 0;
  events.progress = [&](std::size_t lines) { seen = lines; };
  events.stopRequested = [&] { return seen == 6; }; // in the second program, before its end
  nctools::SplitResult r = nctools::splitPrograms(kSevenLines, {dir.path(), ".NC", {}, {}}, disk, events);
  EXPECT_EQ(r.end, SplitEnd::Stopped);
  EXPECT_EQ(r.files, std::vector<std::string>{dir.file("O0001.NC")});
  EXPECT_EQ(file("O0001.NC"), "O0001\r\nG0X0\r\nM30\r\n");
  EXPECT_EQ(file("O0002.NC"), "older O0002\r\n");
  EXPECT_EQ(test::namesIn(dir.path()), (std::vector<std::string>{"O0001.NC", "O0002.NC"}));

  // The operator's read-only file is never written over, also by the
  // super-user; the programs before it stay.
  chmod(dir.file("O0002.NC").c_str(), 0444);
  r = split(kSevenLines, {.F_Set = true});
  EXPECT_EQ(r.end, SplitEnd::CannotCreate);
  EXPECT_EQ(r.failedPath, dir.file("O0002.NC"));
  EXPECT_EQ(r.error, EACCES);
  EXPECT_EQ(file("O0001.NC"), "%\r\nO0001\r\nG0X0\r\nM30\r\n");
  EXPECT_EQ(file("O0002.NC"), "older O0002\r\n");
  EXPECT_EQ(test::namesIn(dir.path()), (std::vector<std::string>{"O0001.NC", "O0002.NC"}));
}

TEST_F(SplitTest, TheSourceIsNeverAnOutputWhateverItIsCalled) {
  // The dump is split through a link to it; its second program carries its
  // real name. The first program's file is whole, the dump untouched.
  const std::string dump = "O0001\r\nM30\r\nO0002\r\nM30\r\n";
  test::writeFile(dir.file("O0002.NC"), dump);
  std::filesystem::create_symlink(dir.file("O0002.NC"), dir.file("LINK.NC"));
  const nctools::SplitResult r =
      nctools::splitPrograms(dump, {dir.path(), ".NC", {}, dir.file("LINK.NC")}, disk);
  EXPECT_EQ(r.end, SplitEnd::CannotCreate);
  EXPECT_EQ(r.failedPath, dir.file("O0002.NC"));
  EXPECT_EQ(r.files, std::vector<std::string>{dir.file("O0001.NC")});
  EXPECT_EQ(file("O0001.NC"), "O0001\r\nM30\r\n");
  EXPECT_EQ(file("O0002.NC"), dump);
  EXPECT_EQ(test::namesIn(dir.path()), (std::vector<std::string>{"LINK.NC", "O0001.NC", "O0002.NC"}));
}
