#include "editor/FileViewOperation.h"

#include "base/Dialogs.h"
#include "base/SettingsRecord.h"
#include "editor/EditorFile.h"
#include "editor/FileViewText.h"
#include "editor/NcColouringSetting.h"
#include "editor/NcHighlighter.h"
#include "editor/TextFeeder.h"
#include "files/FileList.h"
#include "files/SizeText.h"
#include "host/Host.h"
#include "serial/ProgramFile.h"

#include <QEvent>
#include <QPlainTextEdit>

namespace kestrovan::editor {

inline constexpr const char* kFileViewTitle = "ファイルビュー";

FileViewOperation::FileViewOperation(host::Host& host) : host_(host) {
  host.setCommandHandler(host::Command::FileView, [this](bool) { show(); });
  // Installed after the window's own filter, so it sees the view's events
  // first; it only watches, the window's transfer-panel keys do the rest.
  host.transferView()->installEventFilter(this);
  feeder_ = new TextFeeder(host.transferView());
}

void FileViewOperation::show() {
  files::FileList& list = host_.fileList();
  const int row = host_.selectedRow();
  if (list.rowKind(row) != files::RowKind::File) return;
  const std::string path = list.entryPath(row);
  // A pipe or a device is not read (the reading could wait for ever), and a
  // file that cannot be read is told rather than shown as an empty one.
  if (const auto refusal = refusalMessage(path, "表示")) {
    host_.dialogs().show({kFileViewTitle, *refusal, base::MessageButtons::Ok, base::MessageIcon::Warning});
    return;
  }
  QPlainTextEdit* view = host_.transferView();
  view->setReadOnly(true);
  host_.setListEnabled(false);
  host_.showTransferPanel(kFileViewTitle, 328, 100, 350, "teal");
  const serial::ProgramFile program =
      serial::loadProgramFile(path, [this] { return serial::askWrongFormat(host_.dialogs()); });
  feeder_->start(QString::fromStdString(fileViewText(program.text)), [] {});
  host_.setStatusPanel(2, "ｻｲｽﾞ : " + files::sizeText(program.size));
  host_.setStatusPanel(3, kFileViewTitle);
  setNcColouring(view, ncColouringOn(host_.settings()));
  showing_ = true;
  view->setFocus();
}

// However the panel goes (F3 or Esc, a return to idle), the view's colouring
// and what is left to go in go with it. A minimised window hides its
// children too, but that hide comes from the system and ends nothing.
bool FileViewOperation::eventFilter(QObject* watched, QEvent* event) {
  if (showing_ && watched == host_.transferView() && event->type() == QEvent::Hide && !event->spontaneous())
    ended();
  return QObject::eventFilter(watched, event);
}

void FileViewOperation::ended() {
  showing_ = false;
  feeder_->abandon();
  setNcColouring(host_.transferView(), false);
}

} // namespace kestrovan::editor
