// Renames that never replace, case changes on file systems that ignore case,
// the rename kinds, the extension prompt's masks and the copy targets.

#include "files/CopyTargets.h"
#include "files/RenameRules.h"
#include "platform/Rename.h"
#include "support/RefusingVolume.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

using namespace kestrovan;
using files::RenameKind;
using test::readFile;
using test::writeFile;

TEST(RenameEntry, ANameInUseLeavesBothFilesAsTheyWere) {
  test::TempDir d;
  writeFile(d.file("o1000.nc"), "first");
  writeFile(d.file("O1000.NC"), "second");
  EXPECT_EQ(platform::renameEntry(d.file("o1000.nc"), d.file("O1000.NC")), EEXIST);
  EXPECT_EQ(readFile(d.file("o1000.nc")), "first");
  EXPECT_EQ(readFile(d.file("O1000.NC")), "second");
  // Two names of one file (a hard link) are two entries here: both stay.
  link(d.file("o1000.nc").c_str(), d.file("O1000.nc").c_str());
  EXPECT_EQ(platform::renameEntry(d.file("o1000.nc"), d.file("O1000.nc")), EEXIST);
  EXPECT_EQ(readFile(d.file("o1000.nc")), "first");
  EXPECT_EQ(readFile(d.file("O1000.nc")), "first");
  EXPECT_EQ(platform::renameEntry(d.file("o1000.nc"), d.file("o2000.nc")), 0);
  EXPECT_EQ(readFile(d.file("o2000.nc")), "first");
}

namespace {
// A folder of a file system that ignores case (FAT): names found in any case,
// kept in the case they were given; renaming onto a name that finds another
// entry fails, onto one that finds the entry itself the system does nothing.
struct CaseBlindFolder {
  std::map<std::string, std::string> entries; // upper-case key -> stored name
  static std::string key(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
    return s;
  }
  platform::RenameCalls calls() {
    return {[this](const std::string& from, const std::string& to) {
              if (!entries.count(key(from))) return ENOENT;
              if (entries.count(key(to))) return EEXIST; // RENAME_NOREPLACE sees the entry
              entries.erase(key(from));
              entries[key(to)] = to;
              return 0;
            },
            [this](const std::string& a, const std::string& b) {
              return entries.count(key(a)) && key(a) == key(b);
            },
            [this](const std::string& p) { return entries.count(key(p)) > 0; }};
  }
};
} // namespace

TEST(RenameEntry, ACaseChangeWorksWhereTheFileSystemIgnoresCase) {
  CaseBlindFolder fat;
  fat.entries = {{"O1000.NC", "o1000.nc"}, {"X.NC", "x.Nc"}};
  EXPECT_EQ(platform::renameEntryWith(fat.calls(), "o1000.nc", "O1000.NC"), 0);
  EXPECT_EQ(fat.entries.at("O1000.NC"), "O1000.NC");
  EXPECT_EQ(fat.entries.size(), 2u);
  // A name that is another entry is refused as anywhere else.
  EXPECT_EQ(platform::renameEntryWith(fat.calls(), "x.Nc", "o1000.nc"), EEXIST);
  EXPECT_EQ(fat.entries.at("X.NC"), "x.Nc");
  // On a file system that keeps case the direct rename does it.
  test::TempDir d;
  writeFile(d.file("o1000.NC"), "p");
  EXPECT_EQ(platform::renameEntry(d.file("o1000.NC"), d.file("O1000.nc")), 0);
  EXPECT_EQ(readFile(d.file("O1000.nc")), "p");
  EXPECT_FALSE(test::fileExists(d.file("o1000.NC")));
}

TEST(RefusingVolume, RenamesOfFilesAndFoldersWorkAndANameInUseIsKept) {
  KESTROVAN_ON_REFUSING_VOLUME();
  test::TempDir d;
  writeFile(d.file("o1000.nc"), "first");
  writeFile(d.file("O2000.NC"), "second");
  mkdir(d.file("old").c_str(), 0755);
  writeFile(d.file("old/O3.NC"), "third");
  EXPECT_EQ(platform::renameEntry(d.file("o1000.nc"), d.file("O2000.NC")), EEXIST);
  EXPECT_EQ(platform::renameEntry(d.file("old"), d.file("O2000.NC")), EEXIST);
  EXPECT_EQ(readFile(d.file("o1000.nc")), "first");
  EXPECT_EQ(readFile(d.file("O2000.NC")), "second");
  EXPECT_EQ(platform::renameEntry(d.file("o1000.nc"), d.file("O1000.NC")), 0);
  EXPECT_EQ(readFile(d.file("O1000.NC")), "first");
  EXPECT_FALSE(test::fileExists(d.file("o1000.nc")));
  EXPECT_EQ(platform::renameEntry(d.file("old"), d.file("新しい")), 0);
  EXPECT_EQ(readFile(d.file("新しい/O3.NC")), "third");
}

