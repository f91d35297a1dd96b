// The platform seams under the list: folder search, wildcards, short names.

#include "FileListFixture.h"

#include "platform/DirectoryEnum.h"
#include "platform/ShortNames.h"
#include "platform/Wildcard.h"

#include <algorithm>
#include <sys/stat.h>

namespace kestrovan::platform {
namespace {

using kestrovan::files::test::makeFile;
using kestrovan::files::test::makeFolder;
using Names = std::vector<std::string>;

Names sortedNames(const std::vector<DirEntry>& entries) {
  Names out;
  for (const auto& e : entries) out.push_back(e.name);
  std::sort(out.begin(), out.end());
  return out;
}

TEST(DirectorySearch, ReportsKindSizeTimeAndAttributes) {
  kestrovan::test::TempDir dir;
  makeFile(dir.file("O1.NC"), std::uint64_t{5} << 30, 1714979289);
  makeFile(dir.file(".hidden"), 3);
  makeFolder(dir.file("SUB"), 1672628645);
  makeFile(dir.file("ro.nc"), 1);
  ::chmod(dir.file("ro.nc").c_str(), 0444);

  const auto entries = searchDirectory(dir.path() + "/*.*");
  ASSERT_TRUE(entries);
  // A folder other than the root holds "." and ".." as well.
  EXPECT_EQ(sortedNames(*entries), (Names{".", "..", ".hidden", "O1.NC", "SUB", "ro.nc"}));
  for (const auto& e : *entries) {
    if (e.name == "O1.NC") {
      EXPECT_EQ(e.size, std::uint64_t{5} << 30);
      EXPECT_EQ(e.modified, 1714979289);
      EXPECT_FALSE(e.isFolder || e.readOnly || e.hidden);
    } else if (e.name == "SUB") {
      EXPECT_TRUE(e.isFolder);
      EXPECT_EQ(e.modified, 1672628645);
    } else if (e.name == "ro.nc") {
      EXPECT_TRUE(e.readOnly);
    } else if (e.name == ".hidden") {
      EXPECT_TRUE(e.hidden);
    }
  }
  EXPECT_EQ(sortedNames(listDirectory(dir.path())), (Names{".hidden", "O1.NC", "SUB", "ro.nc"}));
  EXPECT_EQ(entryInfo(dir.file("SUB"))->isFolder, true);
  EXPECT_FALSE(entryInfo(dir.file("none")));
}

TEST(DirectorySearch, FailsForMissingFoldersAndPatternsThatMatchNothing) {
  kestrovan::test::TempDir dir;
  makeFile(dir.file("O1.NC"), 1);
  EXPECT_FALSE(searchDirectory(dir.file("missing") + "/*.*"));
  EXPECT_FALSE(searchDirectory(dir.path() + "/*XYZ*"));
  EXPECT_EQ(sortedNames(*searchDirectory(dir.path() + "/o1*")), Names{"O1.NC"});
  const auto root = searchDirectory("/*.*");
  ASSERT_TRUE(root);
  for (const auto& e : *root) EXPECT_TRUE(e.name != "." && e.name != "..");
}

TEST(Wildcard, MatchesLikeTheDesktopSearch) {
  EXPECT_TRUE(wildcardMatch("*.*", "README"));
  EXPECT_TRUE(wildcardMatch("*.nc", "O1.NC"));
  EXPECT_FALSE(wildcardMatch("*.nc", "O1.NC1"));
  EXPECT_TRUE(wildcardMatch("O?.NC", "O1.nc"));
  EXPECT_FALSE(wildcardMatch("O?.NC", "O12.NC"));
  EXPECT_TRUE(wildcardMatch("?.NC", "あ.NC")); // one character, not one byte
  EXPECT_TRUE(wildcardMatch("*ab*", "xxABxx"));
  EXPECT_TRUE(wildcardMatch("O12*.*", "O123"));
  EXPECT_TRUE(wildcardMatch("*.", "README"));
  EXPECT_FALSE(wildcardMatch("*.", "O1.NC"));
  EXPECT_TRUE(wildcardMatch("a*b*c", "aXbYbZc"));
  EXPECT_FALSE(wildcardMatch("a*b*c", "aXbYbZ"));
}

TEST(ShortNames, ValidNamesStayAndOthersAreFormed) {
  EXPECT_TRUE(isValidShortName("O1234.NC"));
  EXPECT_TRUE(isValidShortName("abc.nc"));
  EXPECT_TRUE(isValidShortName("テスト.NC")); // six CP932 bytes
  EXPECT_FALSE(isValidShortName("my file.nc"));
  EXPECT_FALSE(isValidShortName("a.b.c"));
  EXPECT_FALSE(isValidShortName("O1.NCXX"));

  const Names names = {"O1234.NC",    "LongProgramName.nc", "my file.text", ".profile",
                       "a+b.txt",     "archive.tar.gz",     "日本語のファイル.NC", "abc.nc"};
  EXPECT_EQ(formShortNames(names),
            (Names{"O1234.NC", "LONGPR~1.NC", "MYFILE~1.TEX", "PROFIL~1", "A_B~1.TXT",
                   "ARCHIV~1.GZ", "日本語~1.NC", "abc.nc"}));
}

TEST(ShortNames, NumbersCountUpInNameOrderAndAvoidExistingNames) {
  Names names = {"LongProgramB.nc", "LONGPR~1.NC", "LongProgramA.nc"};
  EXPECT_EQ(formShortNames(names), (Names{"LONGPR~3.NC", "LONGPR~1.NC", "LONGPR~2.NC"}));

  names.clear();
  for (int i = 0; i < 12; ++i) names.push_back("LongProgram" + std::string(1, char('a' + i)) + ".nc");
  const Names shorts = formShortNames(names);
  EXPECT_EQ(shorts[8], "LONGPR~9.NC");
  EXPECT_EQ(shorts[9], "LONGP~10.NC"); // the prefix gives way to the number
  // Same prefix, other extension: numbering starts again.
  EXPECT_EQ(formShortNames({"LongProgram.nc", "LongProgram.txt"}),
            (Names{"LONGPR~1.NC", "LONGPR~1.TXT"}));
}

TEST(ShortNames, LookupOnDiskFollowsTheFolder) {
  kestrovan::test::TempDir dir;
  makeFile(dir.file("LongProgramName.nc"), 1);
  EXPECT_EQ(shortNameOf(dir.file("LongProgramName.nc")), "LONGPR~1.NC");
  EXPECT_FALSE(shortNameOf(dir.file("gone.nc")));
  EXPECT_EQ(readShortNames(dir.path()).size(), 1u);
}

} // namespace
} // namespace kestrovan::platform
