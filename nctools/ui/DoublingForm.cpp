#include "nctools/ui/DoublingForm.h"

#include "base/Dialogs.h"
#include "base/SettingsRecord.h"
#include "files/FileList.h"
#include "host/DialogKeys.h"
#include "host/Host.h"
#include "nctools/AxisDoubling.h"
#include "nctools/ui/ToolDialog.h"
#include "nctools/ToolFields.h"
#include "platform/Paths.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include <cctype>
#include <climits>

namespace kestrovan::nctools {
namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }

int notAxisLetters(const std::string& text) {
  int n = 0;
  for (char c : text)
    if (!isAxisLetter(c)) ++n;
  return n;
}
} // namespace

TBai2Form::TBai2Form(host::Host& host, OutputFiles& outputs)
    : QDialog(host.window()), host_(host), outputs_(outputs) {
  setUpToolDialog(*this, "Bai2Form", "選択軸２倍変換", QSize(330, 170));
  Label2 = new QLabel(this);
  Label2->setObjectName("Label2");
  Label2->setGeometry(10, 10, 310, 16);
  Label3 = new QLabel(this);
  Label3->setObjectName("Label3");
  Label3->setGeometry(10, 30, 310, 16);
  Label1 = new QLabel("２倍に変換軸", this);
  Label1->setObjectName("Label1");
  Label1->setGeometry(10, 60, 100, 16);
  Edit1 = new QLineEdit(this);
  Edit1->setObjectName("Edit1");
  Edit1->setMaxLength(1);
  Edit1->setGeometry(110, 56, 30, 24);
  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setObjectName("ProgressBar1");
  ProgressBar1->setGeometry(10, 92, 310, 16);
  ProgressBar1->setTextVisible(false);
  Button1 = new QPushButton("ＯＫ", this);
  Button1->setObjectName("Button1");
  Button1->setGeometry(150, 126, 80, 27);
  Button2 = new QPushButton("ｷｬﾝｾﾙ", this);
  Button2->setObjectName("Button2");
  Button2->setGeometry(240, 126, 80, 27);
  for (QPushButton* b : {Button1, Button2}) {
    b->setAutoDefault(false);
    b->setDefault(false);
  }
  field_ = new RefusingField(Edit1, host_.dialogs(), notAxisLetters, kLetterRefusedText);
  host::installDialogKeys(*this, {[this] { enter(); }, {}, &host_});
  connect(Edit1, &QLineEdit::textChanged, this, [this] { updateOk(); });
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(Button2, &QPushButton::clicked, this, [this] { reject(); });
}

void TBai2Form::open(const std::string& sourceName, const std::string& outputName, std::string_view text) {
  outputName_ = outputName;
  text_ = text;
  Label2->setText(q("変換前:" + sourceName));
  Label3->setText(q("変換後:" + outputName));
  failed_ = false;
  Edit1->clear();
  ProgressBar1->setRange(0, static_cast<int>(std::min<std::size_t>(programLineCount(text), INT_MAX)));
  ProgressBar1->setValue(0);
  Button1->setEnabled(false);
  showToolDialog(*this, host_);
  Edit1->setFocus();
}

void TBai2Form::updateOk() { Button1->setEnabled(!running_ && !failed_ && !Edit1->text().isEmpty()); }

// Enter without a letter is refused like any key that is not one.
void TBai2Form::enter() {
  if (Edit1->text().isEmpty()) return field_->refuse();
  if (Button1->isEnabled()) Button1Click();
}

void TBai2Form::Button1Click() {
  host_.setScreenSaverEnabled(false);
  const std::string typed = Edit1->text().toStdString();
  if (typed.empty()) return Edit1->setFocus();
  const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(typed[0])));
  running_ = true;
  Button1->setEnabled(false);
  const std::string output = platform::joinPath(host_.settings().DirPath, outputName_);
  DoublingResult result;
  {
    ToolRun run(host_, ProgressBar1);
    result = doubleAxis(
        text_, letter, output, outputs_, [&run](std::size_t lines) { run.progress(lines); },
        [&run] { return run.stopRequested(); });
  }
  running_ = false;
  switch (result.end) {
  case DoublingEnd::Done:
    ProgressBar1->setValue(ProgressBar1->maximum());
    host_.refreshFileList({.keepSelection = true});
    host_.dialogs().show({"完了", doublingDoneText(letter, outputName_), base::MessageButtons::Ok,
                          base::MessageIcon::Information});
    return accept();
  case DoublingEnd::NotANumber:
    host_.dialogs().show(
        {"エラー", notANumberText(result.number), base::MessageButtons::Ok, base::MessageIcon::Error});
    break;
  case DoublingEnd::CannotCreate:
    host_.dialogs().show(
        {"エラー", cannotCreateText(output), base::MessageButtons::Ok, base::MessageIcon::Error});
    break;
  case DoublingEnd::Stopped: return reject();
  }
  // OK stays disabled until the dialog is closed.
  failed_ = true;
  if (closeAfterRun_) reject();
}

// Cancel and the close box wait for a conversion to end.
void TBai2Form::reject() {
  if (running_) {
    closeAfterRun_ = true;
    return;
  }
  QDialog::reject();
}

void TBai2Form::done(int result) {
  closeAfterRun_ = false;
  QDialog::done(result);
  host_.showFunctionKeys(false);
  host_.focusList();
  host_.setScreenSaverEnabled(true);
}

} // namespace kestrovan::nctools
