#include "files/FileList.h"

#include "files/DateText.h"
#include "files/FileSort.h"
#include "files/Listing.h"
#include "files/NameText.h"
#include "files/RowText.h"
#include "files/StatusLines.h"
#include "platform/DirectoryEnum.h"
#include "platform/Paths.h"
#include "platform/ShortNames.h"

#include <algorithm>

namespace kestrovan::files {

void FileList::refreshFileList(const ListOptions& options, RefreshFlags flags) {
  if (flags.resortOnly) {
    if (folder_.empty()) folder_ = platform::stripTrailingSeparator(options.dirPath);
    rememberSelection(flags.keepSelection);
    display(options, flags.keepSelection);
    return;
  }
  // A rename in progress owns the folder; a re-read now would pull the rows
  // it works on from under it.
  if (busy_) return;

  folder_ = platform::stripTrailingSeparator(options.dirPath);
  if (!flags.keepPattern) pattern_ = platform::joinPath(folder_, "*.*");
  rememberSelection(flags.keepSelection);
  // Before the read, so that a change made while it runs is not missed.
  for (const auto& [id, listener] : folderListeners_)
    listener(folder_);

  platform::DirectorySearch search(pattern_);
  if (!search.found()) {
    showEmptyListing(options);
    return;
  }
  rows_.assign(1, std::string(kSearchingRow));
  view_.setRows(rows_);
  view_.setWaitCursor(true);
  view_.setHeaderLine(headerLine(folder_, options, std::nullopt));

  Listing listing = readListing(search, options);
  folders_ = std::move(listing.folders);
  files_ = std::move(listing.files);
  display(options, flags.keepSelection);
  // Only the read showed the hourglass; a redraw without one must not take
  // away the cursor of an operation that is still busy.
  view_.setWaitCursor(false);
}

// The name of the selected file, to select it again once the rows are rebuilt.
void FileList::rememberSelection(bool keepSelection) {
  rememberedName_.clear();
  if (!keepSelection || files_.empty()) return;
  const int row = view_.selectedRow();
  if (rowKind(row) == RowKind::File) rememberedName_ = entryAt(row)->name;
}

// A folder that cannot be searched (gone, unreadable, or nothing matches the
// name filter) lists nothing but the way up.
void FileList::showEmptyListing(const ListOptions& options) {
  folders_.clear();
  files_.clear();
  rows_.clear();
  parent_ = 0;
  if (!platform::isRootFolder(folder_)) {
    rows_.push_back(RowLayout::from(options).columns >= 4 ? " .." : " ..              <DIR>");
    parent_ = 1;
  }
  view_.setRows(rows_);
  view_.setHeaderLine(headerLine(folder_, options, 0));
  view_.setInfoLine({});
  marks_.clear();
  view_.selectRow(rows_.empty() ? -1 : 0);
  view_.focusList();
}

void FileList::display(const ListOptions& options, bool keepSelection) {
  sortFileEntries(files_, sortKeyFromSetting(options.fileSort), sortDirectionFromSetting(options.sortMuki));

  const RowLayout layout = RowLayout::from(options);
  // Short names are formed over the folder as it is now; an entry that has
  // gone since the read has none and shows its long name.
  platform::ShortNameTable shortNames;
  if (!layout.longNames) shortNames = platform::readShortNames(folder_);

  rows_.clear();
  rows_.reserve(1 + folders_.size() + files_.size());
  parent_ = 0;
  if (!platform::isRootFolder(folder_)) {
    std::string folderDate;
    if (layout.columns <= 2)
      if (const auto info = platform::entryInfo(folder_)) folderDate = folderDateText(info->modified);
    rows_.push_back(parentRow(layout, folderDate));
    parent_ = 1;
  }
  for (const FileEntry& f : folders_)
    rows_.push_back(folderRow(f, shortNames.find(f.name), layout));
  for (const FileEntry& f : files_)
    rows_.push_back(fileRow(f, shortNames.find(f.name), layout));
  if (options.op3 == "Y")
    for (std::string& row : rows_)
      row = upperAscii(row);

  view_.setRows(rows_);
  view_.setHeaderLine(headerLine(folder_, options, folders_.size() + files_.size()));

  int selected = 0;
  if (!files_.empty() && keepSelection && !rememberedName_.empty()) {
    const auto it = std::find_if(files_.begin(), files_.end(),
                                 [&](const FileEntry& f) { return f.name == rememberedName_; });
    if (it != files_.end()) selected = parent_ + folderCount() + static_cast<int>(it - files_.begin());
  }
  if (rows_.empty()) selected = -1;
  view_.selectRow(selected);
  showEntryInfo(selected);

  // Every row was rebuilt with a blank mark column.
  marks_.clear();
  rowsPerColumn_ = view_.listHeight() / kRowHeight;
}

RowKind FileList::rowKind(int row) const {
  if (!validRow(row)) return RowKind::None;
  if (row < parent_) return RowKind::Parent;
  if (row < parent_ + folderCount()) return RowKind::Folder;
  if (row - parent_ - folderCount() < static_cast<int>(files_.size())) return RowKind::File;
  return RowKind::None;
}

const FileEntry* FileList::entryAt(int row) const {
  switch (rowKind(row)) {
  case RowKind::Folder: return &folders_[static_cast<std::size_t>(row - parent_)];
  case RowKind::File: return &files_[static_cast<std::size_t>(row - parent_ - folderCount())];
  default: return nullptr;
  }
}

std::string FileList::entryPath(int row) const {
  const FileEntry* e = entryAt(row);
  return e ? platform::joinPath(folder_, e->name) : std::string();
}

bool FileList::isMarked(int row) const {
  return validRow(row) && !rows_[static_cast<std::size_t>(row)].empty() &&
         rows_[static_cast<std::size_t>(row)][0] == '*';
}

void FileList::showEntryInfo(int row) {
  switch (rowKind(row)) {
  case RowKind::Parent: view_.setInfoLine(parentInfoLine()); break;
  case RowKind::Folder: view_.setInfoLine(folderInfoLine(*entryAt(row))); break;
  case RowKind::File: view_.setInfoLine(fileInfoLine(*entryAt(row))); break;
  case RowKind::None: view_.setInfoLine({}); break;
  }
}

void FileList::setMarkColumn(int row, bool marked) {
  std::string& text = rows_[static_cast<std::size_t>(row)];
  const char mark = marked ? '*' : ' ';
  if (text.empty() || text[0] == mark) return;
  text[0] = mark;
  view_.setRowText(row, text);
}

Activation FileList::activateSelected() {
  const int row = view_.selectedRow();
  Activation result;
  switch (rowKind(row)) {
  case RowKind::None: return result;
  case RowKind::Parent:
    result.kind = Activation::Kind::EnterFolder;
    result.folder = platform::parentFolder(folder_);
    return result;
  case RowKind::Folder:
    result.kind = Activation::Kind::EnterFolder;
    result.folder = platform::joinPath(folder_, entryAt(row)->name);
    return result;
  case RowKind::File: break;
  }
  // A refused 101st mark still moves on, so holding Enter walks the list.
  toggleMark(row);
  const int next = row + 1 < static_cast<int>(rows_.size()) ? row + 1 : row;
  view_.selectRow(next);
  showEntryInfo(next);
  result.kind = Activation::Kind::MarkToggled;
  result.selectedRow = next;
  return result;
}

bool FileList::toggleMark(int row) {
  if (rowKind(row) != RowKind::File) return false;
  if (isMarked(row)) {
    setMarkColumn(row, false);
    marks_.remove(row);
    return true;
  }
  if (!marks_.add(row)) return false;
  setMarkColumn(row, true);
  return true;
}

void FileList::markBlock() {
  const int start = view_.selectedRow();
  if (!validRow(start)) return;
  const int rowCount = static_cast<int>(rows_.size());
  const int end = std::min(start + MarkList::kCapacity, rowCount);
  marks_.clear();
  // Rows after the block lose their marks too: a "*" that is not in the mark
  // list would show a file that no operation takes.
  for (int r = 0; r < rowCount; ++r) {
    const bool inBlock = r >= start && r < end && rowKind(r) == RowKind::File;
    setMarkColumn(r, inBlock);
    if (inBlock) marks_.add(r);
  }
}

void FileList::markRange(int anchor, int clicked) {
  if (rows_.empty()) return;
  const int last = static_cast<int>(rows_.size()) - 1;
  anchor = std::clamp(anchor, 0, last);
  clicked = std::clamp(clicked, 0, last);
  const int first = std::min(anchor, clicked);
  const int end = std::min(std::max(anchor, clicked) + 1, first + MarkList::kCapacity);
  marks_.clear();
  for (int r = 0; r <= last; ++r) {
    const bool inRange = r >= first && r < end && rowKind(r) == RowKind::File;
    setMarkColumn(r, inRange);
    if (inRange) marks_.add(r);
  }
}

void FileList::clearMarks() {
  for (int r = 0; r < static_cast<int>(rows_.size()); ++r)
    setMarkColumn(r, false);
  marks_.clear();
}

void FileList::clearRowMark(int row) {
  if (validRow(row)) setMarkColumn(row, false);
}

std::vector<std::string> FileList::takeMarkedNames() {
  std::vector<std::string> names;
  marks_.compact();
  for (int row : marks_.rows()) {
    if (const FileEntry* e = entryAt(row)) names.push_back(e->name);
    clearRowMark(row);
  }
  return names;
}

void FileList::showRowText(int row, const std::string& text) {
  if (!validRow(row)) return;
  rows_[static_cast<std::size_t>(row)] = text;
  view_.setRowText(row, text);
}

} // namespace kestrovan::files
