#include "core/MainForm.h"

#include "core/QtDialogs.h"
#include "core/StartupChecks.h"
#include "platform/Paths.h"
#include "serial/PortProbe.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QTimer>

namespace kestrovan::core {
namespace {

constexpr int kWidth = 728;
constexpr int kHeight = 518;
constexpr const char* kCaption = "Kestrovan(Win98/Me/2000/XP)";
constexpr const char* kBanner = "ＰＣ←→ＮＣ機ファイル通信 Ver4.15";
constexpr const char* kHeaderInitial = " ﾌｧｲﾙ・ﾃﾞｨﾚｸﾄﾘ [                            ]";
constexpr const char* kFixedFont = "IPAGothic";

QLabel* makeLabel(QWidget* parent, const char* name, QRect place, const char* color, int pixelSize) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setGeometry(place);
  QFont font(kFixedFont);
  font.setPixelSize(pixelSize);
  label->setFont(font);
  label->setStyleSheet(QString("color: %1; background: black;").arg(color));
  return label;
}

} // namespace

TForm1::TForm1(StartupInputs inputs, Dialogs* dialogs, serial::PortOpener* ports)
    : QWidget(nullptr, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint) {
  setObjectName("Form1");
  if (!dialogs) {
    ownDialogs_ = std::make_unique<QtDialogs>(this);
    dialogs = ownDialogs_.get();
  }
  dialogs_ = dialogs;
  FormCreate(inputs);
  if (!ports) {
    ownPorts_ = std::make_unique<serial::DevicePortOpener>(state_.settingsProfile);
    ports = ownPorts_.get();
  }
  ports_ = ports;
}

TForm1::~TForm1() = default;

// Runs before any other window exists: settings, command table, command line.
void TForm1::FormCreate(const StartupInputs& inputs) {
  state_ = loadAppState(inputs.files, inputs.homeFolder, inputs.args,
                        [](const std::string& p) { return platform::pathExists(p); });
  setWindowTitle(kCaption);
  setFixedSize(kWidth, kHeight);
  move(state_.settings.Left, state_.settings.Top);
  buildScreen();
}

void TForm1::buildScreen() {
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::black);
  setPalette(pal);

  Label4 = makeLabel(this, "Label4", {0, 0, kWidth, 35}, "yellow", 19);
  Label4->setAlignment(Qt::AlignCenter);
  Label4->setText(kBanner);
  Label4->setToolTip("パソコン←→ＮＣファイル転送が行えます。");

  Label7 = makeLabel(this, "Label7", {0, 35, kWidth, 16}, "white", 16);
  Label7->setText(kHeaderInitial);
  Label7->setToolTip("設定フォルダーの状態を表示します。");

  Label8 = makeLabel(this, "Label8", {0, 51, kWidth, 16}, "lime", 13);

  ListBox1 = new QListWidget(this);
  ListBox1->setObjectName("ListBox1");
  ListBox1->setGeometry(0, 69, 616, 338);
  ListBox1->setStyleSheet("color: white; background: black; border: none;");
  ListBox1->setToolTip("ファイルを選択してください。");
  ListBox1->installEventFilter(this);

  StatusBar2 = new QWidget(this);
  StatusBar2->setObjectName("StatusBar2");
  StatusBar2->setGeometry(0, 494, kWidth, 24);
  StatusBar2->setToolTip("送受信の設定を表示します。");
  const int widths[7] = {250, 100, 90, 140, 70, 50, 50};
  int x = 0;
  for (int i = 0; i < 7; ++i) {
    auto* panel = new QLabel(StatusBar2);
    panel->setObjectName(QString("StatusPanel%1").arg(i));
    const int w = i == 6 ? kWidth - x : widths[i];
    panel->setGeometry(x, 0, w, 24);
    panel->setStyleSheet("color: black; background: #d4d0c8; border: 1px inset gray;");
    if (i >= 3) panel->setAlignment(Qt::AlignCenter);
    statusPanels_[static_cast<size_t>(i)] = panel;
    x += widths[i];
  }
}

void TForm1::setStatusPanel(int index, const QString& text) {
  statusPanels_[static_cast<size_t>(index)]->setText(text);
}

void TForm1::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_) return;
  shown_ = true;
  // The checks may ask questions; they run once the window is on screen so
  // that their boxes have an owner to sit on.
  QTimer::singleShot(0, this, [this] { FormShow(); });
}

// The first display: data folder and port checks, status line, list layout;
// then the first idle moment.
void TForm1::FormShow() {
  SettingsRecord& s = state_.settings;
  checkDataFolder(s, *dialogs_, state_.homeFolder);
  checkPort(s, *ports_, *dialogs_);
  setStatusPanel(4, QString::fromStdString(s.Speed));
  setStatusPanel(5, QString::fromStdString(s.Port));
  setStatusPanel(6, QString::fromStdString(s.Signal));
  const ListLayout layout = correctListLayout(s);
  listColumns_ = layout.columns;
  ListBox1->setGeometry(0, 69, layout.width, 338);
  ListBox1->setFocus();
  QTimer::singleShot(0, this, [this] { FirstIdle(); });
}

void TForm1::FirstIdle() {
  if (firstIdleDone_) return;
  firstIdleDone_ = true;
}

void TForm1::ListBox1KeyDown(int key, Qt::KeyboardModifiers) {
  if (key == Qt::Key_F10) close();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ListBox1 && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    ListBox1KeyDown(key->key(), key->modifiers());
    return key->key() == Qt::Key_F10;
  }
  return QWidget::eventFilter(watched, event);
}

void TForm1::closeEvent(QCloseEvent* event) {
  FormCloseQuery();
  event->accept();
}

// The close request is always granted: save (unless the run had arguments),
// then release every non-modem port once.
void TForm1::FormCloseQuery() {
  if (closed_) return;
  closed_ = true;
  state_.settings.Left = x();
  state_.settings.Top = y();
  saveAppState(state_);
  serial::releasePorts(*ports_, state_.settings.ModemePort1, state_.settings.ModemePort2);
}

} // namespace kestrovan::core
