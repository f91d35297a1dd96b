#include "core/QtDialogs.h"

#include <QMessageBox>
#include <QPushButton>

namespace kestrovan::core {
namespace {
QMessageBox::Icon toQt(MessageIcon icon) {
  switch (icon) {
  case MessageIcon::Information: return QMessageBox::Information;
  case MessageIcon::Warning: return QMessageBox::Warning;
  case MessageIcon::Error:
  case MessageIcon::Stop: return QMessageBox::Critical;
  case MessageIcon::Question: return QMessageBox::Question;
  case MessageIcon::None: break;
  }
  return QMessageBox::NoIcon;
}
} // namespace

namespace {
MessageAnswer closedAnswer(MessageButtons buttons) {
  switch (buttons) {
  case MessageButtons::YesNo: return MessageAnswer::No;
  case MessageButtons::OkCancel: return MessageAnswer::Cancel;
  case MessageButtons::Yes: return MessageAnswer::Yes;
  case MessageButtons::Ok: break;
  }
  return MessageAnswer::Ok;
}
} // namespace

void QtDialogs::dismissAll() {
  dismissing_ = true;
  if (showing_) showing_->close();
}

MessageAnswer QtDialogs::show(const Message& message) {
  if (dismissing_) return closedAnswer(message.buttons);
  QMessageBox box(toQt(message.icon), QString::fromStdString(message.title),
                  QString::fromStdString(message.text), QMessageBox::NoButton, owner_);
  QPushButton* yes = nullptr;
  QPushButton* cancel = nullptr;
  switch (message.buttons) {
  case MessageButtons::Ok: box.addButton("OK", QMessageBox::AcceptRole); break;
  case MessageButtons::OkCancel:
    box.addButton("OK", QMessageBox::AcceptRole);
    cancel = box.addButton("キャンセル", QMessageBox::RejectRole);
    break;
  case MessageButtons::YesNo:
    yes = box.addButton("はい(&Y)", QMessageBox::YesRole);
    cancel = box.addButton("いいえ(&N)", QMessageBox::NoRole);
    break;
  case MessageButtons::Yes: yes = box.addButton("はい(&Y)", QMessageBox::YesRole); break;
  }
  if (owner_) box.move(owner_->frameGeometry().topLeft() + QPoint(50, 50));
  showing_ = &box;
  box.exec();
  showing_ = nullptr;
  if (dismissing_) return closedAnswer(message.buttons);
  QAbstractButton* clicked = box.clickedButton();
  if (message.buttons == MessageButtons::YesNo)
    return clicked == yes ? MessageAnswer::Yes : MessageAnswer::No;
  if (message.buttons == MessageButtons::Yes) return MessageAnswer::Yes;
  if (cancel && (clicked == cancel || clicked == nullptr)) return MessageAnswer::Cancel;
  return MessageAnswer::Ok;
}

} // namespace kestrovan::core
