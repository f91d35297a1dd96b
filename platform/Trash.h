#pragma once
// The desktop's trash (the freedesktop.org Trash: the entry under files/,
// its origin and deletion time in info/<name>.trashinfo), and removal for
// good. An entry goes to the home trash ($XDG_DATA_HOME/Trash) when it lies
// on the same file system, else to the trash at the top of its own file
// system ($topdir/.Trash/$uid, or $topdir/.Trash-$uid), which file managers
// show and restore from as well.

#include <string>
#include <string_view>

namespace kestrovan::platform {

enum class TrashEnd {
  Trashed,
  NoTrash, // no trash can take the entry (its file system has no usable trash folder)
  Failed,  // the entry cannot be moved at all (gone, its folder read-only)
};

struct TrashResult {
  TrashEnd end = TrashEnd::Failed;
  int error = 0;
};

// A trash folder that is needed and missing is made; one made for an entry
// that then cannot go there is removed again.
TrashResult moveToTrash(const std::string& path);

// The name of a volume's trash folder (".Trash", ".Trash-1000"), which the
// list never shows.
bool isTrashFolderName(std::string_view name);

// Removes a file or a link, or a folder with everything in it; links are
// removed, never followed. 0, or the errno of the first failure.
int removeForGood(const std::string& path);

} // namespace kestrovan::platform
