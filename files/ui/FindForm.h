#pragma once
// TFindForm, the name filter (F): one field, "検索・絞り込み名", whose
// drop-down list holds the names of FIND.LST. OK lists the folder with the
// pattern the name gives and remembers the name; the filter holds until the
// next refresh that does not keep the pattern. Created once with the main
// window and filled afresh each time it opens.

#include <QDialog>

#include <string>

class QComboBox;
class QPushButton;

namespace kestrovan::base {
class HistoryList;
}
namespace kestrovan::host {
class Host;
}

namespace kestrovan::files {

class TFindForm : public QDialog {
  Q_OBJECT
public:
  explicit TFindForm(host::Host& host);

  // Opens with the field empty and the history of FIND.LST in its list,
  // modal to the whole program; returns at once.
  void showModal();

  QComboBox* field() const { return ComboBox1; }

protected:
  void done(int result) override;

private:
  void Button1Click();
  void edited(const QString& text);
  std::string historyPath() const;
  base::HistoryList history() const; // what the drop-down list holds
  void setHistory(const base::HistoryList& history);

  host::Host& host_;
  QComboBox* ComboBox1;
  QPushButton* Button1;
  QPushButton* Button2;
  QString before_; // the field's text before the edit being looked at
};

} // namespace kestrovan::files
