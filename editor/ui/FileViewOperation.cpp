#include "editor/ui/FileViewOperation.h"

#include "base/Dialogs.h"
#include "base/SettingsRecord.h"
#include "editor/EditorFile.h"
#include "editor/NcColouringSetting.h"
#include "editor/ProgramBytes.h"
#include "editor/ui/ProgramView.h"
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
  QPlainTextEdit* transfer = host.transferView();
  transfer->installEventFilter(this);
  view_ = new ProgramView(transfer);
  view_->setObjectName("FileViewText");
  view_->setFont(transfer->font());
  view_->hide();
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
  QPlainTextEdit* transfer = host_.transferView();
  transfer->setReadOnly(true);
  host_.setListEnabled(false);
  host_.showTransferPanel(kFileViewTitle, 328, 100, 350, "teal");
  // The file's bytes themselves are shown, read and indexed piece by piece
  // from the event loop: only the lines in view are decoded, so a 100 MB
  // program costs its bytes and their line index. A file that leaves no
  // text at once (a NUL first, nothing in it) goes to the loader, for its
  // question and its reading line by line.
  ProgramBytes bytes = ProgramBytes::open(path);
  bytes.readMore(ProgramView::kFirstPiece);
  std::uint64_t size = bytes.size();
  if (bytes.text().empty() || size == 0) {
    serial::ProgramFile program =
        serial::loadProgramFile(path, [this] { return serial::askWrongFormat(host_.dialogs()); });
    size = program.size;
    bytes = ProgramBytes(std::move(program.text));
  }
  view_->setGeometry(transfer->rect());
  view_->setProgram(std::move(bytes));
  view_->setNcColouring(ncColouringOn(host_.settings()));
  view_->show();
  view_->raise();
  host_.setStatusPanel(2, "ｻｲｽﾞ : " + files::sizeText(size));
  host_.setStatusPanel(3, kFileViewTitle);
  showing_ = true;
  view_->setFocus();
}

// However the panel goes (F3 or Esc, a return to idle), the view, its
// colouring and what is left to index go with it. A minimised window hides its
// children too, but that hide comes from the system and ends nothing.
bool FileViewOperation::eventFilter(QObject* watched, QEvent* event) {
  if (watched == host_.transferView() && event->type() == QEvent::Resize)
    view_->setGeometry(host_.transferView()->rect());
  if (showing_ && watched == host_.transferView() && event->type() == QEvent::Hide && !event->spontaneous())
    ended();
  return QObject::eventFilter(watched, event);
}

void FileViewOperation::ended() {
  showing_ = false;
  view_->clear();
  view_->setNcColouring(false);
  view_->hide();
}

} // namespace kestrovan::editor
