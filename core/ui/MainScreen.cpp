#include "core/ui/MainScreen.h"

#include "core/KeyTable.h"
#include "core/ui/FileListBox.h"
#include "host/ScreenWidgets.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>

#include <algorithm>

namespace kestrovan::core {

using host::screenFont;
using host::screenLabel;

namespace {

constexpr int kWidth = 728;
constexpr int kMessageWidth = 304; // up to the prompt line's left edge
constexpr int kMinPromptWidth = 160;
constexpr int kSmallestPixels = 8;

// The largest pixel size, from `pixels` down to the smallest, at which `text`
// fits `room`; at the smallest the text is shortened in its middle, so that
// both ends stay readable.
QString fitText(QLabel* label, const QString& text, int pixels, int width) {
  label->ensurePolished();
  // A framed label keeps half an "x" free on the side its text is aligned to.
  const bool indented = label->indent() < 0 && label->frameWidth() > 0 &&
                        (label->alignment() & (Qt::AlignLeft | Qt::AlignRight));
  const auto room = [&](const QFont& f) {
    return width - (indented ? QFontMetrics(f).horizontalAdvance(QLatin1Char('x')) / 2 : 0);
  };
  QFont font = screenFont(pixels);
  while (QFontMetrics(font).horizontalAdvance(text) > room(font) && font.pixelSize() > kSmallestPixels)
    font.setPixelSize(font.pixelSize() - 1);
  label->setFont(font);
  return QFontMetrics(font).elidedText(text, Qt::ElideMiddle, room(font));
}

// The key-help panel lists the keys of the idle list. An overlay that covers
// part of it (the communication settings, the transfer panel) would leave
// halves of its characters beside the overlay's edge; while one is shown the
// panel is not shown at all.
class KeyHelpCover : public QObject {
public:
  KeyHelpCover(QWidget* form, QLabel* help, QWidget* list)
      : QObject(form), form_(form), help_(help), list_(list) {
    form->installEventFilter(this);
    for (QObject* o : form->children())
      if (auto* w = qobject_cast<QWidget*>(o); w && w != help) w->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == form_) {
      if (event->type() == QEvent::ChildAdded)
        if (auto* w = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child()); w && w != help_)
          w->installEventFilter(this);
      return false;
    }
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::ZOrderChange: update(); break;
    default: break;
    }
    return false;
  }

private:
  void update() {
    // The list's width decides whether the panel is on the screen at all
    // (a five-column list covers it); an overlay hides it for its time.
    bool covered = false;
    bool above = false;
    const QRect text = help_->geometry();
    for (QObject* o : form_->children()) {
      if (o == help_) above = true;
      auto* w = qobject_cast<QWidget*>(o);
      if (!above || !w || w == help_ || w->isWindow() || !w->isVisible()) continue;
      const QRect overlap = w->geometry() & text;
      // The prompt line touches the panel's last two empty pixel rows.
      if (overlap.height() > 2) covered = true;
    }
    const bool shown = list_->width() < kWidth && !covered;
    if (help_->isVisibleTo(form_) != shown) help_->setVisible(shown);
  }

  QWidget* form_;
  QLabel* help_;
  QWidget* list_;
};

} // namespace

void setLabelColor(QLabel* l, const char* color) {
  l->setStyleSheet(QString("color: %1; background: black;").arg(color));
}

// A message wider than the message line takes room from the prompt line
// (which keeps room for a name), then a smaller font, so that its beginning
// ("コピー元 …", "現ﾃﾞｨﾚｸﾄﾘ …") is not pushed out at the left.
void setMessageLine(const MainScreen& s, const std::string& text, const char* color) {
  setLabelColor(s.Label11, color);
  const QString shown = QString::fromStdString(text);
  const int need = QFontMetrics(screenFont(12)).horizontalAdvance(shown);
  const int width = std::clamp(need, kMessageWidth, kWidth - kMinPromptWidth);
  s.Label11->setGeometry(0, 407, width, 22);
  s.Edit1->setGeometry(width, 407, kWidth + 1 - width, 22);
  s.Label11->setText(fitText(s.Label11, shown, 12, width));
}

// A status panel's text in a smaller font where the panel is too narrow for
// it (the file view's "ｻｲｽﾞ : 195.327KB").
void setStatusPanelText(const MainScreen& s, int index, const std::string& text) {
  if (index < 0 || index >= 7) return;
  QLabel* panel = s.statusPanels[index];
  panel->setText(fitText(panel, QString::fromStdString(text), 12, panel->contentsRect().width()));
}

