#include "files/DeleteEntries.h"

#include "base/Dialogs.h"
#include "files/CopyMove.h"
#include "platform/Paths.h"

namespace kestrovan::files {

std::string deleteQuestion(const std::vector<std::string>& paths, bool folder) {
  if (paths.size() == 1) {
    const std::string name = platform::baseNameOf(paths.front());
    if (folder) return "フォルダー " + name + " を中身ごとごみ箱に移しますか？";
    return name + " をごみ箱に移しますか？";
  }
  return std::to_string(paths.size()) + " 個のファイルをごみ箱に移しますか？";
}

DeleteEnd DeleteEntries(const std::vector<std::string>& paths, bool folder, base::Dialogs& dialogs,
                        Trash& trash) {
  if (paths.empty()) return DeleteEnd::Cancelled;
  if (dialogs.show({kDeleteTitle, deleteQuestion(paths, folder), base::MessageButtons::YesNo,
                    base::MessageIcon::Question}) != base::MessageAnswer::Yes)
    return DeleteEnd::Cancelled;
  auto failed = [&](const std::string& path, int error) {
    dialogs.show({kDeleteTitle, path + " を削除できませんでした。\n" + failureReason(error),
                  base::MessageButtons::Ok, base::MessageIcon::Error});
    return DeleteEnd::Failed;
  };
  for (const std::string& path : paths) {
    const platform::TrashResult r = trash.moveToTrash(path);
    if (r.end == platform::TrashEnd::Trashed) continue;
    if (r.end == platform::TrashEnd::Failed) return failed(path, r.error);
    const base::MessageAnswer forGood =
        dialogs.show({kDeleteTitle, path + " はごみ箱に移せません。\n完全に削除しますか？（元に戻せません）",
                      base::MessageButtons::YesNo, base::MessageIcon::Warning});
    if (forGood != base::MessageAnswer::Yes) continue;
    if (const int error = trash.removeForGood(path); error != 0) return failed(path, error);
  }
  return DeleteEnd::Done;
}

} // namespace kestrovan::files
