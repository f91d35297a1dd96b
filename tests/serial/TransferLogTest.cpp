#include "serial/TransferLog.h"

#include "platform/Cp932.h"
#include "serial/Clock.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace kestrovan;
using serial::TransferOutcome;

namespace {

class FixedClock : public serial::Clock {
public:
  platform::CivilTime time{2005, 8, 26, 13, 5, 49};
  platform::CivilTime now() override { return time; }
};

// The header as the operator reads it, CP932 on disk.
const char* const kHeader = "<<<<<　　　通信ログ　　　>>>>>\n"
                            "送受信　状態　日時　　　　　　　　　送受信ファイル名\n"
                            "─────────────────────────────────────\n";

std::string onDisk(const std::string& utf8) { return platform::utf8ToCp932(utf8); }

} // namespace

TEST(TransferLog, EntryFormat) {
  EXPECT_EQ(
      serial::transferLogEntry(TransferOutcome::SendCompleted, {2005, 8, 26, 13, 5, 49}, "/nc/O1234.NC"),
      "送信　　完了　2005/08/26 13:05:49　/nc/O1234.NC\n");
  EXPECT_EQ(serial::transferLogEntry(TransferOutcome::SendStopped, {2024, 1, 2, 3, 4, 5}, "/a"),
            "送信　　中止　2024/01/02 03:04:05　/a\n");
  EXPECT_EQ(serial::transferLogEntry(TransferOutcome::ReceiveCompleted, {1999, 12, 31, 23, 59, 59}, "/r.NC"),
            "受信　　完了　1999/12/31 23:59:59　/r.NC\n");
  EXPECT_EQ(serial::transferLogEntry(TransferOutcome::ReceiveStopped, {2000, 10, 10, 0, 0, 0}, ""),
            "受信　　中止　2000/10/10 00:00:00　\n");
  EXPECT_EQ(serial::transferLogPath("/opt/k", "kestrovan"), "/opt/k/kestrovan.log");
}

TEST(TransferLog, FirstEntryCreatesTheHeaderLaterEntriesAppend) {
  test::TempDir dir;
  FixedClock clock;
  serial::TransferLog log(dir.file("kestrovan.log"), clock);

  ASSERT_TRUE(log.record(TransferOutcome::SendCompleted, "/nc/O1.NC"));
  clock.time.second = 50;
  ASSERT_TRUE(log.record(TransferOutcome::SendStopped, "/nc/O2.NC"));

  const std::string bytes = test::readFile(log.path());
  EXPECT_EQ(bytes, onDisk(std::string(kHeader) + "送信　　完了　2005/08/26 13:05:49　/nc/O1.NC\n" +
                          "送信　　中止　2005/08/26 13:05:50　/nc/O2.NC\n"));
  EXPECT_EQ(bytes.find('\r'), std::string::npos);
  EXPECT_NE(bytes.find("\x81\x40"), std::string::npos); // the ideographic space in CP932
}

TEST(TransferLog, ExistingLogIsAppendedToAsItIs) {
  test::TempDir dir;
  const std::string path = dir.file("k.log");
  test::writeFile(path, "kept as it was\r\n");
  ASSERT_TRUE(serial::appendTransferLog(path, "受信　　完了　x\n"));
  EXPECT_EQ(test::readFile(path), "kept as it was\r\n" + onDisk("受信　　完了　x\n"));
}

TEST(TransferLog, ViewingBeforeAnyTransferLeavesAHeaderOnlyLog) {
  test::TempDir dir;
  const std::string path = dir.file("kestrovan.log");
  EXPECT_EQ(serial::transferLogViewText(path), kHeader);
  EXPECT_EQ(test::readFile(path), onDisk(kHeader));
  EXPECT_EQ(serial::transferLogViewText(path), kHeader); // viewing again adds nothing
}

TEST(TransferLog, UnwritableLogLosesTheEntryQuietly) {
  test::TempDir dir;
  EXPECT_FALSE(serial::appendTransferLog(dir.file("missing/folder/k.log"), "x\n"));
  EXPECT_EQ(serial::transferLogViewText(dir.file("missing/folder/k.log")), "");
}