void setProgressBar(const MainScreen& s, int value, int maximum) {
  s.progressBar->setRange(0, maximum);
  s.progressBar->setValue(value);
}

void setDsrLamp(const MainScreen& s, bool on) {
  s.LampDSR->setText("DSR ●");
  s.LampDSR->setStyleSheet(QString("color: %1; background: #202020;").arg(on ? "blue" : "red"));
}

void setCtsLamp(const MainScreen& s, bool on) { s.LampCTS->setText(on ? "CTS ●" : "CTS ○"); }

void setModemLampsUnknown(const MainScreen& s) {
  s.LampDSR->setText("DSR ?");
  s.LampDSR->setStyleSheet("color: gray; background: #202020;");
  s.LampCTS->setText("CTS ?");
}

MainScreen buildMainScreen(QWidget* form) {
  MainScreen s{};
  s.Label4 = screenLabel(form, "Label4", {0, 0, kWidth, 35}, "yellow", 19);
  s.Label4->setAlignment(Qt::AlignCenter);
  s.Label4->setText("ＰＣ←→ＮＣ機ファイル通信 Ver4.15");
  s.Label4->setToolTip("パソコン←→ＮＣファイル転送が行えます。");
  s.LampDSR = screenLabel(form, "LabeledEdit1", {632, 9, 40, 18}, "red", 12, "#202020");
  s.LampDSR->setText("DSR ●");
  s.LampCTS = screenLabel(form, "LabeledEdit2", {678, 9, 44, 18}, "white", 12, "#202020");
  s.LampCTS->setText("CTS ○");

  s.Label7 = screenLabel(form, "Label7", {0, 35, kWidth, 16}, "white", 16);
  s.Label7->setText(" ﾌｧｲﾙ・ﾃﾞｨﾚｸﾄﾘ [                            ]");
  s.Label7->setToolTip("設定フォルダーの状態を表示します。");
  s.Label8 = screenLabel(form, "Label8", {0, 51, kWidth, 16}, "lime", 13);

  s.ListBox1 = new FileListBox(form);
  s.ListBox1->setObjectName("ListBox1");
  s.ListBox1->setGeometry(0, 69, 616, 338);
  s.ListBox1->setToolTip("ファイルを選択してください。");

  s.Label2 = screenLabel(form, "Label2", {616, 69, 112, 340}, "silver", 13);
  s.Label2->setText(kLetterCommandList);
  new KeyHelpCover(form, s.Label2, s.ListBox1);

  s.Label11 = screenLabel(form, "Label11", {0, 407, kMessageWidth, 22}, kLime, 12);
  s.Label11->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  s.Edit1 = new QLineEdit(form);
  s.Edit1->setObjectName("Edit1");
  s.Edit1->setGeometry(304, 407, 425, 22);
  s.Edit1->setFont(screenFont(12));
  s.Edit1->setStyleSheet("color: white; background: black; border: 1px solid gray;");
  s.Edit1->setEnabled(false);

  s.Label3 = screenLabel(form, "Label3", {0, 428, kWidth, 16}, "white", 12);
  s.Label6 = screenLabel(form, "Label6", {0, 444, kWidth, 16}, "fuchsia", 12);
  s.Label6->setText(" Shiftでｻﾌﾞﾒﾆｭｰ表示  　　　　　　               　  SP :ﾌｧｲﾙﾘｽﾄ更新  ESC:操作中止");
  s.Label6->setToolTip("各操作を中止する際はＥｓｃを押してください。");

  s.Label1 = screenLabel(form, "Label1", {0, 460, kWidth, 32}, "white", 16);
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
    panel->setFont(screenFont(12));
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
  s.GroupBox2->setFont(screenFont(12));
  s.GroupBox2->hide();
  s.RichEdit1 = new QPlainTextEdit(s.GroupBox2);
  s.RichEdit1->setObjectName("RichEdit1");
  s.RichEdit1->setFont(screenFont(12));
  s.RichEdit1->setStyleSheet("color: white; background: black;");
  s.RichEdit1->setLineWrapMode(QPlainTextEdit::NoWrap);
  s.remainingLine = screenLabel(s.GroupBox2, "RemainingLine", {}, "white", 12, "transparent");
  s.transferFiles = new QListWidget(s.GroupBox2);
  s.transferFiles->setObjectName("ListBox2");
  s.transferFiles->hide();
  s.transferKeyLine = screenLabel(s.GroupBox2, "TransferKeyLine", {}, "white", 12, "transparent");
  s.transferKeyLine->setText("                         F3 :中止(Esc)");

  return s;
}

} // namespace kestrovan::core
