#pragma once
// Text of the list's rows. Every row starts with its mark column (" " or
// "*"); positions below are 1-based columns counted in CP932 bytes, the unit
// of the fixed-pitch list.

#include "files/FileEntry.h"
#include "files/ListOptions.h"

#include <string>
#include <string_view>

namespace kestrovan::files {

// How the rows are laid out, taken from the list options.
struct RowLayout {
  int columns = 2;        // 1 to 5
  bool allFiles = true;   // extension column shown
  bool longNames = false; // long names instead of the 8.3 layout

  static RowLayout from(const ListOptions& options);
};

// Inserts `text` so that it starts at column `position` of `row`, pushing the
// rest to the right; past the end it is appended. A position inside a
// two-byte character inserts after that character.
void insertAtColumn(std::string& row, std::size_t position, std::string_view text);

// The row text after the mark column. `shortName` is the entry's 8.3 name,
// or null when none could be had (the long name is shown alone then).
// `sizeText` is a file's size or "<DIR>" for a folder in 1 to 3 columns.
//   1-2 columns: 8.3 name 1-8, extension 9-12, size ending at 21, date 23-36
//   3 columns:   name, extension and size
//   4-5 columns: name and extension only
std::string entryText(const std::string& longName, const std::string* shortName, std::string_view sizeText,
                      std::string_view dateText, const RowLayout& layout);

// The ".." row. `folderDate` is the listed folder's own "YYYY-MM-DD HH:NN:SS"
// (only 1 and 2 columns show it).
std::string parentRow(const RowLayout& layout, std::string_view folderDate);

std::string folderRow(const FileEntry& folder, const std::string* shortName, const RowLayout& layout);
std::string fileRow(const FileEntry& file, const std::string* shortName, const RowLayout& layout);

// The row shown while a folder is being read.
inline constexpr std::string_view kSearchingRow = " ﾌｧｲﾙ検索中!!";

} // namespace kestrovan::files
