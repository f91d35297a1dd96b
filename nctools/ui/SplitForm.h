#pragma once
// The split dialog TDividesForm ("Ｏ番号毎分割"): the file being split, the
// program-number lines found, the destination folder with its history
// (Path.lst) and the folder browser, the three split options (Div_Sub.ini)
// in the "分割ｵﾌﾟｼｮﾝ" menu, and the progress in lines. OK runs the split on
// the program the main window loaded; the dialog closes itself when the run
// has ended, and stays open (OK disabled) when a file could not be written.

#include "nctools/SplitPrograms.h"

#include <QDialog>

#include <memory>
#include <string>

class QAction;
class QComboBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace kestrovan::base {
class HistoryList;
}
namespace kestrovan::host {
class FolderBrowser;
class Host;
} // namespace kestrovan::host

namespace kestrovan::nctools {

class RefusingField;

class TDividesForm : public QDialog {
public:
  TDividesForm(host::Host& host, host::FolderBrowser& browser, OutputFiles& outputs);
  ~TDividesForm() override;

  // Opens the dialog on a loaded program (`text` outlives the dialog's run);
  // `sourcePath` is the file it came from, never written over.
  void open(const std::string& fileName, const std::string& sourcePath, std::string_view text);
  const SplitOptions& options() const { return options_; }

protected:
  void reject() override;
  void done(int result) override;

private:
  void FormShow();
  void Button1Click();
  void Button3Click();
  void toggle(bool SplitOptions::*flag, QAction* item);
  void updateOk();
  void showHistory(const std::string& text);
  std::string programFile(const char* name) const;

  host::Host& host_;
  host::FolderBrowser& browser_;
  OutputFiles& outputs_;
  SplitOptions options_;
  std::unique_ptr<base::HistoryList> history_;
  std::string_view text_;
  std::string sourcePath_;
  std::size_t lineCount_ = 0;
  bool running_ = false;
  bool failed_ = false;
  bool closeAfterRun_ = false;

  QLabel* Label1;
  QListWidget* ListBox1;
  QLabel* Label2; // "保存先"
  QComboBox* ComboBox1;
  QPushButton* Button3; // "..."
  QPushButton* Button1; // OK
  QPushButton* Button2; // Cancel
  QProgressBar* ProgressBar1;
  QAction* F_SetItem;
  QAction* B_SetItem;
  QAction* N_SetItem;
  RefusingField* field_;
};

} // namespace kestrovan::nctools
