#include "core/MainScreen.h"

#include "core/FileListBox.h"
#include "core/KeyTable.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>

namespace kestrovan::core {
namespace {

constexpr int kWidth = 728;
constexpr const char* kFixedFont = "IPAGothic";
constexpr const char* kSaveChoiceTitleText = "データ保存";

QFont fixedFont(int pixelSize) {
  QFont font(kFixedFont);
  font.setPixelSize(pixelSize);
  font.setStyleHint(QFont::Monospace);
  return font;
}

QLabel* label(QWidget* parent, const char* name, QRect place, const char* color, int pixelSize,
              const char* background = "black") {
  auto* l = new QLabel(parent);
  l->setObjectName(name);
  l->setGeometry(place);
  l->setFont(fixedFont(pixelSize));
  l->setStyleSheet(QString("color: %1; background: %2;").arg(color, background));
  l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return l;
}

} // namespace

void setLabelColor(QLabel* l, const char* color) {
  l->setStyleSheet(QString("color: %1; background: black;").arg(color));
}

MainScreen buildMainScreen(QWidget* form) {
  MainScreen s{};
  s.Label4 = label(form, "Label4", {0, 0, kWidth, 35}, "yellow", 19);
  s.Label4->setAlignment(Qt::AlignCenter);
  s.Label4->setText("ＰＣ←→ＮＣ機ファイル通信 Ver4.15");
  s.Label4->setToolTip("パソコン←→ＮＣファイル転送が行えます。");
  s.LampDSR = label(form, "LabeledEdit1", {632, 9, 40, 18}, "red", 12, "#202020");
  s.LampDSR->setText("DSR ●");
  s.LampCTS = label(form, "LabeledEdit2", {678, 9, 44, 18}, "white", 12, "#202020");
  s.LampCTS->setText("CTS ○");

  s.Label7 = label(form, "Label7", {0, 35, kWidth, 16}, "white", 16);
  s.Label7->setText(" ﾌｧｲﾙ・ﾃﾞｨﾚｸﾄﾘ [                            ]");
  s.Label7->setToolTip("設定フォルダーの状態を表示します。");
  s.Label8 = label(form, "Label8", {0, 51, kWidth, 16}, "lime", 13);

  s.ListBox1 = new FileListBox(form);
  s.ListBox1->setObjectName("ListBox1");
  s.ListBox1->setGeometry(0, 69, 616, 338);
  s.ListBox1->setToolTip("ファイルを選択してください。");

  s.Label2 = label(form, "Label2", {616, 69, 112, 340}, "silver", 13);
  s.Label2->setText(kLetterCommandList);

  s.Label11 = label(form, "Label11", {0, 407, 305, 22}, kLime, 12);
  s.Label11->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  s.Edit1 = new QLineEdit(form);
  s.Edit1->setObjectName("Edit1");
  s.Edit1->setGeometry(304, 407, 425, 22);
  s.Edit1->setFont(fixedFont(12));
  s.Edit1->setStyleSheet("color: white; background: black; border: 1px solid gray;");
  s.Edit1->setEnabled(false);

  s.Label3 = label(form, "Label3", {0, 428, kWidth, 16}, "white", 12);
  s.Label6 = label(form, "Label6", {0, 444, kWidth, 16}, "fuchsia", 12);
  s.Label6->setText(" Shiftでｻﾌﾞﾒﾆｭｰ表示  　　　　　　               　  SP :ﾌｧｲﾙﾘｽﾄ更新  ESC:操作中止");
  s.Label6->setToolTip("各操作を中止する際はＥｓｃを押してください。");

  s.Label1 = label(form, "Label1", {0, 460, kWidth, 32}, "white", 16);
  s.Label1->setCursor(Qt::PointingHandCursor);
  s.Label1->setText(QString::fromStdString(functionKeyText(false)));
  s.Label1->setToolTip("対応するファンクションキーを押してください。");

  s.StatusBar2 = new QWidget(form);
  s.StatusBar2->setObjectName("StatusBar2");
  s.StatusBar2->setGeometry(0, 494, kWidth, 24);
  s.StatusBar2->setToolTip("送受信の設定を表示します。");
  s.StatusBar2->setStyleSheet("background: #d4d0c8;");
  const int widths[7] = {250, 100, 90, 140, 70, 50, 50};
  int x = 0;
  for (int i = 0; i < 7; ++i) {
    auto* panel = new QLabel(s.StatusBar2);
    panel->setObjectName(QString("StatusPanel%1").arg(i));
    panel->setGeometry(x, 0, i == 6 ? kWidth - x : widths[i], 24);
    panel->setFont(fixedFont(12));
    panel->setStyleSheet("color: black; border: 1px solid gray;");
    if (i >= 3) panel->setAlignment(Qt::AlignCenter);
    s.statusPanels[i] = panel;
    x += widths[i];
  }
  // Inside panel 1, as a smooth bar.
  s.progressBar = new QProgressBar(s.StatusBar2);
  s.progressBar->setObjectName("ProgressBar1");
  s.progressBar->setGeometry(252, 2, 98, 24 - 2);
  s.progressBar->setTextVisible(false);
  s.progressBar->setValue(0);

  s.GroupBox2 = new QGroupBox(form);
  s.GroupBox2->setObjectName("GroupBox2");
  s.GroupBox2->setFont(fixedFont(12));
  s.GroupBox2->hide();
  s.RichEdit1 = new QPlainTextEdit(s.GroupBox2);
  s.RichEdit1->setObjectName("RichEdit1");
  s.RichEdit1->setFont(fixedFont(12));
  s.RichEdit1->setStyleSheet("color: white; background: black;");
  s.RichEdit1->setLineWrapMode(QPlainTextEdit::NoWrap);
  s.remainingLine = label(s.GroupBox2, "RemainingLine", {}, "white", 12, "transparent");
  s.transferFiles = new QListWidget(s.GroupBox2);
  s.transferFiles->setObjectName("ListBox2");
  s.transferFiles->hide();
  s.transferKeyLine = label(s.GroupBox2, "TransferKeyLine", {}, "white", 12, "transparent");
  s.transferKeyLine->setText("                         F3 :中止(Esc)");

  s.GroupBox5 = new QGroupBox(kSaveChoiceTitleText, form);
  s.GroupBox5->setObjectName("GroupBox5");
  s.GroupBox5->setGeometry(230, 160, 250, 100);
  s.GroupBox5->setFont(fixedFont(12));
  s.GroupBox5->setStyleSheet("QGroupBox { color: white; background: #000080; }");
  s.saveChoiceText = label(s.GroupBox5, "SaveChoiceText", {10, 20, 200, 56}, "white", 12, "transparent");
  s.saveChoiceEdit = new QLineEdit(s.GroupBox5);
  s.saveChoiceEdit->setObjectName("SaveChoiceEdit");
  s.saveChoiceEdit->setGeometry(214, 20, 24, 22);
  s.saveChoiceEdit->setMaxLength(1);
  s.GroupBox5->hide();

  s.GroupBox4 = new QGroupBox("ソートタイプ", form);
  s.GroupBox4->setObjectName("GroupBox4");
  s.GroupBox4->setGeometry(200, 150, 330, 150);
  s.GroupBox4->setFont(fixedFont(12));
  s.GroupBox4->setStyleSheet("QGroupBox { color: white; background: #000080; }");
  s.sortCurrent = label(s.GroupBox4, "SortCurrent", {10, 20, 310, 16}, "white", 12, "transparent");
  auto* legend = label(s.GroupBox4, "SortLegend", {10, 40, 310, 50}, "white", 12, "transparent");
  legend->setWordWrap(true);
  legend->setText("Ｎ：名前　　　　　　Ｓ：サイズ　　　　　Ｔ：日付　　　　　　　　　　　　　　　　"
                  "Ｄ：昇順　Ｕ：降順　例：Ｎ－Ｄ");
  s.sortEdit = new QLineEdit(s.GroupBox4);
  s.sortEdit->setObjectName("SortEdit");
  s.sortEdit->setGeometry(10, 100, 60, 22);
  s.sortEdit->setMaxLength(3);
  s.sortKeyLine = label(s.GroupBox4, "SortKeyLine", {200, 125, 120, 16}, "white", 12, "transparent");
  s.sortKeyLine->setText("Esc :中止");
  s.GroupBox4->hide();
  return s;
}

} // namespace kestrovan::core
