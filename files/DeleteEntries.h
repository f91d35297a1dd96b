#pragma once
// Delete (F3, D): after the operator's confirmation the entries go to the
// desktop's trash. An entry the trash cannot take (its file system has no
// trash folder) is removed for good only when the operator says so for it.

#include "platform/Trash.h"

#include <string>
#include <vector>

namespace kestrovan::base {
class Dialogs;
}

namespace kestrovan::files {

// The trash as the delete uses it; tests stand in for a trash that refuses.
class Trash {
public:
  virtual ~Trash() = default;
  virtual platform::TrashResult moveToTrash(const std::string& path) = 0;
  virtual int removeForGood(const std::string& path) = 0;
};

class SystemTrash : public Trash {
public:
  platform::TrashResult moveToTrash(const std::string& path) override { return platform::moveToTrash(path); }
  int removeForGood(const std::string& path) override { return platform::removeForGood(path); }
};

enum class DeleteEnd {
  Cancelled, // the confirmation was answered No: nothing changed
  Done,      // every entry went (or was kept at the operator's word)
  Failed,    // an entry could not go; told in a box, the rest left alone
};

inline constexpr const char* kDeleteTitle = "ﾌｧｲﾙ削除";

// The confirmation: the one entry by name (a folder as such), or the count
// of the marked files.
std::string deleteQuestion(const std::vector<std::string>& paths, bool folder);

DeleteEnd DeleteEntries(const std::vector<std::string>& paths, bool folder, base::Dialogs& dialogs,
                        Trash& trash);

} // namespace kestrovan::files
