#include "external/ui/AppopenForm.h"

#include "external/CommandTable.h"
#include "external/ui/DialogLook.h"
#include "host/DialogKeys.h"
#include "host/FixedDialog.h"
#include "host/Host.h"
#include "host/ScreenWidgets.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>

namespace kestrovan::external {
namespace {

QString q(const std::string& utf8) { return QString::fromStdString(utf8); }

enum Column { KeyColumn, NameColumn, FlagColumn, ApplicationColumn };

constexpr const char* kLegend = "$A:ﾌﾙﾊﾟｽ\n$B:ﾌﾙﾊﾟｽ(拡張子無)\n$C:ﾌｧｲﾙ名のみ\n$D:ﾌｧｲﾙ名のみ(拡張子無)";
// A program path ends at the first space; a program in a folder whose name
// holds one is reached through a link.
constexpr const char* kSpaceNote =
    "ﾌﾟﾛｸﾞﾗﾑのﾊﾟｽに空白は使えません。\n空白を含むﾌｫﾙﾀﾞｰのﾌﾟﾛｸﾞﾗﾑはﾘﾝｸで指定して下さい。";
constexpr const char* kExecutables = "実行ﾌｧｲﾙ (*)";
// The pattern in the last parentheses is the one used; the text before it shows.
constexpr const char* kEverything = "すべて表示(*.*) (*)";

} // namespace

TAppopenForm::TAppopenForm(host::Host& host)
    : QDialog(host.window(), host::kFixedDialog), host_(host), chooser_(chooseProgram) {
  host::setUpFixedDialog(*this, "AppopenForm", "外部コマンド設定", {560, 470});

  ListView1 = place<QTreeWidget>(this, "ListView1", {8, 8, 544, 250});
  ListView1->setColumnCount(4);
  ListView1->setHeaderLabels({"ｺﾏﾝﾄﾞ文字", "設定名", "引数使用", "ｺﾏﾝﾄﾞｱﾌﾟﾘｹｰｼｮﾝ"});
  ListView1->setRootIsDecorated(false);
  ListView1->setUniformRowHeights(true);
  ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
  ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
  ListView1->setColumnWidth(KeyColumn, 80);
  ListView1->setColumnWidth(NameColumn, 140);
  ListView1->setColumnWidth(FlagColumn, 60);
  for (int i = 0; i < 26; ++i)
    new QTreeWidgetItem(ListView1, {q(commandKeyText(i)), {}, {}, {}});

  Label1 = place<QLabel>(this, "Label1", {8, 286, 60, 22});
  place<QLabel>(this, "NameLabel", {70, 268, 160, 16}, "設定名");
  LabeledEdit1 = place<QLineEdit>(this, "LabeledEdit1", {70, 286, 200, 22});
  CheckBox1 = place<QCheckBox>(this, "CheckBox1", {290, 286, 100, 22}, "引数使用");
  place<QLabel>(this, "ApplicationLabel", {8, 316, 300, 16}, "ｺﾏﾝﾄﾞｱﾌﾟﾘｹｰｼｮﾝ ");
  LabeledEdit2 = place<QLineEdit>(this, "LabeledEdit2", {8, 334, 480, 22});
  BitBtn1 = place<QPushButton>(this, "BitBtn1", {494, 334, 58, 22}, "...");
  Label2 = place<QLabel>(this, "Label2", {8, 366, 250, 64}, kLegend);
  place<QLabel>(this, "SpaceNote", {8, 432, 360, 32}, kSpaceNote);
  Button1 = place<QPushButton>(this, "Button1", {380, 370, 80, 44}, "変更\n追加");
  Button2 = place<QPushButton>(this, "Button2", {470, 370, 80, 44}, "終了");
  for (QPushButton* b : {BitBtn1, Button1, Button2})
    b->setAutoDefault(false);

  connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(Button2, &QPushButton::clicked, this, [this] { close(); });
  connect(ListView1, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem* item) { showRow(ListView1->indexOfTopLevelItem(item)); });
  connect(ListView1, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* item) { showRow(ListView1->indexOfTopLevelItem(item)); });
  ListView1->installEventFilter(this);
  // No default action: Enter presses the focused button.
  host::installDialogKeys(*this, {{}, {}, &host_});
}

void TAppopenForm::showModal() {
  for (int i = 0; i < 26; ++i)
    fillRow(i);
  showApplicationModal(*this);
  ListView1->setFocus();
  selectRow(0);
  showRow(0);
}

void TAppopenForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  host::centreOnMainWindow(*this, host_);
}

void TAppopenForm::fillRow(int index) {
  const CommandEntry& e = host_.commandTable().entries[static_cast<std::size_t>(index)];
  QTreeWidgetItem* item = ListView1->topLevelItem(index);
  item->setText(NameColumn, q(e.name));
  item->setText(FlagColumn, q(e.useArguments));
  item->setText(ApplicationColumn, q(e.application));
}

// The row's key, name, flag and application into the edit fields.
void TAppopenForm::showRow(int index) {
  if (index < 0 || index >= 26) return;
  const CommandEntry& e = host_.commandTable().entries[static_cast<std::size_t>(index)];
  Label1->setText(q(commandKeyText(index)));
  LabeledEdit1->setText(q(e.name));
  CheckBox1->setChecked(false);
  if (e.useArguments == "Y") CheckBox1->setChecked(true);
  LabeledEdit2->setText(q(e.application));
}

int TAppopenForm::selectedIndex() const {
  const QList<QTreeWidgetItem*> selected = ListView1->selectedItems();
  return selected.isEmpty() ? -1 : ListView1->indexOfTopLevelItem(selected.front());
}

// Selected, focused and scrolled into view, the edit fields left as they are.
void TAppopenForm::selectRow(int index) {
  QTreeWidgetItem* item = ListView1->topLevelItem(index);
  const QSignalBlocker quiet(ListView1);
  ListView1->setCurrentItem(item);
  item->setSelected(true);
  ListView1->scrollToItem(item);
}

bool TAppopenForm::eventFilter(QObject* watched, QEvent* event) {
  // A key in the list shows its row again, also when the row stays.
  if (watched == ListView1 && event->type() == QEvent::KeyRelease) showRow(selectedIndex());
  return QDialog::eventFilter(watched, event);
}

void TAppopenForm::BitBtn1Click() {
  const int remembered = selectedIndex();
  if (std::optional<std::string> program = chooser_(this)) LabeledEdit2->setText(q(*program));
  ListView1->setFocus();
  if (remembered >= 0) selectRow(remembered);
}

// Letter case is kept as typed: paths on this system are case-sensitive.
void TAppopenForm::Button1Click() {
  const int index = selectedIndex();
  if (index < 0) return; // no row selected: nothing changes
  changeEntry(host_.commandTable().entries[static_cast<std::size_t>(index)],
              LabeledEdit1->text().toStdString(), CheckBox1->isChecked(), LabeledEdit2->text().toStdString());
  fillRow(index);
}

std::optional<std::string> chooseProgram(QWidget* parent) {
  QFileDialog dialog(parent, "ｱﾌﾟﾘｹｰｼｮﾝ設定", "/usr/bin");
  // The executable filter is the dialog's own; a desktop's dialog would ignore it.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters({kExecutables, kEverything});
  const auto useFilter = [&dialog](const QString& filter) {
    const QDir::Filters always = QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Files;
    dialog.setFilter(filter == kExecutables ? always | QDir::Executable
                                            : always | QDir::Hidden | QDir::System);
  };
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, useFilter);
  useFilter(kExecutables);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return QFile::encodeName(dialog.selectedFiles().front()).toStdString();
}

} // namespace kestrovan::external