namespace {
// A FAT or exFAT volume through FUSE: it ignores case, and has neither the
// no-replace rename nor hard links. A plain rename onto another entry
// replaces it, as rename() does.
struct CaseBlindFuseFolder : CaseBlindFolder {
  platform::NoReplaceCalls volume() {
    return {[](const std::string&, const std::string&) { return EINVAL; },
            [](const std::string&, const std::string&) { return EPERM; },
            [this](const std::string& p) { return entries.erase(key(p)) ? 0 : ENOENT; },
            [this](const std::string& p) { return entries.count(key(p)) > 0; },
            [this](const std::string& from, const std::string& to) {
              if (!entries.count(key(from))) return ENOENT;
              entries.erase(key(from));
              entries[key(to)] = to;
              return 0;
            }};
  }
  platform::RenameCalls calls() {
    platform::RenameCalls c = CaseBlindFolder::calls();
    c.renameNoReplace = [this](const std::string& from, const std::string& to) {
      return platform::renameNoReplaceWith(volume(), from, to);
    };
    return c;
  }
};
} // namespace

TEST(RefusingVolume, ACaseChangeWorksAndANameInUseIsKeptWhereCaseIsIgnored) {
  CaseBlindFuseFolder stick;
  stick.entries = {{"O1000.NC", "o1000.nc"}, {"X.NC", "x.Nc"}};
  EXPECT_EQ(platform::renameEntryWith(stick.calls(), "o1000.nc", "O1000.NC"), 0);
  EXPECT_EQ(stick.entries.at("O1000.NC"), "O1000.NC");
  EXPECT_EQ(platform::renameEntryWith(stick.calls(), "x.Nc", "o1000.NC"), EEXIST);
  EXPECT_EQ(stick.entries.at("X.NC"), "x.Nc");
  EXPECT_EQ(stick.entries.at("O1000.NC"), "O1000.NC");
  EXPECT_EQ(platform::renameEntryWith(stick.calls(), "x.Nc", "O2000.NC"), 0);
  EXPECT_EQ(stick.entries,
            (std::map<std::string, std::string>{{"O1000.NC", "O1000.NC"}, {"O2000.NC", "O2000.NC"}}));
}

TEST(RenameKinds, CaseKindsChangeOnlyHalfWidthLettersAndKeepJapaneseWhole) {
  EXPECT_EQ(files::nameByKind(RenameKind::Upper, "o1000.nc"), "O1000.NC");
  EXPECT_EQ(files::nameByKind(RenameKind::Upper, "O2000.nc"), "O2000.NC");
  EXPECT_EQ(files::nameByKind(RenameKind::Upper, "x.Nc"), "X.NC");
  EXPECT_EQ(files::nameByKind(RenameKind::Lower, "O1000.NC"), "o1000.nc");
  EXPECT_EQ(files::nameByKind(RenameKind::Capitalised, "o1000.NC"), "O1000.nc");
  EXPECT_EQ(files::nameByKind(RenameKind::Capitalised, "加工ABC.NC"), "加工abc.nc");
  EXPECT_EQ(files::nameByKind(RenameKind::Upper, "ｶﾞｲﾄﾞo.nc"), "ｶﾞｲﾄﾞO.NC");
  EXPECT_EQ(files::nameByKind(RenameKind::Rename, "o1.nc"), "o1.nc");
  const files::CapitalisedEdit e = files::capitalisedWhileTyping("aBC", 0);
  EXPECT_EQ(e.text, "Abc");
  EXPECT_EQ(e.caret, 1);
  EXPECT_FALSE(files::validEntryName("../O1.NC"));
  EXPECT_FALSE(files::validEntryName(".."));
  EXPECT_FALSE(files::validEntryName(""));
  EXPECT_TRUE(files::validEntryName(".NC"));
}

TEST(ExtensionPrompt, TheTypedTextBecomesTheMaskOrIsRefused) {
  EXPECT_EQ(files::maskForExtension("NC"), "*.NC");
  EXPECT_EQ(files::maskForExtension(".nc"), "*.nc");
  EXPECT_EQ(files::maskForExtension("*.NC"), "*.NC");
  EXPECT_EQ(files::maskForExtension("O1*.NC"), "O1*.NC");
  for (const char* all : {"*.*", ".*", "*.", "*"})
    EXPECT_FALSE(files::maskForExtension(all).has_value()) << all;
}

TEST(CopyTargets, ThePromptNameGetsTheMasksExtensionAndTheSameFolderIsSeenInAnyCase) {
  EXPECT_EQ(files::copyPromptTarget("/nc", "ABC", "N", "*.NC"), "/nc/ABC.NC");
  EXPECT_EQ(files::copyPromptTarget("/nc", "ABC.TXT", "Y", "*.NC"), "/nc/ABC.TXT");
  EXPECT_EQ(files::copyPromptTarget("/nc", "ABC", "N", "*.*"), "/nc/ABC");
  EXPECT_EQ(files::destinationFolder("/nc/sub/", "/nc"), "/nc/sub");
  EXPECT_EQ(files::destinationFolder("sub", "/nc"), "/nc/sub");
  test::TempDir d;
  mkdir(d.file("NC").c_str(), 0755);
  symlink(d.file("NC").c_str(), d.file("LINK").c_str());
  EXPECT_TRUE(files::sameFolder(d.file("nc/"), d.file("NC")));
  EXPECT_TRUE(files::sameFolder(d.file("LINK"), d.file("NC")));
  EXPECT_FALSE(files::sameFolder(d.path(), d.file("NC")));
}
