#pragma once
// The copy/move dialog: the selected entries, the destination folder with
// its history (Path.lst), the "..." folder browser, OK and Cancel. Opened
// modally over the main window; it checks the destination (missing: create
// it?, the data folder itself: refused) and hands the entries and the
// destination to the operation. Path.lst is written whole every time it
// closes, Cancel included.

#include "files/CopyMove.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace kestrovan::base {
class HistoryList;
}

namespace kestrovan::host {
class FolderBrowser;
class Host;
} // namespace kestrovan::host

namespace kestrovan::files {

class TCopyForm : public QDialog {
public:
  // Runs the copy or move of full source paths into the destination.
  using Run = std::function<void(const std::vector<std::string>& sources, const std::string& destination)>;

  TCopyForm(host::Host& host, host::FolderBrowser& browser, Run run);
  ~TCopyForm() override;

  // Opens the dialog for the names (of the data folder); `closed` runs once
  // it has closed, however that happened.
  void open(TransferMode mode, std::vector<std::string> names, std::function<void()> closed);
  TransferMode mode() const { return mode_; }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void done(int result) override;

private:
  void Button1Click();
  void Button3Click();
  void updateOk();
  void edited(const QString& text);
  std::string historyPath() const;

  host::Host& host_;
  host::FolderBrowser& browser_;
  Run run_;
  TransferMode mode_ = TransferMode::Copy;
  std::vector<std::string> names_;
  std::function<void()> closed_;
  std::unique_ptr<base::HistoryList> history_;
  QString before_;

  QLabel* Label1;
  QListWidget* ListBox1;
  QLabel* Label2;
  QComboBox* ComboBox1;
  QPushButton* Button3; // "..."
  QPushButton* Button1; // OK
  QPushButton* Button2; // Cancel
};

} // namespace kestrovan::files
