#include "nctools/ui/ToolDialog.h"

#include "base/Dialogs.h"
#include "host/ScreenWidgets.h"

#include <QCoreApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProgressBar>

#include <algorithm>

namespace kestrovan::nctools {

void setUpToolDialog(QDialog& dialog, const char* name, const char* title, QSize size) {
  dialog.setObjectName(name);
  dialog.setWindowTitle(title);
  dialog.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                        Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  dialog.setFixedSize(size);
  dialog.setFont(host::screenFont(12));
}

void showToolDialog(QDialog& dialog, host::Host& host) {
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.show();
  host::centreOnMainWindow(dialog, host);
  dialog.raise();
  dialog.activateWindow();
}

RefusingField::RefusingField(QLineEdit* edit, base::Dialogs& dialogs, Count count, std::string message)
    : QObject(edit), edit_(edit), dialogs_(dialogs), count_(std::move(count)), message_(std::move(message)) {
  edit_->installEventFilter(this);
  connect(edit_, &QLineEdit::textEdited, this, [this](const QString& t) { edited(t); });
  // The field's own text, not the signal's: a change taken back in edited()
  // is still announced with the refused text after it.
  connect(edit_, &QLineEdit::textChanged, this, [this] { before_ = edit_->text(); });
}

void RefusingField::refuse() {
  dialogs_.show({"確認", message_, base::MessageButtons::Ok, base::MessageIcon::Stop});
}

bool RefusingField::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit_ && event->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(event);
    const QString text = k->text();
    if (!text.isEmpty() && text.at(0).unicode() >= 0x20 && text.at(0).unicode() != 0x7F &&
        count_(text.toStdString()) > 0) {
      refuse();
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

void RefusingField::edited(const QString& text) {
  if (count_(text.toStdString()) <= count_(before_.toStdString())) return;
  edit_->setText(before_);
  refuse();
}

ToolRun::ToolRun(host::Host& host, QProgressBar* bar)
    : host_(host), bar_(bar), next_(std::chrono::steady_clock::now()) {
  host_.beginBusy(*this);
}

ToolRun::~ToolRun() { host_.endBusy(); }

void ToolRun::progress(std::size_t lines) {
  const auto now = std::chrono::steady_clock::now();
  if (now < next_) return;
  next_ = now + std::chrono::milliseconds(kRefreshMs);
  // The bar counts one ahead of the lines done; it never runs past its end.
  if (bar_)
    bar_->setValue(
        static_cast<int>(std::min<std::size_t>(lines + 1, static_cast<std::size_t>(bar_->maximum()))));
  QCoreApplication::processEvents();
}

} // namespace kestrovan::nctools
