#pragma once
// TOptionForm, the options dialog: the 24 less frequent settings on four
// pages of short upper-case fields. "変更" applies them to the settings record
// in a fixed order; "戻る" or the close box asks first when something was
// changed and not applied. Created once with the main window and kept, so it
// shows the page last used.

#include <QDialog>

#include <string>
#include <vector>

class QKeyEvent;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace kestrovan::host {
class Host;
}

namespace kestrovan::core {

class TOptionForm : public QDialog {
  Q_OBJECT
public:
  explicit TOptionForm(host::Host& host);
  ~TOptionForm() override;

  // Shows the dialog modal to the whole program and returns at once: nothing
  // runs after it in the key handler, and the main window's loop keeps the
  // dialog alive.
  void showModal();

  QLineEdit* field(const std::string& key) const;
  // "変更". False when an integer field did not convert (the dialog says so).
  bool Button1Click();

protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void reject() override; // Esc: as the back button

private:
  void FormShow();
  bool fieldKey(int index, QKeyEvent* event);
  void focusField(int index);
  int neighbour(int index, int step) const;

  host::Host& host_;
  QTabWidget* PageControl1;
  std::vector<QLineEdit*> edits_; // parallel to optionFields()
  QPushButton* Button1;
  QPushButton* Button2;
};

} // namespace kestrovan::core
