#include "core/ui/QtDialogs.h"

#include "core/UnattendedDialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace kestrovan::core {
namespace {
QMessageBox::Icon toQt(base::MessageIcon icon) {
  switch (icon) {
  case base::MessageIcon::Information: return QMessageBox::Information;
  case base::MessageIcon::Warning: return QMessageBox::Warning;
  case base::MessageIcon::Error:
  case base::MessageIcon::Stop: return QMessageBox::Critical;
  case base::MessageIcon::Question: return QMessageBox::Question;
  case base::MessageIcon::None: break;
  }
  return QMessageBox::NoIcon;
}
} // namespace

void QtDialogs::dismissAll() {
  dismissing_ = true;
  if (showing_) showing_->close();
}

base::MessageAnswer QtDialogs::show(const base::Message& message) {
  if (dismissing_) return closedAnswer(message.buttons);
  QMessageBox box(toQt(message.icon), QString::fromStdString(message.title),
                  QString::fromStdString(message.text), QMessageBox::NoButton, owner_);
  QPushButton* yes = nullptr;
  QPushButton* cancel = nullptr;
  QPushButton* no = nullptr;
  QPushButton* all = nullptr;
  switch (message.buttons) {
  case base::MessageButtons::Ok: box.addButton("OK", QMessageBox::AcceptRole); break;
  case base::MessageButtons::OkCancel:
    box.addButton("OK", QMessageBox::AcceptRole);
    cancel = box.addButton("キャンセル", QMessageBox::RejectRole);
    break;
  case base::MessageButtons::YesNo:
    yes = box.addButton("はい(&Y)", QMessageBox::YesRole);
    cancel = box.addButton("いいえ(&N)", QMessageBox::NoRole);
    break;
  case base::MessageButtons::Yes: yes = box.addButton("はい(&Y)", QMessageBox::YesRole); break;
  case base::MessageButtons::YesNoAllCancel:
    yes = box.addButton("はい(&Y)", QMessageBox::YesRole);
    no = box.addButton("いいえ(&N)", QMessageBox::NoRole);
    all = box.addButton("すべて(&A)", QMessageBox::YesRole);
    cancel = box.addButton("キャンセル", QMessageBox::RejectRole);
    break;
  case base::MessageButtons::YesNoCancel:
    yes = box.addButton("はい(&Y)", QMessageBox::YesRole);
    no = box.addButton("いいえ(&N)", QMessageBox::NoRole);
    cancel = box.addButton("キャンセル", QMessageBox::RejectRole);
    break;
  }
  if (owner_) box.move(owner_->frameGeometry().topLeft() + QPoint(50, 50));
  // The keyboard goes back where it was when the box closes: to the dialog
  // the box was asked from, or to the main window.
  QPointer<QWidget> before = QApplication::activeWindow();
  showing_ = &box;
  box.exec();
  showing_ = nullptr;
  if (before && before->isVisible()) before->activateWindow();
  if (dismissing_) return closedAnswer(message.buttons);
  QAbstractButton* clicked = box.clickedButton();
  if (message.buttons == base::MessageButtons::YesNo)
    return clicked == yes ? base::MessageAnswer::Yes : base::MessageAnswer::No;
  if (message.buttons == base::MessageButtons::Yes) return base::MessageAnswer::Yes;
  if (message.buttons == base::MessageButtons::YesNoCancel) {
    if (clicked == yes) return base::MessageAnswer::Yes;
    if (clicked == no) return base::MessageAnswer::No;
    return base::MessageAnswer::Cancel;
  }
  if (message.buttons == base::MessageButtons::YesNoAllCancel) {
    if (clicked == yes) return base::MessageAnswer::Yes;
    if (clicked == no) return base::MessageAnswer::No;
    if (clicked == all) return base::MessageAnswer::All;
    return base::MessageAnswer::Cancel;
  }
  if (cancel && (clicked == cancel || clicked == nullptr)) return base::MessageAnswer::Cancel;
  return base::MessageAnswer::Ok;
}

} // namespace kestrovan::core
