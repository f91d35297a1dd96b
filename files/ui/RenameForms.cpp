#include "files/ui/RenameForms.h"

#include "host/DialogKeys.h"
#include "host/Host.h"
#include "host/ScreenWidgets.h"
#include "platform/NameBytes.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace kestrovan::files {
namespace {

const char* const kKindTexts[] = {"名前を変更", "半角英文字を大文字に", "半角英文字を小文字に",
                                  "半角英文字の先頭のみ大文字に", "個々に名前を変更"};

std::vector<QRadioButton*> kindButtons(QDialog* dialog, int count, int top) {
  std::vector<QRadioButton*> buttons;
  auto* group = new QButtonGroup(dialog);
  for (int i = 0; i < count; ++i) {
    auto* b = new QRadioButton(kKindTexts[i], dialog);
    b->setObjectName(QString("RadioButton%1").arg(i + 1));
    b->setGeometry(16, top + i * 22, 260, 20);
    group->addButton(b, i + 1);
    buttons.push_back(b);
  }
  return buttons;
}

std::pair<QPushButton*, QPushButton*> okCancel(QDialog* dialog, int top) {
  auto* ok = new QPushButton("OK", dialog);
  ok->setObjectName("Button1");
  ok->setGeometry(110, top, 80, 27);
  auto* cancel = new QPushButton("ｷｬﾝｾﾙ", dialog);
  cancel->setObjectName("Button2");
  cancel->setGeometry(200, top, 80, 27);
  for (QPushButton* b : {ok, cancel}) {
    b->setAutoDefault(false);
    b->setDefault(false);
  }
  QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  return {ok, cancel};
}

} // namespace

TRenameForm::TRenameForm(host::Host& host) : QDialog(host.window()), host_(host) {
  setObjectName("RenameForm");
  setWindowTitle("名前変更");
  setFixedSize(290, 230);
  setFont(host::screenFont(12));
  Label1 = new QLabel(this);
  Label1->setObjectName("Label1");
  Label1->setGeometry(10, 8, 270, 16);
  auto* prompt = new QLabel("新しい名前を入力", this);
  prompt->setGeometry(10, 30, 270, 16);
  Edit1 = new QLineEdit(this);
  Edit1->setObjectName("Edit1");
  Edit1->setGeometry(10, 48, 270, 22);
  kinds_ = kindButtons(this, 4, 80);
  std::tie(Button1, Button2) = okCancel(this, 192);
  for (QRadioButton* b : kinds_)
    connect(b, &QRadioButton::toggled, this, [this](bool on) {
      if (on) applyKind();
    });
  connect(Edit1, &QLineEdit::textChanged, this, [this] { applyKind(); });
  host::installDialogKeys(*this, {[this] {
                                    if (!Edit1->text().isEmpty()) accept();
                                  },
                                  {},
                                  &host_});
}

RenameKind TRenameForm::kind() const {
  for (std::size_t i = 0; i < kinds_.size(); ++i)
    if (kinds_[i]->isChecked()) return static_cast<RenameKind>(i + 1);
  return RenameKind::Rename;
}

// Kinds 2 to 4 rewrite the field at once and after every change.
void TRenameForm::applyKind() {
  if (rewriting_ || kind() == RenameKind::Rename) return;
  const std::string text = Edit1->text().toStdString();
  int caret = Edit1->cursorPosition();
  std::string rewritten = nameByKind(kind(), text);
  if (kind() == RenameKind::Capitalised) {
    const CapitalisedEdit edit = capitalisedWhileTyping(text, caret);
    rewritten = edit.text;
    caret = edit.caret;
  }
  if (rewritten == text && caret == Edit1->cursorPosition()) return;
  rewriting_ = true;
  Edit1->setText(QString::fromStdString(rewritten));
  Edit1->setCursorPosition(caret);
  rewriting_ = false;
}

std::optional<std::string> TRenameForm::ask(const std::string& oldName) {
  const QString shown = QString::fromStdString(platform::shownName(oldName));
  Label1->setText(shown);
  kinds_.front()->setChecked(true);
  Edit1->setText(shown);
  Edit1->selectAll();
  Edit1->setFocus();
  host::centreOnMainWindow(*this, host_); // as the main window was recorded
  if (exec() != QDialog::Accepted) return std::nullopt;
  return platform::nameFromShown(oldName, Edit1->text().toStdString());
}

TRenameMultiForm::TRenameMultiForm(host::Host& host) : QDialog(host.window()), host_(host) {
  setObjectName("RenameMultiForm");
  setWindowTitle("名前変更");
  setFixedSize(290, 170);
  setFont(host::screenFont(12));
  kinds_ = kindButtons(this, 5, 10);
  std::tie(Button1, Button2) = okCancel(this, 132);
  host::installDialogKeys(*this, {[this] { accept(); }, {}, &host_});
}

std::optional<RenameKind> TRenameMultiForm::ask() {
  kinds_.front()->setChecked(true);
  kinds_.front()->setFocus();
  host::centreOnMainWindow(*this, host_); // as the main window was recorded
  if (exec() != QDialog::Accepted) return std::nullopt;
  for (std::size_t i = 0; i < kinds_.size(); ++i)
    if (kinds_[i]->isChecked()) return static_cast<RenameKind>(i + 1);
  return RenameKind::Rename;
}

} // namespace kestrovan::files
