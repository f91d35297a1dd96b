#pragma once
// The two lines above the list: the header with the listed path and the
// entry count, and the info line describing the selected row.

#include "files/FileEntry.h"
#include "files/ListOptions.h"

#include <cstddef>
#include <optional>
#include <string>

namespace kestrovan::files {

// " Path=" + folder + "/*.*" (or "/" + mask when not every file is listed),
// cut or padded to 67 columns, then the count. Without a count (while the
// folder is being read) the count shows "????".
std::string headerLine(const std::string& folder, const ListOptions& options,
                       std::optional<std::size_t> entryCount);

std::string parentInfoLine();
std::string folderInfoLine(const FileEntry& folder);
std::string fileInfoLine(const FileEntry& file);

} // namespace kestrovan::files
