#pragma once
// The rows of the program's own file and folder choosers (the editor's open
// and save dialogs, the folder browser): a folder's names as the file system
// holds them, each with the text the screen shows for it, so that a name that
// is not UTF-8 is listed, shown, and handed back with its own bytes.

#include <string>
#include <vector>

namespace kestrovan::files {

struct ChooserRow {
  std::string name;  // the bytes on disk
  std::string shown; // UTF-8 for the screen
  bool isFolder = false;
};

struct ChooserListing {
  std::vector<ChooserRow> rows;
  int error = 0; // errno of reading the folder; 0 when it was read
};

// Which names a chooser lists: hidden names (a leading ".") never; folders
// always; files only when `foldersOnly` is false and a pattern matches them
// ("*.NC" matches "o1.nc" as the file list does; no patterns: every file).
struct ChooserFilter {
  bool foldersOnly = false;
  std::vector<std::string> patterns;
};

// Folders first, then files, each by shown name without regard to case.
ChooserListing chooserRows(const std::string& folder, const ChooserFilter& filter);

// A path as the screen shows it: each part between "/" as shownName shows it.
std::string shownPath(const std::string& path);

// A name with the default extension: `name` itself when it has an extension
// or `extension` is empty, else name "." extension.
std::string withDefaultExtension(const std::string& name, const std::string& extension);

} // namespace kestrovan::files
