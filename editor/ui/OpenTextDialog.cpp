#include "editor/ui/OpenTextDialog.h"

#include "base/Dialogs.h"
#include "editor/TextPreview.h"
#include "platform/Cp932.h"
#include "platform/Paths.h"

#include <QPlainTextEdit>

namespace kestrovan::editor {

namespace {

constexpr int kMemoHeight = 80;

// The listing mask as the file list reads it (letters without regard to
// case, "*.*" every file).
std::vector<host::FileChooser::FileType> maskType(const std::string& mask) {
  const std::string shown = mask.empty() ? std::string("*.*") : mask;
  return {{shown, {shown}}};
}

} // namespace

COpenTextDialog::COpenTextDialog(QWidget* parent, const std::string& folder, const std::string& mask,
                                 base::Dialogs& dialogs)
    : host::FileChooser(parent, Mode::Open, "開く", folder, maskType(mask)), dialogs_(dialogs) {
  setObjectName("COpenTextDialog");
  setDialogs(&dialogs);
  memo_ = new QPlainTextEdit(this);
  memo_->setObjectName("PreviewMemo");
  memo_->setReadOnly(true);
  memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo_->setFrameStyle(QFrame::Box | QFrame::Plain);
  memo_->setLineWidth(1);
  memo_->setFixedHeight(kMemoHeight);
  memo_->setBackgroundRole(QPalette::Base);
  memo_->setFocusPolicy(Qt::ClickFocus);
  addBelow(memo_);
  resize(width(), height() + kMemoHeight);
  onCurrentFile([this](const std::string& path) { previewPath(path); });
}

void COpenTextDialog::previewPath(const std::string& path) {
  if (path.empty() || path == previewed_ || !platform::isRegularFile(path)) return;
  previewed_ = path;
  const FilePreview preview = previewFile(path);
  switch (preview.kind) {
  case FilePreview::Kind::Text:
    memo_->clear();
    memo_->setPlainText(QString::fromStdString(platform::cp932ToUtf8(preview.bytes)));
    break;
  case FilePreview::Kind::NotText:
    dialogs_.show({kNotTextCaption, kNotTextPreview, base::MessageButtons::Ok, base::MessageIcon::Warning});
    break;
  case FilePreview::Kind::Unreadable:
    dialogs_.show({"Kestrovan", preview.error, base::MessageButtons::Ok, base::MessageIcon::None});
    break;
  case FilePreview::Kind::NotAFile: break;
  }
}

std::optional<std::string> chooseTextFile(QWidget* parent, const std::string& folder, const std::string& mask,
                                          base::Dialogs& dialogs) {
  COpenTextDialog dialog(parent, folder, mask, dialogs);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.chosen();
}

} // namespace kestrovan::editor
