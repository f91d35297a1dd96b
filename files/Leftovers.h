#pragma once
// At start-up, the working copies that a run killed or cut off by a power
// loss left behind (platform/WorkingCopy.h) are removed from the folders the
// program writes to: its own folder (settings, histories), the data folder,
// and the destinations of copies, moves and splits as the destination
// history (Path.lst) remembers them.

#include <cstdint>
#include <string>
#include <vector>

namespace kestrovan::files {

// The program folder, the data folder and the history's destinations (a
// relative one read against the data folder), each once, in that order.
std::vector<std::string> foldersWrittenTo(const std::string& programFolder, const std::string& dataFolder);

// Removes the working copies older than `runStart` from each folder; the
// number removed.
int removeLeftovers(const std::vector<std::string>& folders, std::int64_t runStart);

} // namespace kestrovan::files
