#include "host/FileChooser.h"

#include "base/Dialogs.h"
#include "files/ChooserRows.h"
#include "host/DialogKeys.h"
#include "platform/NameBytes.h"
#include "platform/Paths.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QVBoxLayout>

namespace kestrovan::host {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

} // namespace

// The rows of one folder; each keeps its name's bytes beside the text shown.
class ChooserModel : public QAbstractListModel {
public:
  explicit ChooserModel(QObject* parent) : QAbstractListModel(parent) {}

  void setRows(std::vector<files::ChooserRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
  }
  const files::ChooserRow* row(const QModelIndex& index) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= static_cast<int>(rows_.size())) return nullptr;
    return &rows_[static_cast<std::size_t>(index.row())];
  }

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    const files::ChooserRow* r = row(index);
    if (!r) return {};
    if (role == Qt::DisplayRole) return q(r->shown);
    if (role == Qt::DecorationRole)
      return QApplication::style()->standardIcon(r->isFolder ? QStyle::SP_DirIcon : QStyle::SP_FileIcon);
    return {};
  }

private:
  std::vector<files::ChooserRow> rows_;
};

FileChooser::FileChooser(QWidget* parent, Mode mode, const std::string& caption, const std::string& folder,
                         std::vector<FileType> types)
    : QDialog(parent), mode_(mode), types_(std::move(types)) {
  setObjectName("FileChooser");
  setWindowTitle(q(caption));
  setModal(true);
  resize(600, 400);

  path_ = new QLabel(this);
  path_->setObjectName("FolderPath");
  path_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  model_ = new ChooserModel(this);
  list_ = new QListView(this);
  list_->setObjectName("FileList");
  list_->setModel(model_);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setUniformItemSizes(true);
  name_ = new QLineEdit(this);
  name_->setObjectName("FileNameEdit");
  typeBox_ = new QComboBox(this);
  typeBox_->setObjectName("FileTypeCombo");
  for (const FileType& t : types_)
    typeBox_->addItem(q(t.label));

  const char* okText = mode == Mode::Open ? "開く(&O)" : mode == Mode::Save ? "保存(&S)" : "選択(&O)";
  ok_ = new QPushButton(okText, this);
  ok_->setObjectName("OkButton");
  cancel_ = new QPushButton("キャンセル", this);
  cancel_->setObjectName("CancelButton");
  for (QPushButton* b : {ok_, cancel_}) {
    b->setAutoDefault(false);
    b->setDefault(false);
  }

  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel("場所:", this), 0, 0);
  grid->addWidget(path_, 0, 1, 1, 2);
  grid->addWidget(list_, 1, 0, 1, 3);
  grid->addWidget(new QLabel(mode == Mode::Folder ? "フォルダー名:" : "ファイル名:", this), 2, 0);
  grid->addWidget(name_, 2, 1);
  grid->addWidget(ok_, 2, 2);
  if (mode != Mode::Folder) {
    grid->addWidget(new QLabel("ファイルの種類:", this), 3, 0);
    grid->addWidget(typeBox_, 3, 1);
  } else {
    typeBox_->hide();
  }
  grid->addWidget(cancel_, 3, 2);
  grid->setColumnStretch(1, 1);
  auto* all = new QVBoxLayout(this);
  all->addLayout(grid, 1);
  below_ = new QVBoxLayout;
  all->addLayout(below_);

  connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this] { currentRowChanged(); });
  connect(list_, &QListView::doubleClicked, this, [this] { enterPressed(); });
  connect(typeBox_, &QComboBox::currentIndexChanged, this, [this] { refresh(); });
  connect(ok_, &QPushButton::clicked, this, [this] { acceptName(); });
  connect(cancel_, &QPushButton::clicked, this, [this] { reject(); });
  auto* back = new QShortcut(QKeySequence(Qt::Key_Backspace), list_, nullptr, nullptr, Qt::WidgetShortcut);
  connect(back, &QShortcut::activated, this, [this] { goUp(); });
  auto* up = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Up), this);
  connect(up, &QShortcut::activated, this, [this] { goUp(); });
  installDialogKeys(*this, {[this] { enterPressed(); }, {}, nullptr});

  // A start that is gone: the nearest folder above it that is there.
  std::string start = folder.empty() ? platform::currentFolder() : folder;
  while (!platform::isDirectory(start) && !platform::isRootFolder(start))
    start = platform::parentFolder(start);
  goTo(start);
  if (mode == Mode::Folder)
    list_->setFocus();
  else
    name_->setFocus();
}

