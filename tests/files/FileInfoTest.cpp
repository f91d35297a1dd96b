// The rules of the file information dialog: its size line, type fallback,
// time fields and their checks, and what a change leaves on disk.
#include "files/FileInfo.h"

#include "FileListFixture.h"

#include <sys/stat.h>

using namespace kestrovan;
using namespace kestrovan::files;
using files::test::modeOf;
using files::test::mtimeOf;
using kestrovan::test::TempDir;

namespace {

const std::string kSize = "サイズ :　　";

struct Tokyo : ::testing::Test {
  files::test::TokyoTime zone;
};

// A zone with daylight saving time.
struct NewYork : ::testing::Test {
  NewYork() {
    ::setenv("TZ", "EST5EDT,M3.2.0,M11.1.0", 1); // New York's rule, without the zone files
    ::tzset();
  }
  ~NewYork() override {
    ::setenv("TZ", "UTC", 1);
    ::tzset();
  }
};

TimeFields fieldsOf(const char* y, const char* mo, const char* d, const char* h, const char* mi,
                    const char* s) {
  return {y, mo, d, h, mi, s};
}

} // namespace

TEST(FileInfoLines, SizeInBytesKbMbAndGbFromTheFullSize) {
  EXPECT_EQ(sizeLine(0), kSize + "0ﾊﾞｲﾄ");
  EXPECT_EQ(sizeLine(1536), kSize + "1.500KB (1,536ﾊﾞｲﾄ)");
  // "Above" a megabyte and a gigabyte: the boundaries themselves keep the smaller unit
  // (the dialog's tests take 1023, 1024, 1048576 bytes and 5 GB on real files).
  EXPECT_EQ(sizeLine(1048577), kSize + "1.000MB (1,048,577ﾊﾞｲﾄ)");
  EXPECT_EQ(sizeLine(1073741824), kSize + "1024.000MB (1,073,741,824ﾊﾞｲﾄ)");
  EXPECT_EQ(sizeLine(1073741825), kSize + "1.000GB (1,073,741,825ﾊﾞｲﾄ)");
  EXPECT_EQ(folderSizeLine(), kSize + "0");
  EXPECT_EQ(groupedDigits(999), "999");
  EXPECT_EQ(groupedDigits(1000), "1,000");
  EXPECT_EQ(groupedDigits(18446744073709551615ULL), "18,446,744,073,709,551,615");
}

TEST(FileInfoLines, TypeFallsBackToTheExtensionWhenTheDesktopHasNoNameOrNoIcon) {
  EXPECT_EQ(fileTypeName("O1234.nc", {}), "NC ﾌｧｲﾙ");
  EXPECT_EQ(fileTypeName("O1234.NC", {"", true}), "NC ﾌｧｲﾙ");
  EXPECT_EQ(fileTypeName("notes.txt", {"plain text document", false}), "TXT ﾌｧｲﾙ");
  EXPECT_EQ(fileTypeName("notes.txt", {"plain text document", true}), "plain text document");
  EXPECT_EQ(fileTypeName("README", {}), "ﾌｧｲﾙ");
  EXPECT_EQ(fileTypeName("A.B.tar", {}), "TAR ﾌｧｲﾙ");
  EXPECT_EQ(typeLine("ﾌｧｲﾙ ﾌｫﾙﾀﾞ"), "種類 :　　　ﾌｧｲﾙ ﾌｫﾙﾀﾞ");
  EXPECT_EQ(locationLine("/home/nc"), "場所 :　　　/home/nc/");
  EXPECT_EQ(locationLine("/"), "場所 :　　　/");
}

TEST_F(Tokyo, TimeFieldsShowAFileInTwoSecondStepsAndAFolderToTheSecond) {
  // 2024-05-06 16:08:09 in Tokyo.
  EXPECT_EQ(timeFieldsOf(files::test::kFileTime, true), fieldsOf("2024", "05", "06", "16", "08", "08"));
  EXPECT_EQ(timeFieldsOf(files::test::kFileTime, false), fieldsOf("2024", "05", "06", "16", "08", "09"));
}

TEST(FileInfoChecks, EachFieldHasItsRangeAndItsMessage) {
  EXPECT_EQ(timeFieldRefusal(0, "1970"), std::nullopt);
  EXPECT_EQ(timeFieldRefusal(0, "9999"), std::nullopt);
  EXPECT_EQ(timeFieldRefusal(1, "01"), std::nullopt);
  EXPECT_EQ(timeFieldRefusal(2, "00"), "１から３１までしか入力出来ません");
  EXPECT_EQ(timeFieldRefusal(2, "32"), "１から３１までしか入力出来ません");
  EXPECT_EQ(timeFieldRefusal(3, "0"), std::nullopt);
  EXPECT_EQ(timeFieldRefusal(5, "60"), "０から５９までしか入力出来ません");
  // An empty field fails its own check.
  EXPECT_EQ(timeFieldRefusal(0, ""), "年数は1970以降でお願いします。");
  EXPECT_EQ(timeFieldRefusal(4, ""), "０から５９までしか入力出来ません");
}

