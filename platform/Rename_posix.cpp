#include "platform/Rename.h"

#include "platform/EntryOps.h"
#include "platform/Paths.h"

#include <optional>

namespace kestrovan::platform {

int renameEntry(const std::string& from, const std::string& to) {
  static const RenameCalls calls{
      [](const std::string& a, const std::string& b) { return renameNoReplace(a, b); },
      [](const std::string& a, const std::string& b) {
        const std::optional<EntryStat> sa = statEntry(a);
        const std::optional<EntryStat> sb = statEntry(b);
        return sa && sb && sameEntry(*sa, *sb);
      },
      [](const std::string& p) { return statEntry(p).has_value(); }};
  return renameEntryWith(calls, from, to);
}

} // namespace kestrovan::platform
