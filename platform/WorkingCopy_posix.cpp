#include "platform/WorkingCopy.h"

#include "platform/DirectoryEnum.h"
#include "platform/Paths.h"

#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrovan::platform {
namespace {

constexpr std::string_view kMark = ".~kv";
constexpr std::size_t kRandom = 6; // mkstemp's XXXXXX

bool isRandomLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

} // namespace

std::string cutName(std::string_view name, std::size_t bytes) {
  if (name.size() <= bytes) return std::string(name);
  std::size_t end = bytes;
  // Back to the first byte of the character the cut falls in.
  while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80)
    --end;
  return std::string(name.substr(0, end));
}

std::string workingCopyTemplate(const std::string& target) {
  const std::size_t room = NAME_MAX - 1 - kMark.size() - kRandom;
  return joinPath(parentFolder(target),
                  "." + cutName(baseNameOf(target), room) + std::string(kMark) + std::string(kRandom, 'X'));
}

bool isWorkingCopyName(std::string_view name) {
  const std::size_t tail = kMark.size() + kRandom;
  if (name.size() <= tail + 1 || name.front() != '.') return false;
  if (name.substr(name.size() - tail, kMark.size()) != kMark) return false;
  for (const char c : name.substr(name.size() - kRandom))
    if (!isRandomLetter(c)) return false;
  return true;
}

int removeLeftoverWorkingCopies(const std::string& folder, std::int64_t before) {
  int removed = 0;
  for (const std::string& name : listNames(folder)) {
    if (!isWorkingCopyName(name)) continue;
    const std::string path = joinPath(folder, name);
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    // The status change time, which every write moves and no program can set
    // back: a working copy another running program is still writing is
    // newer than this run.
    if (static_cast<std::int64_t>(st.st_ctime) >= before) continue;
    if (unlink(path.c_str()) == 0) ++removed;
  }
  return removed;
}

} // namespace kestrovan::platform
