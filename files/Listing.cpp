#include "files/Listing.h"

#include "files/DateText.h"
#include "files/NameText.h"
#include "platform/DirectoryEnum.h"
#include "platform/Trash.h"
#include "platform/WorkingCopy.h"

#include <algorithm>

namespace kestrovan::files {
namespace {

class ListFilter {
public:
  explicit ListFilter(const ListOptions& options)
      : all_(options.allFiles == "Y"), mask_(upperAscii(options.mask)) {}
  bool takes(std::string_view name) const {
    if (all_) return true;
    const std::string_view ext = fileExtension(name);
    if (mask_.size() != ext.size() + 1 || mask_[0] != '*') return false;
    return upperAscii(ext) == std::string_view(mask_).substr(1);
  }

private:
  bool all_;
  std::string mask_;
};

} // namespace

bool fileIsListed(std::string_view name, const ListOptions& options) {
  return ListFilter(options).takes(name);
}

Listing readListing(platform::DirectorySearch& search, const ListOptions& options) {
  const ListFilter filter(options);
  Listing listing;
  for (bool more = search.found(); more; more = search.next()) {
    platform::DirEntry& e = search.entry();
    if (e.name == "." || e.name == "..") continue;
    // A volume's trash and the working copies of copies and writes under
    // way (or left by a run that was killed) are no entries of the folder.
    if (e.isFolder ? platform::isTrashFolderName(e.name) : platform::isWorkingCopyName(e.name)) continue;
    if (e.isFolder) {
      listing.folders.push_back({std::move(e.name), {}, folderDateText(e.modified), 0});
    } else if (filter.takes(e.name)) {
      std::string size = std::to_string(e.size);
      listing.files.push_back({std::move(e.name), std::move(size), fileDateText(e.modified), e.size});
    }
  }
  // Each file is taken in front of the ones before it; the sort keeps that
  // order among equal keys.
  std::reverse(listing.files.begin(), listing.files.end());
  return listing;
}

} // namespace kestrovan::files
