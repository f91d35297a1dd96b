// What of a line goes out, the remaining-data line and the remaining-time
// estimate.

#include "serial/SendLine.h"
#include "serial/SendTexts.h"
#include "serial/SendTime.h"

#include <gtest/gtest.h>

using namespace kestrovan;
using serial::lineToSend;
using serial::SendLineRules;

namespace {

std::string out(std::string_view line, const SendLineRules& rules = {}) {
  serial::LineToSend s = lineToSend(line, rules);
  return s.skip ? "<skip>" : s.chars;
}

} // namespace

TEST(SendLine, CommentsRemarksAndPercent) {
  EXPECT_EQ(out("G01X10.(PASS 1)"), "G01X10.(PASS 1)");
  EXPECT_EQ(out("G01X10.;REMARK"), "G01X10.");
  EXPECT_EQ(out("G01X10.'REMARK"), "G01X10.");
  EXPECT_EQ(out("G01X10.;REMARK", {"", false}), "G01X10.;REMARK");
  EXPECT_EQ(out("(A;B'C)X1;D"), "(A;B'C)X1");
  EXPECT_EQ(out("N10%"), "N10");
  EXPECT_EQ(out("(N10%)"), "(N10%)");
  EXPECT_EQ(out("%"), "<skip>");
  EXPECT_EQ(out("% "), " ");
  EXPECT_EQ(out("%O1(X)"), "O1(X)");
  // A comment left open ends with its line.
  EXPECT_EQ(out("X1(OPEN%"), "X1(OPEN%");
  EXPECT_EQ(out("Y2%;"), "Y2");
  EXPECT_EQ(out("G01\tX1.\t(\tA)"), "G01X1.(A)");
  EXPECT_EQ(out(""), "");
}

TEST(SendLine, UnwantedTextBecomesBlanks) {
  EXPECT_EQ(out("G00BLOCKX1BLOCK", {"BLOCK", true}), "G00     X1     ");
  const std::string longText(40, 'Q');
  EXPECT_EQ(out("A" + longText + "B", {longText, true}), "A" + std::string(29, ' ') + "B");
  // Blanked before the "%" line test: a line that was only the text is not skipped.
  EXPECT_EQ(out("%", {"%", true}), " ");
  // Never inside a Shift-JIS character: "\x89\x40" holds the byte of "@".
  EXPECT_EQ(out("(\x89\x40)@", {"@", true}), "(\x89\x40) ");
}

TEST(SendLine, EndOfProgramCodes) {
  for (const char* line : {"M99", "G00M02", "M2", "N9M30", "M20"})
    EXPECT_TRUE(serial::endsProgram(line)) << line;
  for (const char* line : {"M3", "M0", "G02X1", "M9"})
    EXPECT_FALSE(serial::endsProgram(line)) << line;
}

TEST(SendTexts, RemainingDataLine) {
  EXPECT_EQ(serial::remainingDataLine(2047, 1024, 125), "残り 1,024ﾊﾞｲﾄ(約 2分05秒)");
  EXPECT_EQ(serial::remainingDataLine(1000, 0, 59), "残り 1,001ﾊﾞｲﾄ(約 59秒)");
  EXPECT_EQ(serial::remainingDataLine(10, 10, 0), "残り 1ﾊﾞｲﾄ(約 0秒)");
  EXPECT_EQ(serial::remainingDataLine(123456789, 0, 3600), "残り 123,456,790ﾊﾞｲﾄ(約 1時00分)");
  EXPECT_EQ(serial::remainingDataLine(5, 0, 7325), "残り 6ﾊﾞｲﾄ(約 2時02分)");
  EXPECT_EQ(serial::remainingDataLine(5, 0, 60), "残り 6ﾊﾞｲﾄ(約 1分00秒)");
  EXPECT_EQ(serial::remainingBytesLine(0), "残り 0ﾊﾞｲﾄ");
  EXPECT_EQ(serial::remainingBytesLine(999), "残り 999ﾊﾞｲﾄ");
  EXPECT_EQ(serial::remainingBytesLine(1000), "残り 1,000ﾊﾞｲﾄ");
}

TEST(SendTime, EstimateFromTheLastInterval) {
  serial::SendCounters c;
  c.startFile(100000);
  c.sent = 10; // at most 10 bytes moved: nothing
  EXPECT_FALSE(serial::estimateRemaining(c));
  EXPECT_EQ(c.base, 0);
  c.sent = 19205; // 1920 bytes a second (whole numbers)
  EXPECT_TRUE(serial::estimateRemaining(c));
  EXPECT_EQ(c.estimate, (100000 - 19205) / 1920);
  EXPECT_EQ(c.base, 19205);
  c.sent = 19211; // 6 more: the estimate stands
  EXPECT_FALSE(serial::estimateRemaining(c));
  EXPECT_EQ(c.estimate, 42);
  c.sent = 120000; // counted past the size on disk: nothing left
  EXPECT_TRUE(serial::estimateRemaining(c));
  EXPECT_EQ(c.estimate, 0);
  c.startFile(500);
  EXPECT_EQ(c.estimate, 0);
  EXPECT_EQ(c.base, 0);
}

TEST(SendTime, WorkerThreadTicksAgainstTheSendingThread) {
  serial::SendCounters c;
  c.startFile(1'000'000);
  serial::TSendTime worker(c);
  for (int i = 1; i <= 200; ++i) {
    c.sent = i * 1000;
    worker.tickOnWorker();
  }
  worker.join();
  EXPECT_EQ(c.base, 200000);
  EXPECT_GE(c.estimate, 0);
}
