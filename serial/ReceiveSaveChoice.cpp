#include "serial/ReceiveSaveChoice.h"

#include "base/Dialogs.h"
#include "base/SettingsRecord.h"
#include "platform/Paths.h"
#include "serial/ReceiveFileNames.h"

namespace kestrovan::serial {
namespace {
constexpr int kEscape = 0x1B;
constexpr int kClickBand = 18; // pixels per line of the box's text
} // namespace

SaveChoice saveChoiceForKey(int key) {
  switch (key) {
  case 'Y':
  case 'y': return SaveChoice::ByName;
  case 'N':
  case 'n': return SaveChoice::PerProgramNumber;
  case kEscape: return SaveChoice::Cancel;
  default: return SaveChoice::None;
  }
}

SaveChoice saveChoiceForClick(int y) {
  if (y < 0) return SaveChoice::None;
  if (y <= kClickBand) return SaveChoice::ByName;
  if (y <= 2 * kClickBand) return SaveChoice::PerProgramNumber;
  if (y <= 3 * kClickBand) return SaveChoice::Cancel;
  return SaveChoice::None;
}

ReceiveTarget receiveTargetForName(const std::string& typed, const base::SettingsRecord& settings) {
  ReceiveTarget target;
  target.name = safeFileName(typed);
  if (settings.ALL_Files != "Y") target.name += outputExtension(settings.Mask);
  target.path = platform::joinPath(settings.DirPath, target.name);
  return target;
}

std::string overwriteQuestion(const std::string& path) {
  return "すでに" + path + "が有ります。\n" + "上書きしますか？";
}

NameEntry enterReceiveName(const std::string& typed, const base::SettingsRecord& settings,
                           base::Dialogs& dialogs) {
  NameEntry entry;
  entry.target = receiveTargetForName(typed, settings);
  if (platform::pathExists(entry.target.path)) {
    base::Message question{"確認", overwriteQuestion(entry.target.path), base::MessageButtons::YesNo,
                           base::MessageIcon::Warning};
    if (dialogs.show(question) != base::MessageAnswer::Yes) return entry;
  }
  entry.start = true;
  return entry;
}

} // namespace kestrovan::serial
