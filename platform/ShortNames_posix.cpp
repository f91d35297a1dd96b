#include "platform/DirectoryEnum.h"
#include "platform/Paths.h"
#include "platform/ShortNames.h"

// POSIX file systems keep no short names, so they are formed from the
// folder's current names each time they are asked for.

namespace kestrovan::platform {

ShortNameTable readShortNames(const std::string& folder) { return ShortNameTable(listNames(folder)); }

std::optional<std::string> shortNameOf(const std::string& path) {
  if (isRootFolder(path)) return std::string("/");
  const ShortNameTable table = readShortNames(parentFolder(path));
  if (const std::string* s = table.find(baseNameOf(path))) return *s;
  return std::nullopt;
}

} // namespace kestrovan::platform
