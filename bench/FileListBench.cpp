// A full refresh of the file list over a folder of 10,000 files: folder read
// with a stat per entry, 8.3 names for the whole folder, sort, row texts.
// Goal: well under 150 ms, so a refresh key press never feels slow.

#include "files/FileList.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

using kestrovan::files::FileList;
using kestrovan::files::FileListView;
using kestrovan::files::ListOptions;
using kestrovan::files::RefreshFlags;

class NullView : public FileListView {
public:
  void setRows(const std::vector<std::string>& rows) override { rowCount_ = rows.size(); }
  void setRowText(int, const std::string&) override {}
  int selectedRow() const override { return selected_; }
  void selectRow(int row) override { selected_ = row; }
  void setHeaderLine(const std::string&) override {}
  void setInfoLine(const std::string&) override {}
  void setWaitCursor(bool) override {}
  void focusList() override {}
  int listHeight() const override { return 338; }
  std::size_t rowCount() const { return rowCount_; }

private:
  int selected_ = -1;
  std::size_t rowCount_ = 0;
};

// Two folders of 10,000 files each, made once per run: names that already
// are 8.3 names (the usual O-numbers) and long names that need short forms.
class Folders {
public:
  static constexpr int kFiles = 10000;

  Folders() {
    const char* base = std::getenv("TMPDIR");
    std::string templ = std::string(base && *base ? base : "/tmp") + "/kestrovan-bench-XXXXXX";
    if (!mkdtemp(templ.data())) std::abort();
    root_ = templ;
    fill(shortNames(), "O%05d.NC");
    fill(longNames(), "Program_%05d_rev_A.nc");
  }
  ~Folders() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  std::string shortNames() const { return root_ + "/short"; }
  std::string longNames() const { return root_ + "/long"; }

  static Folders& get() {
    static Folders folders;
    return folders;
  }

private:
  static void fill(const std::string& folder, const char* pattern) {
    std::filesystem::create_directory(folder);
    char name[64];
    for (int i = 0; i < kFiles; ++i) {
      std::snprintf(name, sizeof name, pattern, i);
      const int fd = ::open((folder + "/" + name).c_str(), O_WRONLY | O_CREAT, 0644);
      if (fd < 0) std::abort();
      // Sizes spread so the size sort has work to do.
      if (::ftruncate(fd, (i * 7919) % 100000) != 0) std::abort();
      ::close(fd);
    }
  }

  std::string root_;
};

void refreshBench(benchmark::State& state, const std::string& folder, const char* sort, RefreshFlags flags) {
  NullView view;
  FileList list(view);
  ListOptions options;
  options.dirPath = folder;
  options.fileSort = sort;
  options.listColumn = 2;
  list.refreshFileList(options);
  for (auto _ : state) {
    list.refreshFileList(options, flags);
    benchmark::DoNotOptimize(view.rowCount());
  }
  if (view.rowCount() != Folders::kFiles + 1) state.SkipWithError("wrong row count");
}

void BM_RefreshShortNames(benchmark::State& state) {
  refreshBench(state, Folders::get().shortNames(), "N", {.keepSelection = true});
}
void BM_RefreshLongNames(benchmark::State& state) {
  refreshBench(state, Folders::get().longNames(), "N", {.keepSelection = true});
}
void BM_RefreshSortBySize(benchmark::State& state) {
  refreshBench(state, Folders::get().longNames(), "S", {.keepSelection = true});
}
void BM_ResortOnly(benchmark::State& state) {
  refreshBench(state, Folders::get().longNames(), "T", {.keepSelection = true, .resortOnly = true});
}

BENCHMARK(BM_RefreshShortNames)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefreshLongNames)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefreshSortBySize)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResortOnly)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
