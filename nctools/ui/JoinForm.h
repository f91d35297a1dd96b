#pragma once
// The join dialog TPlusForm ("ﾌｧｲﾙ結合"): the marked files in marking order,
// the join name with its history (NAME.lst). OK writes the files one after
// another into the join name in the data folder, after the overwrite
// question, and never over one of the files it joins.

#include "nctools/OutputFiles.h"

#include <QDialog>

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
class Host;
}

namespace kestrovan::nctools {

class RefusingField;

class TPlusForm : public QDialog {
public:
  TPlusForm(host::Host& host, OutputFiles& outputs);
  ~TPlusForm() override;

  // Opens the dialog on the names (of the data folder) to join, in order.
  void open(std::vector<std::string> names);

protected:
  void reject() override;
  void done(int result) override;

private:
  void Button1Click();
  void updateOk();
  std::string historyPath() const;

  host::Host& host_;
  OutputFiles& outputs_;
  std::vector<std::string> names_;
  std::unique_ptr<base::HistoryList> history_;
  bool running_ = false;
  bool closeAfterRun_ = false;

  QLabel* Label1;
  QListWidget* ListBox1;
  QLabel* Label2;
  QComboBox* ComboBox1;
  QPushButton* Button1; // OK
  QPushButton* Button2; // Cancel
  RefusingField* field_;
};

} // namespace kestrovan::nctools
