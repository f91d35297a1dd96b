#include "files/Leftovers.h"

#include "base/HistoryList.h"
#include "platform/Paths.h"
#include "platform/WorkingCopy.h"

#include <algorithm>

namespace kestrovan::files {

std::vector<std::string> foldersWrittenTo(const std::string& programFolder, const std::string& dataFolder) {
  std::vector<std::string> folders;
  auto add = [&](const std::string& folder) {
    if (folder.empty()) return;
    const std::string f = platform::stripTrailingSeparator(folder);
    if (std::find(folders.begin(), folders.end(), f) == folders.end()) folders.push_back(f);
  };
  add(programFolder);
  add(dataFolder);
  const base::HistoryList history =
      base::HistoryList::load(platform::joinPath(programFolder, base::kPathHistoryFile));
  for (const std::string& destination : history.entries())
    if (!destination.empty()) add(platform::pathFrom(dataFolder, destination));
  return folders;
}

int removeLeftovers(const std::vector<std::string>& folders, std::int64_t runStart) {
  int removed = 0;
  for (const std::string& folder : folders)
    removed += platform::removeLeftoverWorkingCopies(folder, runStart);
  return removed;
}

} // namespace kestrovan::files
