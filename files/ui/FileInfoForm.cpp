#include "files/ui/FileInfoForm.h"

#include "base/Dialogs.h"
#include "files/ui/DialogParts.h"
#include "files/FileList.h"
#include "files/NameText.h"
#include "host/DialogKeys.h"
#include "host/FixedDialog.h"
#include "host/Host.h"
#include "host/ScreenWidgets.h"
#include "platform/DirectoryEnum.h"
#include "platform/FileMode.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeDatabase>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace kestrovan::files {
namespace {

QString q(const std::string& utf8) { return QString::fromStdString(utf8); }

struct ShownType {
  QIcon icon;
  std::string name;
};

// The desktop's type for the extension alone, unless the file's contents
// say it is something else: the database gives ".nc" to NetCDF data, and
// an NC program of that name is text. Contents it cannot tell (unreadable,
// empty, unknown bytes) leave the extension's type standing.
QMimeType extensionType(const std::string& path, const std::string& name) {
  const QMimeDatabase db;
  const QMimeType byName =
      db.mimeTypeForFile("x" + q(std::string(fileExtension(name))), QMimeDatabase::MatchExtension);
  if (byName.isDefault()) return {};
  const QMimeType byContent = db.mimeTypeForFile(q(path), QMimeDatabase::MatchContent);
  if (byContent.isDefault() || byContent.name() == "application/x-zerosize" ||
      byName.inherits(byContent.name()) || byContent.inherits(byName.name()))
    return byName;
  return {};
}

// A file's icon and type name: a program's from the icon theme, any other
// file's from the desktop's type for its extension.
ShownType fileType(const std::string& path, const std::string& name) {
  if (platform::isProgramFile(path)) {
    const QIcon icon = QIcon::fromTheme("application-x-executable");
    if (icon.isNull()) return {QApplication::windowIcon(), kIconlessProgramTypeName};
    return {icon, kProgramTypeName};
  }
  QIcon icon;
  DesktopType desktop;
  if (const QMimeType mime = extensionType(path, name); mime.isValid()) {
    icon = QIcon::fromTheme(mime.iconName(), QIcon::fromTheme(mime.genericIconName()));
    desktop = {mime.comment().toStdString(), !icon.isNull()};
  }
  const std::string type = fileTypeName(name, desktop);
  return {desktop.icon ? icon : QIcon(), type};
}

QLabel* line(QWidget* parent, const char* name, QRect place) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setGeometry(place);
  return label;
}

} // namespace

TFileInfoForm::TFileInfoForm(host::Host& host) : QDialog(host.window(), host::kFixedDialog), host_(host) {
  host::setUpFixedDialog(*this, "FileInfoForm", kFileInfoTitle, {332, 306});

  Image1 = line(this, "InfoIcon", {16, 12, 32, 32});
  NameLabel = line(this, "InfoName", {60, 20, 256, 16});
  TypeLabel = line(this, "InfoType", {16, 56, 300, 16});
  PlaceLabel = line(this, "InfoPlace", {16, 76, 300, 32});
  PlaceLabel->setWordWrap(true);
  PlaceLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  SizeLabel = line(this, "InfoSize", {16, 112, 300, 16});

  auto* attributes = new QGroupBox("属性", this);
  attributes->setGeometry(16, 136, 300, 64);
  const auto box = [&](const char* name, const char* text, int x, int y) {
    auto* b = new QCheckBox(text, attributes);
    b->setObjectName(name);
    b->setGeometry(x, y, 136, 18);
    return b;
  };
  CheckBox1 = box("InfoReadOnly", "読み取り専用", 12, 18);
  CheckBox2 = box("InfoHidden", "隠しファイル", 152, 18);
  CheckBox3 = box("InfoSystem", "システム", 12, 40);
  CheckBox4 = box("InfoArchive", "アーカイブ", 152, 40);
  // A hidden name is changed by a rename; system and archive do not exist.
  for (QCheckBox* b : {CheckBox2, CheckBox3, CheckBox4})
    b->setEnabled(false);

  Button1 = dialogButton(this, "更新", "InfoUpdate", {152, 270, 76, 25});
  Button2 = dialogButton(this, "終了", "InfoClose", {240, 270, 76, 25});

  auto* time = new QGroupBox("更新日時", this);
  time->setGeometry(16, 208, 300, 52);
  static constexpr int kWidth[kTimeFieldCount] = {44, 28, 28, 28, 28, 28};
  static constexpr const char* kAfter[kTimeFieldCount] = {"-", "-", "", ":", ":", ""};
  int x = 12;
  for (int i = 0; i < kTimeFieldCount; ++i) {
    QLineEdit* edit = new QLineEdit(time);
    edit->setObjectName(QString("InfoTime%1").arg(i + 1)); // the field's tag
    edit->setGeometry(x, 20, kWidth[i], 22);
    edit->setMaxLength(kTimeFieldLength[static_cast<std::size_t>(i)]);
    // Digits only, however they come (typed, pasted, dropped).
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::textChanged, this, [this] { Button1->setEnabled(true); });
    Edit_[static_cast<std::size_t>(i)] = edit;
    x += kWidth[i] + (i == 2 ? 14 : 4);
    if (*kAfter[i]) {
      auto* separator = new QLabel(kAfter[i], time);
      separator->setGeometry(x - 4, 22, 8, 18);
      x += 6;
    }
  }
  connect(CheckBox1, &QCheckBox::toggled, this, [this] { Button1->setEnabled(true); });

  connect(Button1, &QPushButton::clicked, this, &TFileInfoForm::Button1Click);
  host::installDialogKeys(*this, {[this] {
                                    if (Button1->isEnabled()) Button1Click();
                                  },
                                  {Edit_.begin(), Edit_.end()},
                                  &host_});
  connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

