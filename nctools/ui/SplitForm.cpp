#include "nctools/ui/SplitForm.h"

#include "base/Dialogs.h"
#include "base/HistoryList.h"
#include "base/SettingsRecord.h"
#include "files/FileList.h"
#include "files/FolderChange.h"
#include "host/DialogKeys.h"
#include "host/FolderBrowser.h"
#include "host/HistoryBox.h"
#include "host/Host.h"
#include "nctools/OutputNames.h"
#include "nctools/ToolFields.h"
#include "nctools/ui/ToolDialog.h"
#include "platform/Cp932.h"
#include "platform/Paths.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>

#include <climits>

namespace kestrovan::nctools {
namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
constexpr const char* kOptionsFile = "Div_Sub.ini";
} // namespace

TDividesForm::TDividesForm(host::Host& host, host::FolderBrowser& browser, OutputFiles& outputs)
    : QDialog(host.window()), host_(host), browser_(browser), outputs_(outputs),
      history_(std::make_unique<base::HistoryList>()) {
  setUpToolDialog(*this, "DividesForm", "Ｏ番号毎分割", QSize(380, 330));
  auto* menuBar = new QMenuBar(this);
  menuBar->setObjectName("MainMenu1");
  menuBar->setGeometry(0, 0, 380, 22);
  QMenu* menu = menuBar->addMenu("分割ｵﾌﾟｼｮﾝ");
  menu->setObjectName("SplitOptionsMenu");
  auto item = [&](const char* name, const char* caption, bool SplitOptions::*flag) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    a->setCheckable(true);
    connect(a, &QAction::triggered, this, [this, a, flag] { toggle(flag, a); });
    return a;
  };
  F_SetItem = item("F_Set", "先頭に％付加", &SplitOptions::F_Set);
  B_SetItem = item("B_Set", "末尾に％付加", &SplitOptions::B_Set);
  N_SetItem = item("N_Set", "分割名に連番付加", &SplitOptions::N_Set);

  Label1 = new QLabel(this);
  Label1->setObjectName("Label1");
  Label1->setGeometry(10, 30, 360, 16);
  ListBox1 = new QListWidget(this);
  ListBox1->setObjectName("ListBox1");
  ListBox1->setGeometry(10, 50, 360, 150);
  ListBox1->setFocusPolicy(Qt::NoFocus);
  Label2 = new QLabel("保存先", this);
  Label2->setObjectName("Label2");
  Label2->setGeometry(10, 208, 60, 16);
  ComboBox1 = host::historyBox(this, {10, 226, 320, 24});
  Button3 = new QPushButton("...", this);
  Button3->setObjectName("Button3");
  Button3->setGeometry(336, 226, 34, 24);
  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setObjectName("ProgressBar1");
  ProgressBar1->setGeometry(10, 258, 360, 16);
  ProgressBar1->setTextVisible(false);
  Button1 = new QPushButton("ＯＫ", this);
  Button1->setObjectName("Button1");
  Button1->setGeometry(200, 288, 80, 27);
  Button2 = new QPushButton("ｷｬﾝｾﾙ", this);
  Button2->setObjectName("Button2");
  Button2->setGeometry(290, 288, 80, 27);
  for (QPushButton* b : {Button1, Button2, Button3}) {
    b->setAutoDefault(false);
    b->setDefault(false);
  }
  field_ = new RefusingField(
      ComboBox1->lineEdit(), host_.dialogs(),
      [](const std::string& t) { return refusedCount(t, kFolderRefused); }, kFolderRefusedText);
  host::installDialogKeys(*this, {[this] {
                                    if (Button1->isEnabled()) Button1Click();
                                  },
                                  {},
                                  &host_});
  connect(ComboBox1, &QComboBox::editTextChanged, this, [this] { updateOk(); });
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(Button2, &QPushButton::clicked, this, [this] { reject(); });
  connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
}

TDividesForm::~TDividesForm() = default;

std::string TDividesForm::programFile(const char* name) const {
  return platform::joinPath(host_.programFolder(), name);
}

void TDividesForm::open(const std::string& fileName, const std::string& sourcePath, std::string_view text) {
  text_ = text;
  sourcePath_ = sourcePath;
  lineCount_ = programLineCount(text);
  failed_ = false;
  ListBox1->clear();
  Label1->setText(q(fileName));
  FormShow();
  showToolDialog(*this, host_);
  ComboBox1->lineEdit()->setFocus();
}

