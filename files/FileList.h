#pragma once
// The file list of the main window: the listing of the data folder (the ".."
// row, the folder rows in enumeration order, the sorted file rows), the marks
// on file rows, and the one refresh that every operation calls after it
// changed files or settings. Plain logic; the widget is behind FileListView.

#include "files/FileEntry.h"
#include "files/FileListView.h"
#include "files/ListOptions.h"
#include "files/MarkList.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace kestrovan::files {

struct RefreshFlags {
  bool keepPattern = false;   // list with the pattern the name filter set
  bool keepSelection = false; // select the same file again afterwards
  bool resortOnly = false;    // no folder read: sort and redraw the tables
};

enum class RowKind { None, Parent, Folder, File };

// What activating the selected row (Enter, double click) asks of the caller.
struct Activation {
  enum class Kind {
    None,        // empty list or no selection
    MarkToggled, // a file row's mark was toggled and the selection moved
    EnterFolder, // ".." or a folder row: make `folder` the data folder and refresh
  };
  Kind kind = Kind::None;
  std::string folder;   // EnterFolder: the new data folder
  int selectedRow = -1; // MarkToggled: where the selection went (the mark anchor)
};

class FileList {
public:
  static constexpr int kRowHeight = 16;

  explicit FileList(FileListView& view) : view_(view) {}

  // The one refresh. Ignored while busy unless it only re-sorts.
  void refreshFileList(const ListOptions& options, RefreshFlags flags = {});

  // The search pattern: normally the folder + "/*.*"; the name filter sets
  // another and refreshes with keepPattern.
  const std::string& searchPattern() const { return pattern_; }
  void setSearchPattern(std::string pattern) { pattern_ = std::move(pattern); }

  // Told at every read of a folder, just before the read, which folder it
  // is (not for a re-sort, nor for a refresh the busy flag turns away): the
  // folder watch follows the list with it. The number given back takes the
  // listener off again.
  using FolderListener = std::function<void(const std::string& folder)>;
  int onFolderRead(FolderListener listener) {
    folderListeners_.emplace_back(++lastListener_, std::move(listener));
    return lastListener_;
  }
  void dropFolderListener(int id) {
    std::erase_if(folderListeners_, [id](auto& l) { return l.first == id; });
  }

  // Set while a rename runs: the folder is not re-read under its feet.
  void setBusy(bool busy) { busy_ = busy; }
  bool busy() const { return busy_; }

  // --- rows and entries
  const std::string& folder() const { return folder_; } // folder listed last
  const std::vector<std::string>& rows() const { return rows_; }
  const std::vector<FileEntry>& folders() const { return folders_; }
  const std::vector<FileEntry>& files() const { return files_; }
  int parentRowCount() const { return parent_; } // 1 with a ".." row, else 0
  int folderCount() const { return static_cast<int>(folders_.size()); }
  RowKind rowKind(int row) const;
  // The folder or file entry of a row; null for ".." and rows out of range.
  const FileEntry* entryAt(int row) const;
  // Full path of a row's entry; empty for ".." and rows out of range.
  std::string entryPath(int row) const;
  bool isMarked(int row) const;
  int rowsPerColumn() const { return rowsPerColumn_; }

  // Writes the info line for a row (empty for a row that does not exist).
  void showEntryInfo(int row);

  // --- marks
  const MarkList& marks() const { return marks_; }
  MarkList& marks() { return marks_; }
  // Enter or double click on the selected row.
  Activation activateSelected();
  // Toggles a file row's mark; a 101st mark is refused. False when refused
  // or not a file row.
  bool toggleMark(int row);
  // Home: marks up to 100 rows from the selected one; folder and ".." rows in
  // that stretch are passed over but count. All other marks go.
  void markBlock();
  // Shift-click: marks the file rows between anchor and clicked row (either
  // order, at most the first 100 rows) and removes every other mark. An
  // anchor outside the list (none set yet) counts from the nearest end.
  void markRange(int anchor, int clicked);
  // End: removes every mark.
  void clearMarks();
  // Clears a row's mark column only, for operations that take the marked
  // files out of the compacted mark list one by one.
  void clearRowMark(int row);
  // The names of the marked files in marking order; their rows lose the "*"
  // as they are taken, the mark list itself stays (compacted) until cleared.
  std::vector<std::string> takeMarkedNames();
  // Shows a row as `text` until the next refresh (a renamed file's new name).
  void showRowText(int row, const std::string& text);

private:
  void rememberSelection(bool keepSelection);
  void showEmptyListing(const ListOptions& options);
  void display(const ListOptions& options, bool keepSelection);
  void setMarkColumn(int row, bool marked);
  bool validRow(int row) const { return row >= 0 && row < static_cast<int>(rows_.size()); }

  FileListView& view_;
  std::string pattern_;
  std::string folder_;
  std::vector<FileEntry> folders_;
  std::vector<FileEntry> files_;
  std::vector<std::string> rows_;
  int parent_ = 0;
  MarkList marks_;
  std::string rememberedName_;
  bool busy_ = false;
  int rowsPerColumn_ = 0;
  std::vector<std::pair<int, FolderListener>> folderListeners_;
  int lastListener_ = 0;
};

} // namespace kestrovan::files
