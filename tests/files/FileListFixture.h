#pragma once
// Shared by the file list tests: a fake list widget, files with chosen sizes
// and times in a temporary folder, and a fixed time zone so that date texts
// can be compared byte for byte.

#include "files/FileList.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace kestrovan::files::test {

class FakeListView : public FileListView {
public:
  void setRows(const std::vector<std::string>& r) override {
    rows = r;
    selected = -1;
    ++setRowsCalls;
  }
  void setRowText(int row, const std::string& text) override {
    rows.at(static_cast<std::size_t>(row)) = text;
  }
  int selectedRow() const override { return selected; }
  void selectRow(int row) override { selected = row; }
  void setHeaderLine(const std::string& text) override { header = text; }
  void setInfoLine(const std::string& text) override { info = text; }
  // Counted as the desktop stacks override cursors: each "off" takes back
  // one "on"; one too many would take away another operation's cursor.
  void setWaitCursor(bool on) override {
    waitCursor = on;
    waitDepth += on ? 1 : -1;
    lowestWaitDepth = std::min(lowestWaitDepth, waitDepth);
    if (on) searchingRowsSeen = rows;
  }
  void focusList() override { ++focusCalls; }
  int listHeight() const override { return 338; }

  std::vector<std::string> rows;
  std::vector<std::string> searchingRowsSeen;
  int selected = -1;
  std::string header;
  std::string info;
  bool waitCursor = false;
  int waitDepth = 0;
  int lowestWaitDepth = 0;
  int setRowsCalls = 0;
  int focusCalls = 0;
};

// 2024-05-06 07:08:09 UTC and other fixed moments used by the tests.
inline constexpr std::int64_t kFileTime = 1714979289;
inline constexpr std::int64_t kFolderTime = 1672628645;    // 2023-01-02 03:04:05
inline constexpr std::int64_t kListedDirTime = 1672531170; // 2022-12-31 23:59:30

inline std::string spaces(std::size_t n) { return std::string(n, ' '); }

// A file of `size` bytes (sparse, so gigabytes cost nothing) written at `mtime`.
void makeFile(const std::string& path, std::uint64_t size, std::int64_t mtime = kFileTime);
void makeFolder(const std::string& path, std::int64_t mtime = kFolderTime);
void setTime(const std::string& path, std::int64_t mtime);

// Mode bits (07777) and modification time of a path as the disk has them.
unsigned modeOf(const std::string& path);
std::int64_t mtimeOf(const std::string& path);

// Local time pinned to a zone without summer time (Tokyo, nine hours ahead
// of UTC) while it lives; UTC again afterwards.
struct TokyoTime {
  TokyoTime();
  ~TokyoTime();
};

class FileListTest : public ::testing::Test {
protected:
  FileListTest();
  void refresh(RefreshFlags flags = {}) { list.refreshFileList(options, flags); }

  kestrovan::test::TempDir dir;
  FakeListView view;
  FileList list{view};
  ListOptions options;
};

} // namespace kestrovan::files::test
