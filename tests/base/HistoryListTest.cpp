// The one history-list format of Path.lst, FIND.LST and NAME.lst, on real
// files in a temporary folder.

#include "base/HistoryList.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using kestrovan::base::HistoryList;

namespace {
std::vector<std::string> numbered(int from, int to) {
  std::vector<std::string> e;
  for (int i = from; i <= to; ++i)
    e.push_back("/nc/" + std::to_string(i));
  return e;
}
} // namespace

TEST(HistoryList, NewestFirstARepeatMovesUpAndTheTwentyFirstPushesTheOldestOut) {
  HistoryList h(numbered(1, 20));
  h.add("/nc/7");
  EXPECT_EQ(h.entries().front(), "/nc/7");
  EXPECT_EQ(h.entries().size(), 20u);
  EXPECT_EQ(std::count(h.entries().begin(), h.entries().end(), "/nc/7"), 1);
  h.add("/nc/new");
  EXPECT_EQ(h.entries().size(), 20u);
  EXPECT_EQ(h.entries().front(), "/nc/new");
  EXPECT_EQ(h.entries().back(), "/nc/19"); // /nc/20 was the oldest
  h.add("/nc/new/");                       // kept as typed: a trailing "/" makes another entry
  EXPECT_EQ(h.entries()[0], "/nc/new/");
  EXPECT_EQ(h.entries()[1], "/nc/new");
}

TEST(HistoryList, OnlyTheFirstLaterDuplicateGoes) {
  HistoryList h({"A", "B", "A", "C"}); // a file edited by hand may hold one twice
  h.add("A");
  EXPECT_EQ(h.entries(), (std::vector<std::string>{"A", "B", "A", "C"}));
}

TEST(HistoryList, ShiftJisCrLfFileRoundTrips) {
  kestrovan::test::TempDir dir;
  const std::string path = dir.file("Path.lst");
  EXPECT_TRUE(HistoryList::load(path).empty()); // no file: no entries
  HistoryList h;
  h.add("/home/op/NC");
  h.add("/home/op/加工データ");
  ASSERT_TRUE(h.save(path));
  EXPECT_EQ(kestrovan::test::readFile(path),
            "/home/op/\x89\xc1\x8d\x48\x83\x66\x81\x5b\x83\x5e\r\n/home/op/NC\r\n");
  EXPECT_EQ(HistoryList::load(path).entries(), h.entries());

  // A last line without its line end counts; so do LF-only lines.
  kestrovan::test::writeFile(path, "/a\n/b\r\n/c");
  EXPECT_EQ(HistoryList::load(path).entries(), (std::vector<std::string>{"/a", "/b", "/c"}));
}

// A folder typed with an input method's wave dash (U+301C, which CP932 would
// bring back as U+FF5E), a name with a letter CP932 has not, and a folder
// whose name is bytes of no UTF-8 come back as they went; the entries CP932
// holds exactly stay CP932, so the file still reads as before.
TEST(HistoryList, NamesCp932CannotHoldExactlyComeBackUnchanged) {
  kestrovan::test::TempDir dir;
  const std::string path = dir.file("Path.lst");
  HistoryList h;
  h.add("/home/op/\x83\x65\x83\x58\x83\x67");
  h.add("/home/op/café");
  h.add("/home/op/加工〜NC");
  h.add("/home/op/加工データ");
  ASSERT_TRUE(h.save(path));
  EXPECT_EQ(HistoryList::load(path).entries(), h.entries());
  const std::string file = kestrovan::test::readFile(path);
  EXPECT_EQ(file.substr(0, file.find("\r\n")), "/home/op/\x89\xc1\x8d\x48\x83\x66\x81\x5b\x83\x5e");
  EXPECT_EQ(file.find("caf?"), std::string::npos);
  // Saved again, nothing changes.
  HistoryList again = HistoryList::load(path);
  again.add("/home/op/加工〜NC");
  ASSERT_TRUE(again.save(path));
  EXPECT_EQ(HistoryList::load(path).entries(),
            (std::vector<std::string>{"/home/op/加工〜NC", "/home/op/加工データ", "/home/op/café",
                                      "/home/op/\x83\x65\x83\x58\x83\x67"}));
}

TEST(HistoryList, AHugeFileGivesItsFirstTwentyEntriesAndLinesLongerThanAPathAreSkipped) {
  kestrovan::test::TempDir dir;
  std::string many;
  for (int i = 1; i <= 100000; ++i)
    many += "/nc/" + std::to_string(i) + "\r\n";
  kestrovan::test::writeFile(dir.file("Path.lst"), many);
  EXPECT_EQ(HistoryList::load(dir.file("Path.lst")).entries(), numbered(1, 20));

  // A 5 MB line between two folders, and lines of the longest path and one
  // byte more; the last line has no CR LF.
  const std::string longest = "/" + std::string(4094, 'n');
  kestrovan::test::writeFile(dir.file("Path.lst"), "/nc/1\r\n" + std::string(5u << 20, 'x') + "\r\n" +
                                                       longest + "\r\n" + longest + "n\r\n\r\n/nc/2\r\n" +
                                                       longest + "n");
  EXPECT_EQ(HistoryList::load(dir.file("Path.lst")).entries(),
            (std::vector<std::string>{"/nc/1", longest, "", "/nc/2"}));
}
