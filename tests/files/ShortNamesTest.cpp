// Short names: formed from the long name alone, so the name the short layout
// shows for a file stays while the folder around it changes.

#include "FileListFixture.h"

#include "platform/ShortNames.h"

#include <filesystem>
#include <map>

namespace kestrovan::platform {
namespace {

using kestrovan::files::test::makeFile;
using Names = std::vector<std::string>;

TEST(ShortNames, ValidNamesStayAndOthersAreFormedFromTheirLongNameAlone) {
  const Names names = {"O1234.NC",       "LongProgramName.nc",  "my file.text", ".profile",  "a+b.txt",
                       "archive.tar.gz", "日本語のファイル.NC", "abc.nc",       "テスト.NC", "O1.NCXX"};
  // Two bytes of the name, FNV-1a of the long name folded to four hex digits,
  // "~1", three characters of the extension. A two-byte character fills both
  // name bytes. The digits are the same on every machine and every run.
  EXPECT_EQ(formShortNames(names),
            (Names{"O1234.NC", "LO7423~1.NC", "MY6B3A~1.TEX", "PR6839~1", "A_DE17~1.TXT", "ARB129~1.GZ",
                   "日A4D6~1.NC", "abc.nc", "テスト.NC", "O108B9~1.NCX"}));
  EXPECT_EQ(shortNameHash(""), "1CD9"); // the FNV offset basis 0x811C9DC5, folded
  // The same long name gets the same short name in any folder, in any order.
  EXPECT_EQ(formShortNames({"LongProgram.txt", "LongProgram.nc"}), (Names{"LO8D41~1.TXT", "LO84A3~1.NC"}));
  EXPECT_EQ(formShortNames({"zzz.nc", "LongProgram.nc"})[1], "LO84A3~1.NC");
}

TEST(ShortNames, ACollisionIsBrokenByLongNameOrder) {
  // Both hash to 7EE3: the first in byte order keeps "~1".
  EXPECT_EQ(formShortNames({"LatheProgram198.nc", "LatheProgram1.nc"}),
            (Names{"LA7EE3~2.NC", "LA7EE3~1.NC"}));
  // A file that bears the formed name itself keeps it; the others count on.
  EXPECT_EQ(formShortNames({"LatheProgram198.nc", "LA7EE3~1.NC", "LatheProgram1.nc"}),
            (Names{"LA7EE3~3.NC", "LA7EE3~1.NC", "LA7EE3~2.NC"}));
  // The same digits with another extension are no collision (both 54FB).
  EXPECT_EQ(formShortNames({"LatheProgram10981.nc", "LatheProgram1.tx"}),
            (Names{"LA54FB~1.NC", "LA54FB~1.TX"}));

  kestrovan::test::TempDir dir;
  makeFile(dir.file("LongProgramName.nc"), 1);
  EXPECT_EQ(shortNameOf(dir.file("LongProgramName.nc")), "LO7423~1.NC");
  EXPECT_FALSE(shortNameOf(dir.file("gone.nc")));
}

} // namespace
} // namespace kestrovan::platform

namespace kestrovan::files::test {
namespace {

using Names = std::vector<std::string>;

class ShortNameListTest : public FileListTest {
protected:
  // Row text (mark column, short name, extension, size, date) by long name.
  std::map<std::string, std::string> shownRows() {
    refresh();
    std::map<std::string, std::string> rows;
    for (int r = 0; r < static_cast<int>(view.rows.size()); ++r)
      if (const FileEntry* e = list.entryAt(r)) rows[e->name] = view.rows[static_cast<std::size_t>(r)];
    return rows;
  }
  void expectUnchanged(const std::map<std::string, std::string>& before,
                       const std::map<std::string, std::string>& after, const Names& names) {
    for (const std::string& name : names) {
      ASSERT_TRUE(before.count(name) && after.count(name)) << name;
      EXPECT_EQ(after.at(name), before.at(name)) << name;
    }
  }
};

TEST_F(ShortNameListTest, AddingRemovingAndRenamingOtherFilesNeverChangesAShownShortName) {
  options.listColumn = 2;
  for (const char* name : {"LATHE_PROGRAM_A.NC", "LATHE_PROGRAM_B.NC", "LATHE_PROGRAM_C.NC",
                           "LATHE_PROGRAM_D.NC", "旋盤プログラム.NC"})
    makeFile(dir.file(name), 100);
  const auto before = shownRows();
  EXPECT_EQ(before.at("LATHE_PROGRAM_A.NC").substr(0, 12), " LA0F86~1.NC");
  EXPECT_EQ(before.at("LATHE_PROGRAM_D.NC").substr(0, 12), " LA8D40~1.NC");
  const Names kept = {"LATHE_PROGRAM_A.NC", "LATHE_PROGRAM_C.NC", "旋盤プログラム.NC"};

  // A program that sorts ahead of all of them comes in.
  makeFile(dir.file("LATHE_PROGRAM_0.NC"), 100);
  makeFile(dir.file("LATHE_0.NC"), 100);
  auto after = shownRows();
  expectUnchanged(before, after,
                  {"LATHE_PROGRAM_A.NC", "LATHE_PROGRAM_B.NC", "LATHE_PROGRAM_C.NC", "LATHE_PROGRAM_D.NC",
                   "旋盤プログラム.NC"});
  EXPECT_EQ(after.at("LATHE_PROGRAM_0.NC").substr(0, 12), " LA24AA~1.NC");

  // One goes, one is renamed to sort first.
  std::filesystem::remove(dir.file("LATHE_PROGRAM_B.NC"));
  std::filesystem::rename(dir.file("LATHE_PROGRAM_D.NC"), dir.file("LATHE_PROGRAM_.NC"));
  after = shownRows();
  expectUnchanged(before, after, kept);
  EXPECT_EQ(after.count("LATHE_PROGRAM_B.NC"), 0u);

  // And back: the renamed file shows its old short name again.
  std::filesystem::rename(dir.file("LATHE_PROGRAM_.NC"), dir.file("LATHE_PROGRAM_D.NC"));
  after = shownRows();
  expectUnchanged(before, after, {"LATHE_PROGRAM_A.NC", "LATHE_PROGRAM_C.NC", "LATHE_PROGRAM_D.NC"});
}

} // namespace
} // namespace kestrovan::files::test
