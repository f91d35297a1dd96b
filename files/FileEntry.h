#pragma once
// One folder or file of the listing.

#include <cstdint>
#include <string>

namespace kestrovan::files {

struct FileEntry {
  std::string name;       // long name, as enumerated
  std::string sizeText;   // decimal size in bytes; empty for a folder
  std::string dateText;   // "YYYY-MM-DD HH:NN:SS" local time; empty when unknown
  std::uint64_t size = 0; // full size; sizes of 4 GiB and more sort and show right
};

} // namespace kestrovan::files
