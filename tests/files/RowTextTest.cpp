// Row texts byte for byte: every column count, short and long names, the
// extension column, upper case, and the ".." row.

#include "FileListFixture.h"

#include "files/RowText.h"

namespace kestrovan::files::test {
namespace {

class RowTextTest : public FileListTest {
protected:
  RowTextTest() {
    makeFolder(dir.file("SUB"));
    makeFile(dir.file("O1234.NC"), 1234);
    makeFile(dir.file("LongProgramName.nc"), 123456789);
    setTime(dir.path(), kListedDirTime);
  }

  std::vector<std::string> rowsWith(int columns) {
    options.listColumn = columns;
    refresh();
    return view.rows;
  }
};

TEST_F(RowTextTest, OneAndTwoColumnsShowNameExtensionSizeAndDate) {
  const std::vector<std::string> expected = {
      " ..              <DIR> 22-12-31 23:59",
      " SUB             <DIR> 23-01-02 03:04" + spaces(22),
      " LO7423~1.nc  ******** 24-05-06 07:08" + spaces(33),
      " O1234   .NC      1234 24-05-06 07:08" + spaces(26),
  };
  EXPECT_EQ(rowsWith(1), expected);
  EXPECT_EQ(rowsWith(2), expected);
}

TEST_F(RowTextTest, ThreeColumnsDropTheDate) {
  EXPECT_EQ(rowsWith(3), (std::vector<std::string>{
                             " ..              <DIR>",
                             " SUB             <DIR>" + spaces(23),
                             " LO7423~1.nc  ********" + spaces(34),
                             " O1234   .NC      1234" + spaces(27),
                         }));
}

TEST_F(RowTextTest, FourAndFiveColumnsShowNamesOnlyAndFolderRowsStartWithDir) {
  const std::vector<std::string> expected = {
      " ..",
      " <DIR>SUB" + spaces(36),
      " LO7423~1.nc" + spaces(36),
      " O1234   .NC" + spaces(33),
  };
  EXPECT_EQ(rowsWith(4), expected);
  EXPECT_EQ(rowsWith(5), expected);
  // Out-of-range settings behave as five columns.
  EXPECT_EQ(rowsWith(9), expected);
}

TEST_F(RowTextTest, MaskFilterHidesTheExtensionColumn) {
  options.allFiles = "N";
  options.mask = "*.NC";
  EXPECT_EQ(rowsWith(2), (std::vector<std::string>{
                             " ..              <DIR> 22-12-31 23:59",
                             " SUB             <DIR> 23-01-02 03:04" + spaces(22),
                             " LO7423~1     ******** 24-05-06 07:08" + spaces(30),
                             " O1234            1234 24-05-06 07:08" + spaces(23),
                         }));
}

TEST_F(RowTextTest, LongNamesReplaceTheWholeLayout) {
  options.op4 = "Y";
  EXPECT_EQ(rowsWith(2), (std::vector<std::string>{" ..              <DIR> 22-12-31 23:59", " SUB",
                                                   " LongProgramName.nc", " O1234.NC"}));
  EXPECT_EQ(rowsWith(3),
            (std::vector<std::string>{" ..              <DIR>", " SUB", " LongProgramName.nc", " O1234.NC"}));
  EXPECT_EQ(rowsWith(4), (std::vector<std::string>{" ..", " <DIR>SUB", " LongProgramName.nc", " O1234.NC"}));
  options.allFiles = "N";
  EXPECT_EQ(rowsWith(5), (std::vector<std::string>{" ..", " <DIR>SUB", " LongProgramName", " O1234"}));
}

TEST_F(RowTextTest, ANameThatIsAllExtensionShowsItInTheExtensionColumn) {
  makeFile(dir.file(".NC"), 3);
  options.listColumn = 4;
  refresh();
  ASSERT_EQ(view.rows.size(), 5u);
  EXPECT_EQ(view.rows[2], " NC67DE~1.NC" + spaces(36));
  options.op4 = "Y";
  options.allFiles = "N";
  options.mask = "*.NC";
  refresh();
  EXPECT_EQ(view.rows[2], " ");
}

TEST_F(RowTextTest, UpperCaseOptionConvertsEveryRow) {
  options.op3 = "Y";
  EXPECT_EQ(rowsWith(2)[2], " LO7423~1.NC  ******** 24-05-06 07:08" + spaces(33));
  options.op4 = "Y";
  EXPECT_EQ(rowsWith(4)[2], " LONGPROGRAMNAME.NC");
}

TEST_F(RowTextTest, NamesThatFitEightThreeKeepTheirOwnCase) {
  makeFile(dir.file("abc.nc"), 5);
  options.listColumn = 4;
  refresh();
  ASSERT_EQ(view.rows.size(), 5u);
  EXPECT_EQ(view.rows[2], " abc     .nc" + spaces(31));
  EXPECT_EQ(view.rows[4], " O1234   .NC" + spaces(33));
}

TEST_F(RowTextTest, JapaneseNamesAlignByCp932Bytes) {
  makeFile(dir.file("テスト.NC"), 7);
  options.listColumn = 3;
  refresh();
  // Six bytes of name, two spaces, the extension at column 9, the size at 21.
  EXPECT_EQ(view.rows.back(), " テスト  .NC         7" + spaces(25));
}

TEST(InsertAtColumn, CountsTwoByteCharactersAsTwoColumns) {
  std::string row = "あいう   ";
  insertAtColumn(row, 5, "X");
  EXPECT_EQ(row, "あいXう   ");
  std::string inside = "あい";
  insertAtColumn(inside, 2, "X"); // column 2 is the second byte of "あ"
  EXPECT_EQ(inside, "あXい");
  std::string shortRow = "ab";
  insertAtColumn(shortRow, 10, "X");
  EXPECT_EQ(shortRow, "abX");
}

} // namespace
} // namespace kestrovan::files::test
