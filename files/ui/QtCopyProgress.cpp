#include "files/ui/QtCopyProgress.h"

#include "base/Dialogs.h"
#include "host/ScreenWidgets.h"
#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace kestrovan::files {

QtCopyProgress::QtCopyProgress(host::Host& host, TransferMode mode, int showAfterMs)
    : host_(host), mode_(mode), started_(std::chrono::steady_clock::now()), showAfter_(showAfterMs) {
  host_.setListEnabled(false);
  host_.beginBusy(*this);
}

QtCopyProgress::~QtCopyProgress() {
  delete dialog_;
  host_.setListEnabled(true);
  host_.endBusy();
}

OverwriteAnswer QtCopyProgress::askOverwrite(const std::string& source, const std::string& target) {
  (void)source;
  const base::MessageAnswer a =
      host_.dialogs().show({"ファイルの上書きの確認", target + " は既にあります。\n置き換えますか？",
                            base::MessageButtons::YesNoAllCancel, base::MessageIcon::Question});
  switch (a) {
  case base::MessageAnswer::Yes: return OverwriteAnswer::Yes;
  case base::MessageAnswer::All: return OverwriteAnswer::All;
  case base::MessageAnswer::No: return OverwriteAnswer::No;
  default: break;
  }
  return OverwriteAnswer::Cancel;
}

void QtCopyProgress::copying(const std::string& source, const std::string& target, std::uint64_t size) {
  (void)target;
  current_ = source;
  size_ = size;
  if (file_) file_->setText(QString::fromStdString(source));
  if (bar_) bar_->setValue(0);
}

bool QtCopyProgress::keepGoing(std::uint64_t copied) {
  if (!dialog_ && std::chrono::steady_clock::now() - started_ >= showAfter_) showDialog();
  if (bar_) bar_->setValue(size_ == 0 ? 1000 : static_cast<int>(copied * 1000 / std::max(size_, copied)));
  QCoreApplication::processEvents();
  return !stopped_;
}

void QtCopyProgress::showDialog() {
  dialog_ = new QDialog(host_.window());
  dialog_->setObjectName("CopyProgress");
  dialog_->setWindowTitle(modeTitle(mode_));
  dialog_->setFixedSize(420, 110);
  dialog_->setFont(host::screenFont(12));
  auto* what = new QLabel(mode_ == TransferMode::Copy ? "コピー中:" : "移動中:", dialog_);
  what->setGeometry(10, 8, 400, 16);
  file_ = new QLabel(QString::fromStdString(current_), dialog_);
  file_->setObjectName("ProgressFile");
  file_->setGeometry(10, 26, 400, 16);
  bar_ = new QProgressBar(dialog_);
  bar_->setObjectName("ProgressBar");
  bar_->setGeometry(10, 48, 400, 18);
  bar_->setRange(0, 1000);
  bar_->setTextVisible(false);
  auto* cancel = new QPushButton("キャンセル", dialog_);
  cancel->setObjectName("ProgressCancel");
  cancel->setGeometry(330, 76, 80, 25);
  QObject::connect(cancel, &QPushButton::clicked, dialog_, [this] { stopped_ = true; });
  // Closing the dialog (its close box, Esc) stops the operation too.
  QObject::connect(dialog_, &QDialog::rejected, dialog_, [this] { stopped_ = true; });
  dialog_->setWindowModality(Qt::ApplicationModal);
  dialog_->show();
}

} // namespace kestrovan::files
