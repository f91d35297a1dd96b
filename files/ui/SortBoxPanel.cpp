#include "files/ui/SortBoxPanel.h"

#include "base/SettingsRecord.h"
#include "files/FileList.h"
#include "files/SortCode.h"
#include "host/Host.h"
#include "host/ScreenWidgets.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace kestrovan::files {

SortBoxPanel::SortBoxPanel(host::Host& host) : host_(host) {
  GroupBox4 = new QGroupBox("ソートタイプ", host.window());
  GroupBox4->setObjectName("GroupBox4");
  GroupBox4->setGeometry(200, 150, 330, 150);
  GroupBox4->setFont(host::screenFont(12));
  GroupBox4->setStyleSheet("QGroupBox { color: white; background: #000080; }");
  current_ = host::screenLabel(GroupBox4, "SortCurrent", {10, 20, 310, 16}, "white", 12, "transparent");
  QLabel* legend = host::screenLabel(GroupBox4, "SortLegend", {10, 40, 310, 50}, "white", 12, "transparent");
  legend->setWordWrap(true);
  legend->setText("Ｎ：名前　　　　　　Ｓ：サイズ　　　　　Ｔ：日付　　　　　　　　　　　　　　　　"
                  "Ｄ：昇順　Ｕ：降順　例：Ｎ－Ｄ");
  edit_ = new QLineEdit(GroupBox4);
  edit_->setObjectName("SortEdit");
  edit_->setGeometry(10, 100, 60, 22);
  edit_->setMaxLength(static_cast<int>(kSortCodeLength));
  keyLine_ = host::screenLabel(GroupBox4, "SortKeyLine", {200, 125, 120, 16}, "white", 12, "transparent");
  keyLine_->setText("Esc :中止");
  GroupBox4->hide();
  edit_->installEventFilter(this);
  keyLine_->installEventFilter(this);
  host.setCommandHandler(host::Command::SortBox, [this](bool) { open(); });
}

void SortBoxPanel::open() {
  const base::SettingsRecord& s = host_.settings();
  current_->setText(QString::fromStdString("現ソート設定: " + s.FileSort + " - " + s.SortMuki));
  edit_->setText(QString::fromStdString(s.FileSort + "-" + s.SortMuki));
  host_.setListEnabled(false);
  GroupBox4->show();
  GroupBox4->raise();
  edit_->setFocus();
  edit_->selectAll();
}

void SortBoxPanel::finish() {
  GroupBox4->hide();
  host_.setListEnabled(true);
  host_.focusList();
}

bool SortBoxPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit_ && event->type() == QEvent::KeyPress) return key(static_cast<QKeyEvent*>(event));
  if (watched == keyLine_ && event->type() == QEvent::MouseButtonPress) {
    host_.SimulateKey(Qt::Key_Escape);
    return true;
  }
  return QObject::eventFilter(watched, event);
}

bool SortBoxPanel::key(QKeyEvent* k) {
  switch (k->key()) {
  case Qt::Key_Escape:
    edit_->clear();
    finish();
    host_.ShowCancelled();
    return true;
  case Qt::Key_Return:
  case Qt::Key_Enter: {
    const std::string text = edit_->text().toStdString();
    if (text.empty()) return true;
    if (std::optional<SortCode> code = parseSortCode(text)) {
      host_.settings().FileSort = code->fileSort;
      host_.settings().SortMuki = code->sortMuki;
      host_.refreshFileList({.keepSelection = true, .resortOnly = true});
      finish();
      host_.showSettingsPanels();
    } else {
      host_.showMessage("ソート設定を確認ください!!", host::MessageColour::Red);
    }
    return true;
  }
  case Qt::Key_Backspace:
  case Qt::Key_Left:
  case Qt::Key_Right:
  case Qt::Key_Delete: return false;
  default: break;
  }
  const std::optional<std::string> taken =
      sortBoxTakes(edit_->text().toStdString(), static_cast<std::size_t>(edit_->selectedText().size()),
                   k->text().toStdString());
  if (taken) edit_->insert(QString::fromStdString(*taken));
  return true;
}

} // namespace kestrovan::files
