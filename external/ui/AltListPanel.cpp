#include "external/ui/AltListPanel.h"

#include "external/CommandTable.h"
#include "host/ScreenWidgets.h"

#include <QGroupBox>
#include <QLabel>

namespace kestrovan::external {

AltListPanel::AltListPanel(QWidget* parent) {
  GroupBox6 = new QGroupBox(parent);
  GroupBox6->setObjectName("GroupBox6");
  GroupBox6->setGeometry(60, 100, 550, 204);
  GroupBox6->setStyleSheet("QGroupBox { background: #000080; border: 1px solid white; }");
  Label30 = host::screenLabel(GroupBox6, "Label30", {10, 10, 260, 186}, "white", 13, "transparent");
  Label31 = host::screenLabel(GroupBox6, "Label31", {280, 10, 260, 186}, "white", 13, "transparent");
  GroupBox6->hide();
}

void AltListPanel::show(const CommandTable& table) {
  const AltListTexts texts = altListTexts(table);
  Label30->setText(QString::fromStdString(texts.left));
  Label31->setText(QString::fromStdString(texts.right));
  GroupBox6->show();
  GroupBox6->raise();
}

void AltListPanel::hide() { GroupBox6->hide(); }

bool AltListPanel::visible() const { return GroupBox6->isVisible(); }

} // namespace kestrovan::external
