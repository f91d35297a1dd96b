#include "nctools/ui/JoinForm.h"

#include "base/Dialogs.h"
#include "base/HistoryList.h"
#include "base/SettingsRecord.h"
#include "files/FileList.h"
#include "host/DialogKeys.h"
#include "host/HistoryBox.h"
#include "host/Host.h"
#include "nctools/JoinFiles.h"
#include "nctools/OutputNames.h"
#include "nctools/ui/ToolDialog.h"
#include "nctools/ToolFields.h"
#include "platform/Paths.h"
#include "serial/ProgramFile.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace kestrovan::nctools {
namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
} // namespace

TPlusForm::TPlusForm(host::Host& host, OutputFiles& outputs)
    : QDialog(host.window()), host_(host), outputs_(outputs),
      history_(std::make_unique<base::HistoryList>()) {
  setUpToolDialog(*this, "PlusForm", "ﾌｧｲﾙ結合", QSize(330, 300));
  Label1 = new QLabel("ﾌｧｲﾙ結合一覧", this);
  Label1->setObjectName("Label1");
  Label1->setGeometry(10, 8, 310, 16);
  ListBox1 = new QListWidget(this);
  ListBox1->setObjectName("ListBox1");
  ListBox1->setGeometry(10, 26, 310, 170);
  ListBox1->setFocusPolicy(Qt::NoFocus);
  Label2 = new QLabel("結合ﾌｧｲﾙ名", this);
  Label2->setObjectName("Label2");
  Label2->setGeometry(10, 204, 310, 16);
  ComboBox1 = host::historyBox(this, {10, 222, 310, 24});
  Button1 = new QPushButton("OK", this);
  Button1->setObjectName("Button1");
  Button1->setGeometry(150, 260, 80, 27);
  Button2 = new QPushButton("ｷｬﾝｾﾙ", this);
  Button2->setObjectName("Button2");
  Button2->setGeometry(240, 260, 80, 27);
  for (QPushButton* b : {Button1, Button2}) {
    b->setAutoDefault(false);
    b->setDefault(false);
  }
  field_ = new RefusingField(
      ComboBox1->lineEdit(), host_.dialogs(),
      [](const std::string& t) { return refusedCount(t, kFileNameRefused); }, kFileNameRefusedText);
  host::installDialogKeys(*this, {[this] {
                                    if (Button1->isEnabled()) Button1Click();
                                  },
                                  {},
                                  &host_});
  connect(ComboBox1, &QComboBox::editTextChanged, this, [this] { updateOk(); });
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(Button2, &QPushButton::clicked, this, [this] { reject(); });
}

TPlusForm::~TPlusForm() = default;

std::string TPlusForm::historyPath() const {
  return platform::joinPath(host_.programFolder(), base::kNameHistoryFile);
}

void TPlusForm::open(std::vector<std::string> names) {
  names_ = std::move(names);
  ListBox1->clear();
  for (const std::string& n : names_)
    ListBox1->addItem(q(n));
  *history_ = base::HistoryList::load(historyPath());
  host::showHistory(*ComboBox1, history_->entries(),
                    history_->empty() ? std::string() : history_->entries().front());
  updateOk();
  showToolDialog(*this, host_);
  ComboBox1->lineEdit()->setFocus();
}

void TPlusForm::updateOk() {
  if (!running_) Button1->setEnabled(!ComboBox1->currentText().isEmpty());
}

void TPlusForm::Button1Click() {
  host_.setScreenSaverEnabled(false);
  const std::string name = ComboBox1->currentText().toStdString();
  // Nothing to join under: nothing is joined, and nothing is said to be.
  if (name.empty()) return ComboBox1->lineEdit()->setFocus();
  // A name from the history is checked as a typed one is: never a path.
  if (joinNameRefused(name)) {
    field_->refuse();
    return ComboBox1->lineEdit()->setFocus();
  }
  const base::SettingsRecord& settings = host_.settings();
  const std::string outputName = joinFileName(name, toolExtension(settings.Mask));
  const std::string output = platform::joinPath(settings.DirPath, outputName);
  history_->add(name);
  host::showHistory(*ComboBox1, history_->entries(), name);

  if (platform::pathExists(output) &&
      host_.dialogs().show({"確認", overwriteQuestion(output), base::MessageButtons::YesNo,
                            base::MessageIcon::Warning}) != base::MessageAnswer::Yes)
    return ComboBox1->lineEdit()->setFocus();
  std::vector<std::string> inputs;
  for (const std::string& n : names_)
    inputs.push_back(platform::joinPath(settings.DirPath, n));
  if (outputIsAnInput(output, inputs)) {
    host_.dialogs().show({"確認", kJoinNameIsAnInput, base::MessageButtons::Ok, base::MessageIcon::Stop});
    return ComboBox1->lineEdit()->setFocus();
  }

  running_ = true;
  Button1->setEnabled(false);
  JoinResult result;
  {
    ToolRun run(host_, nullptr);
    const auto load = [this](const std::string& path) { return loadToolInput(path, host_.dialogs()); };
    const auto joining = [this, &run](std::size_t i) {
      ListBox1->setCurrentRow(static_cast<int>(i));
      run.progress(i);
    };
    result = joinFiles(inputs, output, outputs_, load, joining, [&run] { return run.stopRequested(); });
  }
  running_ = false;
  switch (result.end) {
  case JoinEnd::Done:
    host_.refreshFileList({});
    host_.dialogs().show({"完了", kJoinDone, base::MessageButtons::Ok, base::MessageIcon::Information});
    return accept();
  case JoinEnd::CannotCreate:
  case JoinEnd::CannotWrite:
    host_.dialogs().show(
        {"エラー", cannotCreateText(output), base::MessageButtons::Ok, base::MessageIcon::Error});
    if (closeAfterRun_) return reject();
    return updateOk();
  case JoinEnd::CannotOpen:
    host_.dialogs().show({"エラー", cannotOpenText(inputs[result.failedInput]), base::MessageButtons::Ok,
                          base::MessageIcon::Error});
    if (closeAfterRun_) return reject();
    return updateOk();
  case JoinEnd::Declined: // nothing written: the operator may cancel or join other files
    if (closeAfterRun_) return reject();
    return updateOk();
  case JoinEnd::Stopped: return reject();
  }
}

// Cancel and the close box wait for a join to end.
void TPlusForm::reject() {
  if (running_) {
    closeAfterRun_ = true;
    return;
  }
  QDialog::reject();
}

void TPlusForm::done(int result) {
  closeAfterRun_ = false;
  QDialog::done(result);
  host_.showFunctionKeys(false);
  host_.focusList();
  history_->save(historyPath());
  host_.setScreenSaverEnabled(true);
}

} // namespace kestrovan::nctools
