#include "platform/Rename.h"

#include <cerrno>

namespace kestrovan::platform {

int renameEntryWith(const RenameCalls& calls, const std::string& from, const std::string& to) {
  if (from == to) return 0;
  const int direct = calls.renameNoReplace(from, to);
  if (direct != EEXIST || !calls.sameEntry(from, to)) return direct;
  // The new name finds the entry itself: a case change on a file system that
  // ignores case. Through a name of its own, then to the new one; if that
  // last step fails the entry goes back to its old name.
  std::string step;
  for (int n = 1; n < 1000 && step.empty(); ++n) {
    std::string candidate = from + ".~rename" + std::to_string(n);
    if (!calls.exists(candidate)) step = std::move(candidate);
  }
  if (step.empty()) return EEXIST;
  if (const int r = calls.renameNoReplace(from, step); r != 0) return r;
  const int r = calls.renameNoReplace(step, to);
  if (r != 0) calls.renameNoReplace(step, from);
  return r;
}

int renameNoReplaceWith(const NoReplaceCalls& calls, const std::string& from, const std::string& to) {
  const int direct = calls.renameNoReplace(from, to);
  if (direct != EINVAL && direct != ENOSYS && direct != EOPNOTSUPP) return direct;
  const int linked = calls.link(from, to);
  if (linked == 0) {
    calls.unlink(from);
    return 0;
  }
  if (linked != EPERM && linked != EOPNOTSUPP && linked != ENOSYS) return linked;
  if (calls.exists(to)) return EEXIST;
  return calls.rename(from, to);
}

} // namespace kestrovan::platform
