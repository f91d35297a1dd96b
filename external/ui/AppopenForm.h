#pragma once
// TAppopenForm, the external command table dialog that Y opens: one row per
// letter Alt+A ... Alt+Z (setting name, use arguments, command application),
// the edit fields of the selected row, a browse for the program,
// "変更\n追加", which writes the fields into the selected row and into the
// table at once, and "終了". There is no cancel: a change is kept as soon as
// it is made, and reaches OutApp_Sub.ini at close.

#include <QDialog>

#include <functional>
#include <optional>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace kestrovan::host {
class Host;
}

namespace kestrovan::external {

class TAppopenForm : public QDialog {
  Q_OBJECT
public:
  // The program the operator picks in the browse dialog; nothing when cancelled.
  using ProgramChooser = std::function<std::optional<std::string>(QWidget* parent)>;

  explicit TAppopenForm(host::Host& host);

  // Shows the dialog modal to the whole program and returns at once.
  void showModal();
  void setProgramChooser(ProgramChooser chooser) { chooser_ = std::move(chooser); }

  void BitBtn1Click(); // browse
  void Button1Click(); // 変更 / 追加

protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void fillRow(int index);
  void showRow(int index);
  int selectedIndex() const;
  void selectRow(int index);

  host::Host& host_;
  ProgramChooser chooser_;
  QTreeWidget* ListView1;
  QLabel* Label1; // the key of the row being edited
  QLineEdit* LabeledEdit1;
  QCheckBox* CheckBox1;
  QLineEdit* LabeledEdit2;
  QPushButton* BitBtn1;
  QPushButton* Button1;
  QPushButton* Button2;
  QLabel* Label2; // the legend of the placeholders
};

// The system's own open dialog for a program: in /usr/bin, executable files
// or everything.
std::optional<std::string> chooseProgram(QWidget* parent);

} // namespace kestrovan::external
