// Replacing files: what is left on disk, links included.
#include "platform/AtomicFile.h"
#include "platform/Paths.h"
#include "platform/WorkingCopy.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

using namespace kestrovan;
namespace fs = std::filesystem;

namespace {

std::set<std::string> namesIn(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(folder))
    names.insert(e.path().filename().string());
  return names;
}

bool isLink(const std::string& path) { return fs::is_symlink(fs::symlink_status(path)); }

} // namespace

TEST(AtomicFile, ALinkStaysALinkAndTheFileItLeadsToIsReplaced) {
  test::TempDir dir;
  ASSERT_EQ(mkdir(dir.file("real").c_str(), 0755), 0);
  ASSERT_EQ(mkdir(dir.file("program").c_str(), 0755), 0);
  const std::string target = dir.file("real/kestrovan.INI");
  test::writeFile(target, "[Setting]\r\nPort=COM1\r\n");
  ASSERT_EQ(chmod(target.c_str(), 0640), 0);
  // A relative link, reached through a second one.
  ASSERT_EQ(symlink("../real/kestrovan.INI", dir.file("program/kestrovan.INI").c_str()), 0);
  ASSERT_EQ(symlink("kestrovan.INI", dir.file("program/settings").c_str()), 0);

  ASSERT_TRUE(platform::writeFileAtomically(dir.file("program/settings"), "[Setting]\r\nPort=COM2\r\n"));
  EXPECT_TRUE(isLink(dir.file("program/settings")));
  EXPECT_TRUE(isLink(dir.file("program/kestrovan.INI")));
  EXPECT_EQ(test::readFile(target), "[Setting]\r\nPort=COM2\r\n");
  struct stat st {};
  ASSERT_EQ(stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  // The temporary file went beside the target and is gone.
  EXPECT_EQ(namesIn(dir.file("real")), std::set<std::string>{"kestrovan.INI"});
  EXPECT_EQ(namesIn(dir.file("program")), (std::set<std::string>{"kestrovan.INI", "settings"}));
}

TEST(AtomicFile, ALinkToNothingYetGetsItsFileWhereItPoints) {
  test::TempDir dir;
  ASSERT_EQ(mkdir(dir.file("real").c_str(), 0755), 0);
  ASSERT_EQ(symlink(dir.file("real/NEW.INI").c_str(), dir.file("NEW.INI").c_str()), 0);
  ASSERT_TRUE(platform::writeFileAtomically(dir.file("NEW.INI"), "x\r\n"));
  EXPECT_TRUE(isLink(dir.file("NEW.INI")));
  EXPECT_EQ(test::readFile(dir.file("real/NEW.INI")), "x\r\n");
  EXPECT_EQ(namesIn(dir.file("real")), std::set<std::string>{"NEW.INI"});
}

TEST(AtomicFile, ALinkThatLeadsRoundInACircleIsNotWritten) {
  test::TempDir dir;
  ASSERT_EQ(symlink("b", dir.file("a").c_str()), 0);
  ASSERT_EQ(symlink("a", dir.file("b").c_str()), 0);
  EXPECT_FALSE(platform::writeFileAtomically(dir.file("a"), "x"));
  EXPECT_TRUE(isLink(dir.file("a")));
  EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"a", "b"}));
}

TEST(AtomicFile, NamesOfUpTo255BytesAreReplacedThroughAShortenedHiddenWorkingCopy) {
  test::TempDir dir;
  std::string longest;
  for (int i = 0; i < 85; ++i)
    longest += "プ"; // 255 bytes
  const std::string ascii(255, 'N');
  for (const std::string& name : {longest, ascii}) {
    ASSERT_TRUE(platform::writeFileAtomically(dir.file(name), "old")) << name.size();
    const platform::WriteResult r = platform::writeFileAtomically(dir.file(name), "%\r\nO1\r\n%\r\n");
    EXPECT_TRUE(r) << r.error;
    EXPECT_EQ(test::readFile(dir.file(name)), "%\r\nO1\r\n%\r\n");
  }
  EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{longest, ascii}));
}

TEST(WorkingCopy, OnePatternCutWithinNameLengthAndWholeCharacters) {
  std::string longest;
  for (int i = 0; i < 85; ++i)
    longest += "プ";
  const std::string name = platform::baseNameOf(platform::workingCopyTemplate("/data/" + longest));
  EXPECT_LE(name.size(), 255u);
  std::string cut;
  for (int i = 0; i < 81; ++i)
    cut += "プ"; // 243 of the 244 bytes left: the 82nd character would not fit whole
  EXPECT_EQ(name, "." + cut + ".~kvXXXXXX");
  EXPECT_EQ(platform::workingCopyTemplate("/data/O1.NC"), "/data/.O1.NC.~kvXXXXXX");
  EXPECT_EQ(platform::workingCopyTemplate("O1.NC"), "./.O1.NC.~kvXXXXXX");
  EXPECT_TRUE(platform::isWorkingCopyName(".O1.NC.~kvAb3dE9"));
  for (const char* other :
       {"O1.NC.~kvAb3dE9", ".O1.NC.~kvAb3dE", ".O1.NC.~kvAb3d-9", ".~kvAb3dE9", ".O1.NC.oHeJgV"})
    EXPECT_FALSE(platform::isWorkingCopyName(other)) << other;
}