void TDividesForm::FormShow() {
  options_ = loadSplitOptions(programFile(kOptionsFile));
  F_SetItem->setChecked(options_.F_Set);
  B_SetItem->setChecked(options_.B_Set);
  N_SetItem->setChecked(options_.N_Set);
  *history_ = base::HistoryList::load(programFile(base::kPathHistoryFile));
  showHistory(history_->empty() ? host_.settings().DirPath : history_->entries().front());
  ProgressBar1->setRange(0, static_cast<int>(std::min<std::size_t>(lineCount_, INT_MAX)));
  ProgressBar1->setValue(0);
  Button1->setEnabled(true);
  updateOk();
}

void TDividesForm::showHistory(const std::string& text) {
  host::showHistory(*ComboBox1, history_->entries(), text);
}

void TDividesForm::toggle(bool SplitOptions::*flag, QAction* item) {
  options_.*flag = !(options_.*flag);
  item->setChecked(options_.*flag);
}

void TDividesForm::updateOk() {
  if (!running_) Button1->setEnabled(!failed_ && !ComboBox1->currentText().isEmpty());
}

void TDividesForm::Button3Click() {
  const std::string& dir = host_.settings().DirPath;
  const std::optional<std::string> chosen = browser_.browse(this, "現ﾃﾞｨﾚｸﾄﾘ " + dir, dir);
  host::setBoxPath(*ComboBox1, chosen.value_or(dir));
  updateOk();
  ComboBox1->lineEdit()->setFocus();
}

void TDividesForm::Button1Click() {
  host_.setScreenSaverEnabled(false);
  // A folder from the browser or the history keeps its bytes.
  const std::string text = host::boxPath(*ComboBox1);
  if (text.empty()) {
    ComboBox1->lineEdit()->setFocus();
    return;
  }
  history_->add(text);
  showHistory(text);
  const base::SettingsRecord& settings = host_.settings();
  const SplitDestination destination = splitDestination(text, settings.DirPath);
  if (destination.checkExists && !platform::isDirectory(destination.folder)) {
    const base::MessageAnswer create = host_.dialogs().show(
        {"確認", kCreateFolderQuestion, base::MessageButtons::YesNo, base::MessageIcon::Warning});
    if (create != base::MessageAnswer::Yes) {
      showHistory(history_->entries().front());
      updateOk();
      return;
    }
    // A folder that could not be made shows as the first file that cannot be.
    files::CreateFolderPath(destination.folder);
  }

  running_ = true;
  Button1->setEnabled(false);
  ListBox1->clear();
  SplitResult result;
  {
    ToolRun run(host_, ProgressBar1);
    SplitEvents events;
    // The header is program bytes; the screen shows them as Shift-JIS.
    events.programFound = [this](const std::string& header) {
      ListBox1->addItem(q(platform::cp932ToUtf8(header)));
      ListBox1->setCurrentRow(ListBox1->count() - 1);
    };
    events.progress = [&run](std::size_t lines) { run.progress(lines); };
    events.stopRequested = [&run] { return run.stopRequested(); };
    result = splitPrograms(text_, {destination.folder, toolExtension(settings.Mask), options_, sourcePath_},
                           outputs_, events);
  }
  running_ = false;
  ProgressBar1->setValue(ProgressBar1->maximum());
  switch (result.end) {
  case SplitEnd::NoProgram:
    host_.dialogs().show({"中止", kNoProgramNumber, base::MessageButtons::Ok, base::MessageIcon::Warning});
    return reject();
  case SplitEnd::Done:
    host_.refreshFileList({.keepSelection = true});
    host_.dialogs().show({"完了", kSplitDone, base::MessageButtons::Ok, base::MessageIcon::Information});
    return accept();
  case SplitEnd::CannotCreate:
    // The programs written before it stay; the list shows them.
    host_.refreshFileList({.keepSelection = true});
    host_.dialogs().show(
        {"エラー", cannotCreateText(result.failedPath), base::MessageButtons::Ok, base::MessageIcon::Error});
    failed_ = true; // OK stays disabled until the dialog is closed
    updateOk();
    if (closeAfterRun_) reject();
    return;
  case SplitEnd::Stopped: host_.refreshFileList({.keepSelection = true}); return reject();
  }
}

// Cancel and the close box wait for a run to end.
void TDividesForm::reject() {
  if (running_) {
    closeAfterRun_ = true;
    return;
  }
  QDialog::reject();
}

void TDividesForm::done(int result) {
  closeAfterRun_ = false;
  QDialog::done(result);
  saveSplitOptions(programFile(kOptionsFile), options_);
  host_.showFunctionKeys(false);
  host_.focusList();
  history_->save(programFile(base::kPathHistoryFile));
  host_.setScreenSaverEnabled(true);
}

} // namespace kestrovan::nctools
