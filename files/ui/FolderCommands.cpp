#include "files/ui/FolderCommands.h"

#include "base/SettingsRecord.h"
#include "files/ChooserRows.h"
#include "files/FileList.h"
#include "files/FolderChange.h"
#include "host/FolderBrowser.h"
#include "host/Host.h"
#include "host/ScreenWidgets.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QMenu>
#include <QStyle>
#include <QWidget>

namespace kestrovan::files {
namespace {

std::string promptText(const std::string& dirPath) { return "現ﾃﾞｨﾚｸﾄﾘ " + dirPath + " -->>>変更後 "; }

} // namespace

const char* driveLabel(platform::DriveKind kind) {
  switch (kind) {
  case platform::DriveKind::Removable: return " (ﾘﾑｰﾊﾞﾌﾞﾙﾃﾞｨｽｸ)";
  case platform::DriveKind::Fixed: return " (固定ﾃﾞｨｽｸ)";
  case platform::DriveKind::Network: return " (ﾈｯﾄﾜｰｸ)";
  case platform::DriveKind::CdRom: return " (CD-ROM)";
  case platform::DriveKind::RamDisk: return " (RAM ﾃﾞｨｽｸ)";
  }
  return "";
}

QIcon driveIcon(platform::DriveKind kind) {
  QStyle* style = QApplication::style();
  switch (kind) {
  case platform::DriveKind::Removable:
    return QIcon::fromTheme("drive-removable-media", style->standardIcon(QStyle::SP_DriveFDIcon));
  case platform::DriveKind::Fixed:
    return QIcon::fromTheme("drive-harddisk", style->standardIcon(QStyle::SP_DriveHDIcon));
  case platform::DriveKind::Network:
    return QIcon::fromTheme("folder-remote", style->standardIcon(QStyle::SP_DriveNetIcon));
  case platform::DriveKind::CdRom:
    return QIcon::fromTheme("media-optical", style->standardIcon(QStyle::SP_DriveCDIcon));
  case platform::DriveKind::RamDisk:
    return QIcon::fromTheme("media-flash", style->standardIcon(QStyle::SP_DriveDVDIcon));
  }
  return {};
}

FolderCommands::FolderCommands(host::Host& host, host::FolderBrowser& browser)
    : host_(host), browser_(browser), menu_(new QMenu(host.window())) {
  menu_->setObjectName("DriveMenu");
  menu_->setFont(host::screenFont(12));
}

FolderCommands::~FolderCommands() = default;

void FolderCommands::folderPrompt() {
  const std::string& dir = host_.settings().DirPath;
  openFolderPrompt(dir, dir);
}

// The prompt line holds text: a folder whose name is not UTF-8 is shown as
// shownPath shows it, and its bytes are kept for when that text comes back.
void FolderCommands::openFolderPrompt(const std::string& dir, const std::string& folder) {
  put_ = folder;
  putShown_ = shownPath(folder);
  host_.OpenPrompt(host::PromptMode::Folder, promptText(dir), putShown_);
}

void FolderCommands::folderBrowse() {
  const std::string dir = host_.settings().DirPath;
  const std::optional<std::string> chosen = browser_.browse(host_.window(), "現ﾃﾞｨﾚｸﾄﾘ " + dir, dir);
  openFolderPrompt(dir, chosen.value_or(dir));
}

void FolderCommands::folderEntered(const std::string& text) {
  base::SettingsRecord& s = host_.settings();
  host_.clearPromptLine();
  // The folder put into the line keeps its bytes, also with more typed after it.
  const std::string folder =
      !putShown_.empty() && text.starts_with(putShown_) ? put_ + text.substr(putShown_.size()) : text;
  put_.clear();
  putShown_.clear();
  s.DirPath = enterFolder(folder, s.DirPath, host_.dialogs());
  host_.refreshFileList({});
  host_.showMessage("", host::MessageColour::Lime);
  host_.closePrompt();
}

// Rebuilt every time it opens, so volumes that came or went are seen.
void FolderCommands::driveMenu() {
  menu_->clear();
  const std::vector<platform::DriveRoot> roots = platform::readDriveRoots(QDir::homePath().toStdString());
  int number = 0;
  for (const platform::DriveRoot& root : roots) {
    ++number;
    // The first nine have their number as the keyboard accelerator.
    QString text = QString::fromStdString(root.path + driveLabel(root.kind)).replace("&", "&&");
    if (number <= 9) text = QString("&%1 ").arg(number) + text;
    QAction* action = menu_->addAction(driveIcon(root.kind), text);
    const std::string path = root.path;
    QObject::connect(action, &QAction::triggered, menu_, [this, path] { chooseDrive(path); });
  }
  QWidget* w = host_.window();
  const QPoint at = w->frameGeometry().topLeft() + QPoint(30, 338 / 2);
  menu_->exec(at);
}

void FolderCommands::chooseDrive(const std::string& path) {
  host_.settings().DirPath = path;
  host_.refreshFileList({});
}

} // namespace kestrovan::files
