#pragma once
// TAutoForm, "自動切替": asks for the selector number that drives an external
// port switch before a transfer. Digits 0 to 5 and "-" only, three at most.

#include <QDialog>

#include <optional>
#include <string>

class QLineEdit;
class QPushButton;

namespace kestrovan::base {
class Dialogs;
}
namespace kestrovan::serial {

class TAutoForm : public QDialog {
  Q_OBJECT
public:
  TAutoForm(QWidget* owner, base::Dialogs& dialogs);
  // Shows the dialog modally: the entry when "ＯＮ" was pressed (possibly
  // empty), nothing when it was cancelled.
  std::optional<std::string> ask();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  base::Dialogs& dialogs_;
  QLineEdit* Edit1;
  QPushButton* OnButton;
};

} // namespace kestrovan::serial
