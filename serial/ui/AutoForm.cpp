#include "serial/ui/AutoForm.h"

#include "base/Dialogs.h"
#include "host/DialogKeys.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kestrovan::serial {

TAutoForm::TAutoForm(QWidget* owner, base::Dialogs& dialogs) : QDialog(owner), dialogs_(dialogs) {
  setObjectName("AutoForm");
  setWindowTitle("自動切替");
  setFixedSize(260, 130);
  auto* label = new QLabel("自動選択番号", this);
  label->setGeometry(16, 14, 100, 20);
  Edit1 = new QLineEdit(this);
  Edit1->setObjectName("SelectorEdit");
  Edit1->setGeometry(120, 12, 60, 22);
  Edit1->setMaxLength(3);
  Edit1->installEventFilter(this);
  auto* note = new QLabel("ﾂﾘｰ設定も可です。番号－番号", this);
  note->setGeometry(16, 44, 230, 20);
  note->setStyleSheet("color: red;");
  OnButton = new QPushButton("ＯＮ", this);
  OnButton->setObjectName("OnButton");
  OnButton->setGeometry(40, 84, 80, 28);
  OnButton->setAutoDefault(false);
  auto* cancel = new QPushButton("ｷｬﾝｾﾙ", this);
  cancel->setObjectName("CancelButton");
  cancel->setGeometry(140, 84, 80, 28);
  cancel->setAutoDefault(false);
  connect(OnButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  // Enter in the entry moves on to "ＯＮ" (its own rule); on a button it presses it.
  host::installDialogKeys(*this, {{}, {Edit1}, nullptr});
}

std::optional<std::string> TAutoForm::ask() {
  Edit1->clear();
  Edit1->setFocus();
  if (QWidget* owner = parentWidget()) move(owner->frameGeometry().center() - rect().center());
  if (exec() != QDialog::Accepted) return std::nullopt;
  return Edit1->text().toStdString();
}

bool TAutoForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched != Edit1 || event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
  auto* k = static_cast<QKeyEvent*>(event);
  switch (k->key()) {
  case Qt::Key_Backspace:
  case Qt::Key_Left:
  case Qt::Key_Right:
  case Qt::Key_Tab: return false;
  case Qt::Key_Return:
  case Qt::Key_Enter:
    if (!Edit1->text().isEmpty()) OnButton->setFocus();
    return true;
  case Qt::Key_Escape: return false;
  default: break;
  }
  const QString typed = k->text();
  if (typed.size() == 1 && (typed[0] == '-' || (typed[0] >= '0' && typed[0] <= '5'))) return false;
  if (!typed.isEmpty())
    dialogs_.show(
        {"確認", "この文字は変更できません。\n", base::MessageButtons::Ok, base::MessageIcon::Stop});
  return true;
}

} // namespace kestrovan::serial