bool TFileInfoForm::showModal(const std::string& folder, const std::string& name) {
  path_ = platform::joinPath(folder, name);
  const std::optional<platform::DirEntry> entry = platform::entryInfo(path_);
  if (!entry) return false;

  NameLabel->setText(q(name));
  PlaceLabel->setText(q(locationLine(folder)));
  ShownType type;
  if (entry->isFolder) {
    type = {QIcon::fromTheme("folder"), kFolderTypeName};
    SizeLabel->setText(q(folderSizeLine()));
  } else {
    type = fileType(path_, name);
    SizeLabel->setText(q(sizeLine(entry->size)));
  }
  TypeLabel->setText(q(typeLine(type.name)));
  Image1->setPixmap(type.icon.isNull() ? QPixmap() : type.icon.pixmap(32, 32));

  shownReadOnly_ = entry->readOnly;
  CheckBox1->setChecked(entry->readOnly);
  CheckBox2->setChecked(entry->hidden);
  CheckBox3->setChecked(false);
  CheckBox4->setChecked(false);
  shownTime_ = timeFieldsOf(entry->modified, !entry->isFolder);
  for (int i = 0; i < kTimeFieldCount; ++i)
    Edit_[static_cast<std::size_t>(i)]->setText(q(shownTime_[static_cast<std::size_t>(i)]));
  Button1->setEnabled(false);

  setWindowModality(Qt::ApplicationModal);
  show();
  host::centreOnMainWindow(*this, host_);
  raise();
  activateWindow();
  Button2->setFocus(); // an Enter straight away closes without changes
  return true;
}

TimeFields TFileInfoForm::fields() const {
  TimeFields f;
  for (int i = 0; i < kTimeFieldCount; ++i)
    f[static_cast<std::size_t>(i)] = Edit_[static_cast<std::size_t>(i)]->text().toStdString();
  return f;
}

bool TFileInfoForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const auto* k = static_cast<QKeyEvent*>(event);
    if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter)
      for (int i = 0; i < kTimeFieldCount; ++i)
        if (watched == Edit_[static_cast<std::size_t>(i)]) return timeFieldEnter(i);
  }
  return QDialog::eventFilter(watched, event);
}

// Enter in a time field: an empty one is left alone; otherwise the field is
// checked, and a valid one hands the focus on.
bool TFileInfoForm::timeFieldEnter(int index) {
  QLineEdit* edit = Edit_[static_cast<std::size_t>(index)];
  if (edit->text().isEmpty()) return true;
  if (std::optional<std::string> message = timeFieldRefusal(index, edit->text().toStdString())) {
    host_.dialogs().show({"確認", *message, base::MessageButtons::Ok, base::MessageIcon::Stop});
    edit->setFocus();
    return true;
  }
  if (index + 1 < kTimeFieldCount)
    Edit_[static_cast<std::size_t>(index + 1)]->setFocus();
  else
    (Button1->isEnabled() ? Button1 : Button2)->setFocus();
  return true;
}

// "更新": what was changed is written, the time before the read-only state.
// A time left as it was shown is not written again, so a file keeps its
// exact time when only its read-only box was changed.
void TFileInfoForm::Button1Click() {
  FileInfoChange change{path_, std::nullopt, std::nullopt};
  const TimeFields now = fields();
  if (now != shownTime_) {
    const TimeCheck check = checkTimeFields(now);
    if (check.refusal) {
      Edit_[static_cast<std::size_t>(check.refusal->field)]->setFocus();
      host_.dialogs().show(
          {"確認", check.refusal->message, base::MessageButtons::Ok, base::MessageIcon::Stop});
      return;
    }
    change.modified = check.seconds;
  }
  if (CheckBox1->isChecked() != shownReadOnly_) change.readOnly = CheckBox1->isChecked();
  if (std::optional<std::string> failed = applyFileInfo(change))
    host_.dialogs().show({"エラー", platform::baseNameOf(path_) + "\n" + *failed, base::MessageButtons::Ok,
                          base::MessageIcon::Error});
  host_.refreshFileList({.keepSelection = true});
  accept();
  host_.focusList();
}

} // namespace kestrovan::files
