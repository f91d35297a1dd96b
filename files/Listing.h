#pragma once
// Reading a folder into the two tables of the list.

#include "files/FileEntry.h"
#include "files/ListOptions.h"

#include <string>
#include <string_view>
#include <vector>

namespace kestrovan::platform {
class DirectorySearch;
}

namespace kestrovan::files {

struct Listing {
  std::vector<FileEntry> folders; // enumeration order, never sorted
  std::vector<FileEntry> files;   // every taken file, unsorted
};

// True when a file is listed: every file with allFiles "Y", otherwise only
// those whose "*" + extension equals the mask, letters compared in upper
// case ("*.NC" takes "a.nc" and "B.NC", not "c.nc1" or "README").
bool fileIsListed(std::string_view name, const ListOptions& options);

// Reads what is left of a search that found its first entry into the
// tables; "." and "..", a volume's trash folders and working copies are
// skipped.
Listing readListing(platform::DirectorySearch& search, const ListOptions& options);

} // namespace kestrovan::files
