#include "external/ui/OutAppForm.h"

#include "external/ui/DialogLook.h"
#include "external/Launch.h"
#include "host/DialogKeys.h"
#include "host/FixedDialog.h"
#include "host/Host.h"
#include "host/ScreenWidgets.h"
#include "platform/NameBytes.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kestrovan::external {
namespace {

QString q(const std::string& utf8) { return QString::fromStdString(utf8); }

} // namespace

TOutAppForm::TOutAppForm(host::Host& host, Launcher& launcher)
    : QDialog(host.window(), host::kFixedDialog), host_(host), launcher_(launcher) {
  host::setUpFixedDialog(*this, "OutAppForm", "引数", {420, 160});
  Label1 = place<QLabel>(this, "Label1", {10, 8, 400, 16}, "外部ｱﾌﾟﾘ");
  Label2 = place<QLabel>(this, "Label2", {10, 30, 400, 16}, "起動ｱﾌﾟﾘｹｰｼｮﾝ");
  Label3 = place<QLabel>(this, "Label3", {20, 48, 390, 16});
  auto* argumentLabel = place<QLabel>(this, "ArgumentLabel", {10, 72, 400, 16}, "引数");
  LabeledEdit1 = place<QLineEdit>(this, "LabeledEdit1", {10, 88, 400, 22});
  argumentLabel->setBuddy(LabeledEdit1);
  Button1 = place<QPushButton>(this, "Button1", {240, 124, 80, 26}, "OK");
  Button2 = place<QPushButton>(this, "Button2", {330, 124, 80, 26}, "ｷｬﾝｾﾙ");
  for (QPushButton* b : {Button1, Button2})
    b->setAutoDefault(false);
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(Button2, &QPushButton::clicked, this, [this] { reject(); });
  host::installDialogKeys(*this, {[this] { Button1Click(); }, {}, &host_});
}

void TOutAppForm::showModal(const std::string& name, const std::string& application,
                            const std::string& argument) {
  application_ = application;
  Label1->setText(q(name));
  Label3->setText(q(application));
  argument_ = argument;
  LabeledEdit1->setText(q(platform::shownName(argument)));
  showApplicationModal(*this);
  LabeledEdit1->setFocus();
}

void TOutAppForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  host::centreOnMainWindow(*this, host_);
}

void TOutAppForm::Button1Click() {
  // The parts of the argument the operator left keep their bytes.
  carryOut(launchOnOk(application_, platform::nameFromShown(argument_, LabeledEdit1->text().toStdString())),
           launcher_);
  accept();
}

} // namespace kestrovan::external
