#pragma once
// The two rename dialogs, both titled "名前変更", modal and centred on the
// main window: the single-entry dialog (the old name, the field for the new
// one, kinds 1 to 4) and the several-files dialog (kinds 1 to 5). Kind 1 is
// chosen each time one opens.

#include "files/RenameRules.h"

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kestrovan::host {
class Host;
}

namespace kestrovan::files {

class TRenameForm : public QDialog {
public:
  explicit TRenameForm(host::Host& host);
  // The new name when closed by OK. The field shows the name's text (one
  // that is not UTF-8 read as CP932); the bytes of the old name that the
  // operator left as they were stay in the new one.
  std::optional<std::string> ask(const std::string& oldName);

private:
  RenameKind kind() const;
  void applyKind();

  host::Host& host_;
  QLabel* Label1; // the old name
  QLineEdit* Edit1;
  std::vector<QRadioButton*> kinds_;
  QPushButton* Button1;
  QPushButton* Button2;
  bool rewriting_ = false;
};

class TRenameMultiForm : public QDialog {
public:
  explicit TRenameMultiForm(host::Host& host);
  // The kind chosen when closed by OK.
  std::optional<RenameKind> ask();

private:
  host::Host& host_;
  std::vector<QRadioButton*> kinds_;
  QPushButton* Button1;
  QPushButton* Button2;
};

} // namespace kestrovan::files