FileChooser::~FileChooser() = default;

void FileChooser::addBelow(QWidget* widget) { below_->addWidget(widget); }

void FileChooser::goTo(const std::string& folder) {
  const std::string target =
      platform::isRootFolder(folder) ? folder : platform::stripTrailingSeparator(folder);
  files::ChooserFilter filter;
  filter.foldersOnly = mode_ == Mode::Folder;
  if (const int t = typeBox_->currentIndex(); t >= 0 && t < static_cast<int>(types_.size()))
    filter.patterns = types_[static_cast<std::size_t>(t)].patterns;
  files::ChooserListing listing = files::chooserRows(target, filter);
  if (listing.error != 0 && !folder_.empty()) {
    ask(files::shownPath(target) + "\nフォルダーを開けません。", false);
    return;
  }
  folder_ = target;
  model_->setRows(std::move(listing.rows));
  path_->setText(q(files::shownPath(folder_)));
  list_->setCurrentIndex({});
  if (mode_ == Mode::Folder) {
    name_->clear();
    rowName_.clear();
    rowShown_.clear();
  }
}

void FileChooser::refresh() {
  if (!folder_.empty()) goTo(folder_);
}

void FileChooser::goUp() {
  if (platform::isRootFolder(folder_)) return;
  goTo(platform::parentFolder(folder_));
}

void FileChooser::currentRowChanged() {
  const files::ChooserRow* row = model_->row(list_->currentIndex());
  if (!row) return;
  if (row->isFolder && mode_ != Mode::Folder) return;
  rowName_ = row->name;
  rowShown_ = q(row->shown);
  name_->setText(rowShown_);
  if (!row->isFolder && seen_) seen_(platform::joinPath(folder_, row->name));
}

void FileChooser::enterPressed() {
  if (QApplication::focusWidget() == list_) {
    if (const files::ChooserRow* row = model_->row(list_->currentIndex()); row && row->isFolder) {
      goTo(platform::joinPath(folder_, row->name));
      return;
    }
  }
  acceptName();
}

// The bytes of what the name field holds: a name taken from the list keeps
// the bytes the operator's edit left as they were.
std::string FileChooser::typedName() const {
  const QString text = name_->text();
  if (text == rowShown_) return rowName_;
  if (!rowName_.empty()) return platform::nameFromShown(rowName_, text.toStdString());
  return text.toStdString();
}

void FileChooser::acceptName() {
  std::string name = typedName();
  if (mode_ == Mode::Folder && name.empty()) return finish(folder_);
  if (name.empty()) return;
  std::string path = platform::isAbsolutePath(name) ? name : platform::joinPath(folder_, name);
  if (mode_ == Mode::Folder) {
    if (platform::isDirectory(path)) return finish(path);
    ask(files::shownPath(path) + "\nフォルダーが見つかりません。", false);
    return;
  }
  if (platform::isDirectory(path)) {
    name_->clear();
    rowName_.clear();
    rowShown_.clear();
    goTo(path);
    return;
  }
  if (mode_ == Mode::Open) {
    if (platform::pathExists(path)) return finish(path);
    ask(files::shownPath(path) + "\nファイルが見つかりません。", false);
    return;
  }
  const std::size_t slash = path.rfind('/');
  path = path.substr(0, slash + 1) + files::withDefaultExtension(path.substr(slash + 1), extension_);
  if (platform::pathExists(path) &&
      !ask(files::shownPath(platform::baseNameOf(path)) + " は既に存在します。\n上書きしますか?", true))
    return;
  finish(path);
}

void FileChooser::finish(const std::string& path) {
  chosen_ = path;
  accept();
}

bool FileChooser::ask(const std::string& text, bool question) {
  const std::string title = windowTitle().toStdString();
  if (dialogs_)
    return dialogs_->show({title, text, question ? base::MessageButtons::YesNo : base::MessageButtons::Ok,
                           base::MessageIcon::Warning}) == base::MessageAnswer::Yes;
  if (!question) {
    QMessageBox::warning(this, q(title), q(text));
    return false;
  }
  return QMessageBox::warning(this, q(title), q(text), QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
         QMessageBox::Yes;
}

} // namespace kestrovan::host
