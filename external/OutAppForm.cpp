#include "external/OutAppForm.h"

#include "external/Launch.h"
#include "host/Host.h"
#include "host/ScreenWidgets.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kestrovan::external {
namespace {

QString q(const std::string& utf8) { return QString::fromStdString(utf8); }

} // namespace

TOutAppForm::TOutAppForm(host::Host& host, Launcher& launcher)
    : QDialog(host.window(), Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                                 Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      host_(host), launcher_(launcher) {
  setObjectName("OutAppForm");
  setWindowTitle("引数");
  setFixedSize(420, 160);
  QFont font("IPAPGothic");
  font.setPixelSize(12);
  setFont(font);

  Label1 = new QLabel("外部ｱﾌﾟﾘ", this);
  Label1->setObjectName("Label1");
  Label1->setGeometry(10, 8, 400, 16);
  Label2 = new QLabel("起動ｱﾌﾟﾘｹｰｼｮﾝ", this);
  Label2->setObjectName("Label2");
  Label2->setGeometry(10, 30, 400, 16);
  Label3 = new QLabel(this);
  Label3->setObjectName("Label3");
  Label3->setGeometry(20, 48, 390, 16);
  auto* argumentLabel = new QLabel("引数", this);
  argumentLabel->setGeometry(10, 72, 400, 16);
  LabeledEdit1 = new QLineEdit(this);
  LabeledEdit1->setObjectName("LabeledEdit1");
  LabeledEdit1->setGeometry(10, 88, 400, 22);
  argumentLabel->setBuddy(LabeledEdit1);

  Button1 = new QPushButton("OK", this);
  Button1->setObjectName("Button1");
  Button1->setGeometry(240, 124, 80, 26);
  Button1->setDefault(true); // Enter in the box acts as OK
  Button2 = new QPushButton("ｷｬﾝｾﾙ", this);
  Button2->setObjectName("Button2");
  Button2->setGeometry(330, 124, 80, 26);
  Button2->setAutoDefault(false);
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(Button2, &QPushButton::clicked, this, [this] { reject(); });
}

void TOutAppForm::showModal(const std::string& name, const std::string& application,
                            const std::string& argument) {
  application_ = application;
  Label1->setText(q(name));
  Label3->setText(q(application));
  LabeledEdit1->setText(q(argument));
  setWindowModality(Qt::ApplicationModal);
  show();
  raise();
  activateWindow();
  LabeledEdit1->setFocus();
}

void TOutAppForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  host::centreOnMainWindow(*this, host_);
}

void TOutAppForm::Button1Click() {
  carryOut(launchOnOk(application_, LabeledEdit1->text().toStdString()), launcher_);
  accept();
}

} // namespace kestrovan::external
