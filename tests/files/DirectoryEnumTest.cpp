// The platform seams under the list: folder search and wildcards (short
// names: ShortNamesTest.cpp).

#include "FileListFixture.h"

#include "platform/DirectoryEnum.h"
#include "platform/Wildcard.h"

#include <algorithm>
#include <sys/stat.h>

namespace kestrovan::platform {
namespace {

using kestrovan::files::test::makeFile;
using kestrovan::files::test::makeFolder;
using Names = std::vector<std::string>;

const DirEntry& find(const std::vector<DirEntry>& entries, const std::string& name) {
  return *std::find_if(entries.begin(), entries.end(), [&](const DirEntry& e) { return e.name == name; });
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
  Names names;
  for (const auto& e : *entries)
    names.push_back(e.name);
  std::sort(names.begin(), names.end());
  // A folder other than the root holds "." and ".." as well.
  EXPECT_EQ(names, (Names{".", "..", ".hidden", "O1.NC", "SUB", "ro.nc"}));
  const DirEntry& big = find(*entries, "O1.NC");
  EXPECT_EQ(big.size, std::uint64_t{5} << 30);
  EXPECT_EQ(big.modified, 1714979289);
  EXPECT_FALSE(big.isFolder || big.readOnly || big.hidden);
  EXPECT_TRUE(find(*entries, "SUB").isFolder);
  EXPECT_TRUE(find(*entries, "ro.nc").readOnly);
  EXPECT_TRUE(find(*entries, ".hidden").hidden);
  EXPECT_EQ(listDirectory(dir.path()).size(), 4u);
}

TEST(DirectorySearch, FailsForMissingFoldersAndPatternsThatMatchNothing) {
  kestrovan::test::TempDir dir;
  makeFile(dir.file("O1.NC"), 1);
  EXPECT_FALSE(searchDirectory(dir.file("missing") + "/*.*"));
  EXPECT_FALSE(searchDirectory(dir.path() + "/*XYZ*"));
  EXPECT_EQ(searchDirectory(dir.path() + "/o1*")->size(), 1u);
  const auto root = searchDirectory("/*.*");
  ASSERT_TRUE(root);
  for (const auto& e : *root)
    EXPECT_TRUE(e.name != "." && e.name != "..");
}

TEST(Wildcard, MatchesLikeTheDesktopSearch) {
  EXPECT_TRUE(wildcardMatch("*.*", "README"));
  EXPECT_TRUE(wildcardMatch("*.nc", "O1.NC"));
  EXPECT_FALSE(wildcardMatch("*.nc", "O1.NC1"));
  EXPECT_FALSE(wildcardMatch("O?.NC", "O12.NC"));
  EXPECT_TRUE(wildcardMatch("?.NC", "あ.NC")); // one character, not one byte
  EXPECT_TRUE(wildcardMatch("O12*.*", "O123"));
  EXPECT_TRUE(wildcardMatch("*.", "README"));
  EXPECT_FALSE(wildcardMatch("*.", "O1.NC"));
  EXPECT_FALSE(wildcardMatch("a*b*c", "aXbYbZ"));
}

} // namespace
} // namespace kestrovan::platform
