#include "files/ui/FindForm.h"

#include "base/Dialogs.h"
#include "base/HistoryList.h"
#include "base/SettingsRecord.h"
#include "files/ui/DialogParts.h"
#include "files/FileList.h"
#include "files/NameFilter.h"
#include "host/DialogKeys.h"
#include "host/FixedDialog.h"
#include "host/Host.h"
#include "platform/Paths.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace kestrovan::files {

TFindForm::TFindForm(host::Host& host) : QDialog(host.window(), host::kFixedDialog), host_(host) {
  host::setUpFixedDialog(*this, "FindForm", kNameFilterTitle, {260, 110});

  auto* label = new QLabel(kNameFilterLabel, this);
  label->setGeometry(12, 10, 236, 16);
  ComboBox1 = new QComboBox(this);
  ComboBox1->setObjectName("FindNameBox");
  ComboBox1->setGeometry(12, 28, 236, 22);
  ComboBox1->setEditable(true);
  ComboBox1->setInsertPolicy(QComboBox::NoInsert); // the history takes a name only on OK
  ComboBox1->setCompleter(nullptr);                // what is typed is what is searched
  ComboBox1->setMaxVisibleItems(static_cast<int>(base::kHistoryLimit));
  label->setBuddy(ComboBox1);
  Button1 = dialogButton(this, "OK", "FindOk", {96, 72, 72, 25});
  Button2 = dialogButton(this, "ｷｬﾝｾﾙ", "FindCancel", {176, 72, 72, 25});
  for (QPushButton* b : {Button1, Button2}) {
    b->setAutoDefault(false); // Enter belongs to the field
    b->setDefault(false);
  }

  QLineEdit* edit = ComboBox1->lineEdit();
  host::installDialogKeys(*this, {[this] {
                                    if (!ComboBox1->currentText().isEmpty()) Button1Click();
                                  },
                                  {},
                                  &host_});
  // Typed, pasted or dropped: the field is checked once the text is in and a
  // refused character is taken back with its box. Qt reports the edit before
  // the change, so the text before it is at hand.
  connect(edit, &QLineEdit::textEdited, this, &TFindForm::edited);
  // The text as it is now, not as the signal was sent: an edit taken back
  // inside textEdited is still announced afterwards with its refused text.
  connect(ComboBox1, &QComboBox::editTextChanged, this, [this] {
    before_ = ComboBox1->currentText();
    Button1->setEnabled(!before_.isEmpty());
  });
  connect(Button1, &QPushButton::clicked, this, &TFindForm::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

std::string TFindForm::historyPath() const {
  return platform::joinPath(host_.programFolder(), base::kFindHistoryFile);
}

base::HistoryList TFindForm::history() const {
  std::vector<std::string> entries;
  for (int i = 0; i < ComboBox1->count(); ++i)
    entries.push_back(ComboBox1->itemText(i).toStdString());
  return base::HistoryList(std::move(entries));
}

// The list shows the history; the field stays empty.
void TFindForm::setHistory(const base::HistoryList& history) {
  ComboBox1->clear();
  for (const std::string& entry : history.entries())
    ComboBox1->addItem(QString::fromStdString(entry));
  ComboBox1->setCurrentIndex(-1);
  ComboBox1->setEditText({});
}

void TFindForm::showModal() {
  setHistory(base::HistoryList::load(historyPath()));
  Button1->setEnabled(false);
  setWindowModality(Qt::ApplicationModal);
  show();
  centreOn(this, host_.window()->frameGeometry());
  raise();
  activateWindow();
  ComboBox1->setFocus();
}

void TFindForm::edited(const QString& text) {
  // A name taken from a hand-edited history may already hold one; only what
  // this edit brings in is judged here, the whole name again on OK.
  if (!nameFilterRefuses(text.toStdString()) || nameFilterRefuses(before_.toStdString())) return;
  const QString before = before_;
  QLineEdit* edit = ComboBox1->lineEdit();
  const int cursor = edit->cursorPosition() - static_cast<int>(text.size() - before.size());
  ComboBox1->setEditText(before);
  edit->setCursorPosition(std::max(0, cursor));
  host_.dialogs().show(
      {"確認", kNameFilterRefusedMessage, base::MessageButtons::Ok, base::MessageIcon::Stop});
}

void TFindForm::Button1Click() {
  const std::string name = ComboBox1->currentText().toStdString();
  if (name.empty()) {
    reject();
    return;
  }
  if (nameFilterRefuses(name)) {
    host_.dialogs().show(
        {"確認", kNameFilterRefusedMessage, base::MessageButtons::Ok, base::MessageIcon::Stop});
    ComboBox1->setFocus();
    return;
  }
  const base::SettingsRecord& s = host_.settings();
  host_.fileList().setSearchPattern(nameFilterPattern(s.DirPath, name, s.Mask));

  base::HistoryList names = history();
  names.add(name);
  setHistory(names);

  host_.refreshFileList({.keepPattern = true});
  accept();
}

// Closing in any way (OK, Cancel, Esc, the close box) writes the list to
// FIND.LST and gives the main window its normal function-key text back.
void TFindForm::done(int result) {
  history().save(historyPath());
  host_.showFunctionKeys(false);
  QDialog::done(result);
  // The keyboard goes back to the list, also where the window manager
  // activates no window once the dialog has gone.
  host_.window()->activateWindow();
  host_.focusList();
}

} // namespace kestrovan::files
