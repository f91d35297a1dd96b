#pragma once
// What the rename tells the operator when a name could not be given.

#include <string>
#include <string_view>
#include <vector>

namespace kestrovan::files {

// Why a rename was refused, from the file system's answer (an errno value).
enum class RenameRefusal {
  Exists,     // another entry has the name
  NotAllowed, // not a name an entry can have: empty, ".", "..", with "/"
  NotHere,    // a name this volume does not take (too long, characters it refuses)
  ReadOnly,   // the volume or the folder takes no changes
  Gone,       // the entry is no longer there since the list was read
  Other,
};
RenameRefusal renameRefusal(int error);

// One line of the refusal box: the new name and why.
struct RefusedName {
  std::string shown; // the new name as the screen shows it
  RenameRefusal why = RenameRefusal::Other;
  int error = 0;
};

inline constexpr const char* kRenameTitle = "名前変更";
// The box's text: a heading, then each refused name with its reason.
std::string renameRefusedText(const std::vector<RefusedName>& refused);
std::string_view refusalText(RenameRefusal why);

} // namespace kestrovan::files
