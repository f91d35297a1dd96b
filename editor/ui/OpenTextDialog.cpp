#include "editor/ui/OpenTextDialog.h"

#include "base/Dialogs.h"
#include "editor/TextPreview.h"
#include "platform/Cp932.h"
#include "platform/Wildcard.h"

#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QGuiApplication>
#include <QListView>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSortFilterProxyModel>

namespace kestrovan::editor {

namespace {

constexpr int kMemoHeight = 80;
constexpr int kExtraHeight = 100;

// Lists the files the mask matches as the file list does (letters without
// regard to case, "*.*" every file), and every folder.
class MaskFilter : public QSortFilterProxyModel {
public:
  MaskFilter(std::string mask, QObject* parent) : QSortFilterProxyModel(parent), mask_(std::move(mask)) {}

protected:
  bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (!files || mask_.empty()) return true;
    const QModelIndex index = files->index(row, 0, parent);
    return files->isDir(index) || platform::wildcardMatch(mask_, files->fileName(index).toStdString());
  }

private:
  std::string mask_;
};

} // namespace

COpenTextDialog::COpenTextDialog(QWidget* parent, const std::string& folder, const std::string& mask,
                                 base::Dialogs& dialogs)
    : QFileDialog(parent, "開く", QString::fromStdString(folder)), dialogs_(dialogs) {
  setObjectName("COpenTextDialog");
  setOption(QFileDialog::DontUseNativeDialog, true);
  setOption(QFileDialog::HideNameFilterDetails, true);
  setFileMode(QFileDialog::ExistingFile);
  setAcceptMode(QFileDialog::AcceptOpen);
  setNameFilter(QString::fromStdString(mask.empty() ? std::string("*.*") : mask) + " (*)");
  setProxyModel(new MaskFilter(mask, this));

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
  if (auto* grid = qobject_cast<QGridLayout*>(layout()))
    grid->addWidget(memo_, grid->rowCount(), 0, 1, grid->columnCount());
  // The current file changes with the keys and clicks in the list, the
  // selection also with selectFile and the name field.
  connect(this, &QFileDialog::currentChanged, this, [this](const QString& path) { previewPath(path); });
  if (auto* list = findChild<QListView*>("listView"); list && list->selectionModel())
    connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
      const QStringList chosen = selectedFiles();
      if (!chosen.isEmpty()) previewPath(chosen.first());
    });
}

void COpenTextDialog::showEvent(QShowEvent* event) {
  QFileDialog::showEvent(event);
  if (grown_) return;
  grown_ = true;
  resize(width(), height() + kExtraHeight);
  if (const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen())
    move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

void COpenTextDialog::previewPath(const QString& path) {
  if (path.isEmpty() || path == previewed_ || !QFileInfo(path).isFile()) return;
  previewed_ = path;
  const FilePreview preview = previewFile(path.toStdString());
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
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first().toStdString();
}

} // namespace kestrovan::editor
