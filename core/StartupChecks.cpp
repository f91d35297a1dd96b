#include "core/StartupChecks.h"

#include "base/Dialogs.h"
#include "base/SettingsRecord.h"
#include "platform/Paths.h"
#include "platform/PortNames.h"
#include "serial/PortProbe.h"

namespace kestrovan::core {

void checkDataFolder(base::SettingsRecord& settings, base::Dialogs& dialogs, const std::string& homeFolder) {
  const std::string& dir = settings.DirPath;
  if (platform::isRootFolder(dir)) return;
  if (platform::isAbsolutePath(dir) && platform::isDirectory(dir)) return;

  base::MessageAnswer answer =
      dialogs.show({"警告", "ディレクトリが見つかりません。ディレクトリを作成しますか？",
                    base::MessageButtons::YesNo, base::MessageIcon::Warning});
  if (answer == base::MessageAnswer::Yes) {
    if (platform::createFolderPath(dir)) {
      settings.DirPath = platform::stripTrailingSeparator(dir);
      return;
    }
    // A folder that cannot be made (no rights, a relative or foreign path such
    // as "C:\NC") would leave every later file operation pointing nowhere.
    dialogs.show({"エラー", "ディレクトリを作成できませんでした。\n" + dir, base::MessageButtons::Ok,
                  base::MessageIcon::Error});
  }
  settings.DirPath = homeFolder;
}

bool checkPort(const base::SettingsRecord& settings, serial::PortOpener& opener, base::Dialogs& dialogs) {
  std::optional<int> number = platform::portNumber(settings.Port);
  serial::PortCheck check{serial::PortProblem::Other, {}, 0};
  if (number) check = serial::checkPort(*number, opener, settings.ModemePort1, settings.ModemePort2);
  if (!check.usable()) {
    std::string text = settings.Port + "のポートが使用不可です。\n通信設定をおこなってください。";
    // Which device, and why: missing, in use, or not allowed.
    if (const std::string why = serial::portProblemText(check); !why.empty()) text += "\n" + why;
    dialogs.show({"エラー", text, base::MessageButtons::Ok, base::MessageIcon::Error});
  }
  return check.usable();
}

ListLayout correctListLayout(base::SettingsRecord& settings) {
  if (settings.ListColumn >= 1 && settings.ListColumn <= 4) return {settings.ListColumn, 616};
  settings.ListColumn = 5;
  return {5, 728};
}

} // namespace kestrovan::core
