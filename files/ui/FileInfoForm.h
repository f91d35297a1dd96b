#pragma once
// TFileInfoForm, the file information dialog (I): icon, name, type,
// location, size, attributes and modification time of the selected file or
// folder. Read-only can be changed; hidden (a name beginning with ".") only
// shows, since changing it would be a rename; system and archive do not
// exist here and stay unticked. "更新" writes what was changed (the time
// only when a time field was changed) and refreshes the list keeping the
// selection; "終了" closes without changes. Created once with the main
// window and filled afresh each time it opens.

#include "files/FileInfo.h"

#include <QDialog>

#include <array>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kestrovan::host {
class Host;
}

namespace kestrovan::files {

class TFileInfoForm : public QDialog {
  Q_OBJECT
public:
  explicit TFileInfoForm(host::Host& host);

  // Fills the dialog for the entry `name` of the listed folder and shows it
  // modal to the whole program; returns at once. False (nothing shown) when
  // the entry is no longer there.
  bool showModal(const std::string& folder, const std::string& name);

  QLineEdit* timeField(int index) const { return Edit_[static_cast<std::size_t>(index)]; }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  bool timeFieldEnter(int index);
  void Button1Click();
  TimeFields fields() const;

  host::Host& host_;
  QLabel* Image1;
  QLabel* NameLabel;
  QLabel* TypeLabel;
  QLabel* PlaceLabel;
  QLabel* SizeLabel;
  QCheckBox* CheckBox1; // 読み取り専用
  QCheckBox* CheckBox2; // 隠しファイル
  QCheckBox* CheckBox3; // システム
  QCheckBox* CheckBox4; // アーカイブ
  std::array<QLineEdit*, kTimeFieldCount> Edit_{};
  QPushButton* Button1; // 更新
  QPushButton* Button2; // 終了
  std::string path_;
  TimeFields shownTime_;
  bool shownReadOnly_ = false;
};

} // namespace kestrovan::files
