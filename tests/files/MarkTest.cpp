// Marks: toggling by Enter, the capacity of 100, block and range marking,
// clearing, and the marking order that operations on marked files rely on.

#include "FileListFixture.h"

#include <cstdio>

namespace kestrovan::files::test {
namespace {

std::vector<int> range(int first, int last) {
  std::vector<int> out;
  for (int r = first; r <= last; ++r)
    out.push_back(r);
  return out;
}

class MarkTest : public FileListTest {
protected:
  // Row 0 is "..", then `folders` folder rows, then `files` file rows.
  void populate(int folders, int files) {
    char name[32];
    for (int i = 0; i < folders; ++i) {
      std::snprintf(name, sizeof name, "D%03d", i);
      makeFolder(dir.file(name));
    }
    for (int i = 0; i < files; ++i) {
      std::snprintf(name, sizeof name, "F%03d.NC", i);
      makeFile(dir.file(name), 1);
    }
    options.listColumn = 5;
    refresh();
  }

  // Marked rows as the widget shows them.
  std::vector<int> markedRows() const {
    std::vector<int> out;
    for (int r = 0; r < static_cast<int>(view.rows.size()); ++r)
      if (view.rows[static_cast<std::size_t>(r)][0] == '*') out.push_back(r);
    return out;
  }

  Activation enterOn(int row) {
    view.selected = row;
    return list.activateSelected();
  }
};

TEST_F(MarkTest, EnterTogglesFileRowsAndMovesDown) {
  populate(1, 3);
  const Activation a = enterOn(2);
  EXPECT_EQ(a.kind, Activation::Kind::MarkToggled);
  EXPECT_EQ(a.selectedRow, 3);
  EXPECT_EQ(view.selected, 3);
  EXPECT_EQ(view.rows[2], "*F000    .NC" + spaces(32));
  EXPECT_NE(view.info.find("F001.NC"), std::string::npos);
  enterOn(2);
  EXPECT_EQ(view.rows[2][0], ' ');
  EXPECT_EQ(list.marks().count(), 0);
  EXPECT_EQ(enterOn(4).selectedRow, 4); // the last row keeps the selection
  EXPECT_FALSE(list.toggleMark(1));     // folder rows cannot be marked
  EXPECT_EQ(markedRows(), std::vector<int>{4});
}

TEST_F(MarkTest, TheHundredAndFirstMarkIsRefusedButTheSelectionMoves) {
  populate(0, 105);
  view.selected = 1;
  for (int i = 0; i < 100; ++i)
    list.activateSelected();
  EXPECT_EQ(view.selected, 101);
  EXPECT_EQ(list.activateSelected().selectedRow, 102);
  EXPECT_EQ(list.marks().count(), 100);
  EXPECT_EQ(markedRows(), range(1, 100));
  list.toggleMark(50); // a freed slot takes the next mark
  EXPECT_TRUE(list.toggleMark(101));
}

TEST_F(MarkTest, MarkingOrderSurvivesRemovalAndCompaction) {
  populate(0, 30);
  for (int row : {10, 5, 20, 7})
    enterOn(row);
  enterOn(5);
  EXPECT_EQ(list.marks().slots()[1], -1);
  EXPECT_EQ(list.marks().count(), 3);
  enterOn(3); // a new mark fills the first free slot
  EXPECT_EQ(list.marks().rows(), (std::vector<int>{10, 3, 20, 7}));
  enterOn(3);
  list.marks().compact();
  EXPECT_EQ(std::vector<int>(list.marks().slots().begin(), list.marks().slots().begin() + 4),
            (std::vector<int>{10, 20, 7, -1}));
  enterOn(25);
  EXPECT_EQ(list.marks().rows(), (std::vector<int>{10, 20, 7, 25}));
}

TEST_F(MarkTest, MarkedFilesAreTakenInMarkingOrderAndLoseTheirStar) {
  populate(0, 10);
  for (int row : {7, 2, 5})
    enterOn(row);
  enterOn(2);
  enterOn(1);
  const std::vector<std::string> names = list.takeMarkedNames();
  ASSERT_EQ(names.size(), 3u);
  EXPECT_EQ(names[0], list.entryAt(7)->name);
  EXPECT_EQ(names[1], list.entryAt(1)->name); // took the freed second slot
  EXPECT_EQ(names[2], list.entryAt(5)->name);
  for (int row : {7, 1, 5})
    EXPECT_FALSE(list.isMarked(row));
  EXPECT_EQ(list.marks().rows(), (std::vector<int>{7, 1, 5})); // the list itself until cleared
}

TEST_F(MarkTest, ShiftClickMarksAtMostHundredRowsAndClearsAllOthers) {
  populate(0, 300);
  for (int row : {1, 2, 150, 280})
    list.toggleMark(row);
  list.markRange(3, 250);
  EXPECT_EQ(markedRows(), range(3, 102));
  EXPECT_EQ(list.marks().rows(), range(3, 102));
  list.markRange(250, 3); // from the other end the range still starts at its first row
  EXPECT_EQ(markedRows(), range(3, 102));
}

TEST_F(MarkTest, ShiftClickOverFoldersMarksOnlyTheFileRows) {
  populate(3, 5);
  list.markRange(8, 0);
  EXPECT_EQ(markedRows(), range(4, 8));
  EXPECT_EQ(list.marks().rows(), range(4, 8));
}

TEST_F(MarkTest, BlockMarkingPassesOverFolderRowsButCountsThem) {
  populate(5, 200);
  list.toggleMark(180);
  view.selected = 1;
  list.markBlock();
  // Rows 1 to 100 form the block; rows 1-5 are folders.
  EXPECT_EQ(markedRows(), range(6, 100));
  EXPECT_EQ(list.marks().rows(), range(6, 100));

  view.selected = 200; // near the end the block stops at the last row
  list.markBlock();
  EXPECT_EQ(markedRows(), range(200, 205));
  EXPECT_EQ(list.marks().count(), 6);
}

TEST_F(MarkTest, EndAndRefreshClearEveryMark) {
  populate(0, 10);
  list.markRange(1, 10);
  list.clearMarks();
  EXPECT_TRUE(markedRows().empty());
  EXPECT_EQ(list.marks().count(), 0);
  list.markRange(1, 4);
  refresh({.keepSelection = true});
  EXPECT_TRUE(markedRows().empty());
  EXPECT_TRUE(list.marks().rows().empty());
}

} // namespace
} // namespace kestrovan::files::test
