// The history lists: any file loads to at most 20 entries of at most the
// longest entry; a list saved and loaded again is the same list.

#include "FuzzSupport.h"
#include "base/HistoryList.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

using namespace kestrovan;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  fuzz::clearScratch();
  const std::string path = fuzz::scratchFolder() + "/Path.lst";
  fuzz::check(fuzz::writeFile(path, bytes), "cannot write the input");
  base::HistoryList list = base::HistoryList::load(path);
  fuzz::check(list.entries().size() <= base::kHistoryLimit, "more than 20 entries");

  // What was read, saved and read again: the same entries.
  fuzz::check(static_cast<bool>(list.save(path)), "cannot save the list");
  const base::HistoryList again = base::HistoryList::load(path);
  fuzz::check(again.entries() == list.entries(), "the list did not come back", bytes);

  // An entry of the file's bytes (as a folder typed): accepted, it comes back.
  std::string typed(bytes.substr(0, std::min<size_t>(bytes.size(), 300)));
  if (typed.find_first_of("\r\n") == std::string::npos) {
    list.add(typed);
    fuzz::check(list.entries().front() == typed && list.entries().size() <= base::kHistoryLimit,
                "an accepted entry is not first");
    fuzz::check(static_cast<bool>(list.save(path)), "cannot save the list");
    fuzz::check(base::HistoryList::load(path).entries() == list.entries(),
                "an accepted entry did not come back", typed);
  }
  return 0;
}
