#pragma once
// The axis-doubling dialog TBai2Form ("選択軸２倍変換"): the source and the
// output name, the letter box (one axis letter), the progress in lines. OK
// writes the doubled copy of the program the main window loaded beside the
// source; a number that cannot be read stops it with nothing written.

#include "nctools/OutputFiles.h"

#include <QDialog>

#include <string>
#include <string_view>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace kestrovan::host {
class Host;
}

namespace kestrovan::nctools {

class RefusingField;

class TBai2Form : public QDialog {
public:
  TBai2Form(host::Host& host, OutputFiles& outputs);

  // Opens the dialog on a loaded program and the name of its copy.
  void open(const std::string& sourceName, const std::string& outputName, std::string_view text);

protected:
  void reject() override;
  void done(int result) override;

private:
  void Button1Click();
  void enter();
  void updateOk();

  host::Host& host_;
  OutputFiles& outputs_;
  std::string outputName_;
  std::string_view text_;
  bool running_ = false;
  bool failed_ = false; // OK stays disabled after a failed conversion
  bool closeAfterRun_ = false;

  QLabel* Label1;
  QLabel* Label2;
  QLabel* Label3;
  QLineEdit* Edit1;
  QPushButton* Button1; // OK
  QPushButton* Button2; // Cancel
  QProgressBar* ProgressBar1;
  RefusingField* field_;
};

} // namespace kestrovan::nctools