TEST_F(Tokyo, TheWholeTimeIsCheckedInOrderThenTheDayAgainstItsMonth) {
  TimeCheck c = checkTimeFields(fieldsOf("1969", "13", "01", "24", "00", "00"));
  ASSERT_TRUE(c.refusal);
  EXPECT_EQ(c.refusal->field, 0); // the first failure in field order
  c = checkTimeFields(fieldsOf("2024", "01", "01", "", "00", "00"));
  ASSERT_TRUE(c.refusal);
  EXPECT_EQ(c.refusal->field, 3);
  EXPECT_EQ(c.refusal->message, "０から２３までしか入力出来ません");

  // Days that do not exist in their month, with the month's own range.
  c = checkTimeFields(fieldsOf("2023", "02", "29", "12", "00", "00"));
  ASSERT_TRUE(c.refusal);
  EXPECT_EQ(c.refusal->message, "１から２８までしか入力出来ません");
  c = checkTimeFields(fieldsOf("2100", "02", "29", "12", "00", "00")); // not a leap year
  ASSERT_TRUE(c.refusal);
  EXPECT_EQ(c.refusal->message, "１から２８までしか入力出来ません");
  c = checkTimeFields(fieldsOf("2024", "02", "29", "12", "00", "00"));
  EXPECT_FALSE(c.refusal);
  c = checkTimeFields(fieldsOf("2000", "02", "29", "12", "00", "00"));
  EXPECT_FALSE(c.refusal);
}

TEST_F(Tokyo, AnOddSecondIsTheEvenSecondBelowItAndTheTimeIsLocal) {
  const TimeCheck c = checkTimeFields(fieldsOf("2024", "05", "06", "16", "08", "09"));
  ASSERT_TRUE(c.seconds);
  EXPECT_EQ(*c.seconds, files::test::kFileTime - 1);
  // The first moment allowed, nine hours before 1970 began in UTC.
  const TimeCheck first = checkTimeFields(fieldsOf("1970", "01", "01", "00", "00", "00"));
  ASSERT_TRUE(first.seconds);
  EXPECT_EQ(*first.seconds, -9 * 3600);
  const TimeCheck last = checkTimeFields(fieldsOf("9999", "12", "31", "23", "59", "59"));
  ASSERT_TRUE(last.seconds);
  EXPECT_EQ(timeFieldsOf(*last.seconds, true), fieldsOf("9999", "12", "31", "23", "59", "58"));
}

TEST_F(NewYork, ATimeThatTheClocksSkipIsRefusedWithItsFieldsMessage) {
  // 2024-03-10: the clocks go from 02:00 straight to 03:00.
  const TimeCheck gap = checkTimeFields(fieldsOf("2024", "03", "10", "02", "30", "00"));
  EXPECT_FALSE(gap.seconds);
  ASSERT_TRUE(gap.refusal);
  EXPECT_EQ(gap.refusal->field, 3);
  EXPECT_EQ(gap.refusal->message, "０から２３までしか入力出来ません");
  const TimeCheck after = checkTimeFields(fieldsOf("2024", "03", "10", "03", "30", "00"));
  ASSERT_TRUE(after.seconds);
  EXPECT_EQ(timeFieldsOf(*after.seconds, true), fieldsOf("2024", "03", "10", "03", "30", "00"));
  // 2024-11-03 01:30 comes twice; either is that time, and it is taken.
  const TimeCheck twice = checkTimeFields(fieldsOf("2024", "11", "03", "01", "30", "00"));
  ASSERT_TRUE(twice.seconds);
  EXPECT_EQ(timeFieldsOf(*twice.seconds, true), fieldsOf("2024", "11", "03", "01", "30", "00"));
}

TEST(FileInfoApply, WritesTheTimeAndTheOwnersWriteBitAndNothingElse) {
  TempDir dir;
  const std::string path = dir.file("O1.NC");
  kestrovan::test::writeFile(path, "%\r\nO1\r\n%\r\n");
  ASSERT_EQ(chmod(path.c_str(), 0664), 0);
  files::test::setTime(path, files::test::kFileTime);

  EXPECT_EQ(applyFileInfo({path, std::nullopt, true}), std::nullopt);
  EXPECT_EQ(modeOf(path), 0464u);
  EXPECT_EQ(mtimeOf(path), files::test::kFileTime); // the time was not asked to change

  // The owner may set the time of a file he may not write.
  EXPECT_EQ(applyFileInfo({path, 1700000000, std::nullopt}), std::nullopt);
  EXPECT_EQ(mtimeOf(path), 1700000000);
  EXPECT_EQ(modeOf(path), 0464u);

  EXPECT_EQ(applyFileInfo({path, std::nullopt, false}), std::nullopt);
  EXPECT_EQ(modeOf(path), 0664u);
  EXPECT_EQ(kestrovan::test::readFile(path), "%\r\nO1\r\n%\r\n");
}

TEST(FileInfoApply, AFolderTakesATimeAndAnEntryThatWentIsToldNotWritten) {
  TempDir dir;
  const std::string folder = dir.file("SUB");
  files::test::makeFolder(folder);
  EXPECT_EQ(applyFileInfo({folder, 1700000000, std::nullopt}), std::nullopt);
  EXPECT_EQ(mtimeOf(folder), 1700000000);

  const std::string gone = dir.file("GONE.NC");
  EXPECT_EQ(applyFileInfo({gone, 1700000000, true}), "ﾌｧｲﾙが見つかりません。");
  EXPECT_FALSE(kestrovan::test::fileExists(gone));
}
