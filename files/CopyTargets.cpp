#include "files/CopyTargets.h"

#include "files/FolderChange.h"
#include "files/NameText.h"
#include "platform/EntryOps.h"
#include "platform/Paths.h"

namespace kestrovan::files {

std::string maskExtension(const std::string& mask) {
  if (mask.empty()) return {};
  const std::string ext = mask.substr(1);
  if (ext.find_first_of("*?") != std::string::npos) return {};
  return ext;
}

std::string copyPromptTarget(const std::string& folder, const std::string& typed, const std::string& allFiles,
                             const std::string& mask) {
  return platform::joinPath(folder, allFiles == "Y" ? typed : typed + maskExtension(mask));
}

std::string destinationFolder(const std::string& text, const std::string& dirPath) {
  return typedFolder(text, dirPath);
}

bool sameFolder(const std::string& destination, const std::string& dirPath) {
  const std::string a = platform::stripTrailingSeparator(destination);
  const std::string b = platform::stripTrailingSeparator(dirPath);
  if (upperAscii(a) == upperAscii(b)) return true;
  const std::optional<platform::EntryStat> sa = platform::statEntry(platform::canonicalPath(a));
  const std::optional<platform::EntryStat> sb = platform::statEntry(platform::canonicalPath(b));
  return sa && sb && platform::sameEntry(*sa, *sb);
}

} // namespace kestrovan::files
