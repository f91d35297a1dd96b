#pragma once
// TOutAppForm, the argument dialog of an Alt+letter command whose use
// arguments flag is "Y": the setting name, the command application and the
// argument box, first filled from the selected file. OK (or Enter in the
// box) starts the program with the argument in every placeholder; Cancel
// (or Esc) starts nothing.

#include <QDialog>

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kestrovan::host {
class Host;
}

namespace kestrovan::external {

class Launcher;

class TOutAppForm : public QDialog {
  Q_OBJECT
public:
  TOutAppForm(host::Host& host, Launcher& launcher);

  // Shows the dialog modal to the whole program and returns at once.
  void showModal(const std::string& name, const std::string& application, const std::string& argument);
  void Button1Click(); // OK

protected:
  void showEvent(QShowEvent* event) override;

private:
  host::Host& host_;
  Launcher& launcher_;
  std::string application_;
  std::string argument_; // the box's first text, as bytes
  QLabel* Label1;        // the setting name
  QLabel* Label2;
  QLabel* Label3; // the command application
  QLineEdit* LabeledEdit1;
  QPushButton* Button1;
  QPushButton* Button2;
};

} // namespace kestrovan::external
