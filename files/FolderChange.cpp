#include "files/FolderChange.h"

#include "base/Dialogs.h"
#include "platform/Paths.h"

#include <filesystem>

namespace kestrovan::files {

bool CreateFolderPath(const std::string& path) {
  const std::string p = platform::stripTrailingSeparator(path);
  if (p.empty() || platform::isRootFolder(p)) return false;
  return platform::createFolderPath(p);
}

// "." and ".." are resolved on the text, as the shell's cd does: the folder
// is the one the operator named, and the ".." row of the list then leads to
// its parent, not back into the folder it was typed from.
std::string typedFolder(const std::string& text, const std::string& dirPath) {
  const std::string path = platform::pathFrom(dirPath, text);
  if (!platform::isAbsolutePath(path)) return platform::stripTrailingSeparator(path);
  return platform::stripTrailingSeparator(std::filesystem::path(path).lexically_normal().string());
}

std::string enterFolder(const std::string& text, const std::string& dirPath, base::Dialogs& dialogs) {
  const std::string folder = typedFolder(text, dirPath);
  if (platform::isDirectory(folder)) return folder;
  const base::MessageAnswer answer =
      dialogs.show({"確認", "ディレクトリが有りません。\n" + folder + "を作成しますか？",
                    base::MessageButtons::YesNo, base::MessageIcon::Warning});
  if (answer != base::MessageAnswer::Yes) return dirPath;
  if (CreateFolderPath(folder)) return folder;
  dialogs.show({"確認", "ディレクトリを作成できませんでした。\n" + folder, base::MessageButtons::Ok,
                base::MessageIcon::Error});
  return dirPath;
}

} // namespace kestrovan::files
