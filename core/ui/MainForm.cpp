#include "core/ui/MainForm.h"

#include "core/CommandLineInterpreter.h"
#include "core/StartupChecks.h"
#include "core/ui/FileListBox.h"
#include "core/ui/ListCommands.h"
#include "core/ui/MainListView.h"
#include "core/ui/PromptLine.h"
#include "core/ui/QtDialogs.h"
#include "core/ui/QtKeys.h"
#include "core/ui/ScreenSaverControl.h"
#include "core/ui/TransferPanel.h"
#include "platform/Paths.h"
#include "serial/PortProbe.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTimer>

namespace kestrovan::core {
namespace {

constexpr const char* kCaption = "Kestrovan(Win98/Me/2000/XP)";
constexpr const char* kCancelled = "操作中止!!";
// How long the message of an unattended transfer that did not complete
// stays on screen before the program closes.
constexpr int kIdleAfterStopMs = 1000;

QString q(const std::string& utf8) { return QString::fromStdString(utf8); }

} // namespace

TForm1::TForm1(StartupInputs inputs, base::Dialogs* dialogs, serial::PortOpener* ports)
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
  ports_ = std::make_unique<serial::RunPorts>(*ports);
}

TForm1::~TForm1() = default;

int TForm1::listColumns() const { return screen_.ListBox1->columns(); }

serial::PortOpener& TForm1::ports() { return *ports_; }

// Runs before any other window exists: settings, command table, command line.
void TForm1::FormCreate(const StartupInputs& inputs) {
  state_ = loadAppState(inputs.files, inputs.homeFolder, inputs.args,
                        [](const std::string& p) { return platform::pathExists(p); });
  RealItemFileSystem fs;
  for (const std::string& item : state_.run.commandItems)
    interpretItem(item, state_.settings, state_.run, *dialogs_, fs);
  setWindowTitle(kCaption);
  setFixedSize(728, 518);
  move(state_.settings.Left, state_.settings.Top);

  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::black);
  setPalette(pal);
  screen_ = buildMainScreen(this);
  listView_ = std::make_unique<MainListView>(screen_);
  fileList_ = std::make_unique<files::FileList>(*listView_);
  screen_.ListBox1->setFolderRowTest([this](int row) {
    const files::RowKind kind = fileList_->rowKind(row);
    return kind == files::RowKind::Parent || kind == files::RowKind::Folder;
  });
  prompt_ = std::make_unique<PromptLine>(*screen_.Edit1, *dialogs_,
                                         PromptLine::Actions{[this] {
                                                               ShowCancelled();
                                                               focusList();
                                                             },
                                                             [this] { close(); },
                                                             [this] { return state_.settings.ALL_Files; }});

  Timer1 = new QTimer(this);
  Timer1->setSingleShot(true);
  connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);

  screen_.ListBox1->installEventFilter(this);
  screen_.RichEdit1->installEventFilter(this);
  screen_.Label1->installEventFilter(this);
  listCommands_ = std::make_unique<ListCommands>(screen_, *fileList_, [this](const std::string& folder) {
    state_.settings.DirPath = folder;
    refreshFileList();
  });
  transferPanel_ = std::make_unique<TransferPanel>(screen_);
  connect(screen_.ListBox1, &FileListBox::rowClicked, this, [this](int row, Qt::KeyboardModifiers mods) {
    listCommands_->clicked(row, mods & Qt::ShiftModifier);
  });
  connect(screen_.ListBox1, &FileListBox::rowDoubleClicked, this,
          [this](int) { listCommands_->activateSelected(); });
  connect(screen_.ListBox1, &FileListBox::selectionMoved, this,
          [this](int row) { fileList_->showEntryInfo(row); });
  screenSaver_ = std::make_unique<ScreenSaverControl>();
  registerListCommands();
}

// The list's own commands; operations register theirs.
void TForm1::registerListCommands() {
  setCommandHandler(Command::Close, [this](bool) { close(); });
  setCommandHandler(Command::Cancel, [this](bool) { ShowCancelled(); });
  setCommandHandler(Command::Refresh, [this](bool) {
    refreshFileList({.keepSelection = true});
    ReturnToIdle(1000);
  });
  setCommandHandler(Command::PageUp, [this](bool) { listCommands_->page(false); });
  setCommandHandler(Command::PageDown, [this](bool) { listCommands_->page(true); });
  setCommandHandler(Command::MarkBlock, [this](bool) { fileList_->markBlock(); });
  setCommandHandler(Command::ClearMarks, [this](bool) { fileList_->clearMarks(); });
  setCommandHandler(Command::Activate, [this](bool) { listCommands_->activateSelected(); });
  setCommandHandler(Command::First, [this](bool) { listCommands_->first(); });
  setCommandHandler(Command::Last, [this](bool) { listCommands_->last(); });
}

void TForm1::setCommandHandler(Command command, CommandHandler handler) {
  handlers_[command] = std::move(handler);
}

void TForm1::setPromptHandler(PromptMode mode, PromptHandler handler) {
  prompt_->setHandler(mode, std::move(handler));
}

void TForm1::atFirstIdle(std::function<void()> step) { firstIdleSteps_.push_back(std::move(step)); }

// --- start-up -------------------------------------------------------------

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
  if (closed_) return; // closed before it was ever idle (a close request at start)
  base::SettingsRecord& s = state_.settings;
  checkDataFolder(s, *dialogs_, state_.homeFolder);
  checkPort(s, *ports_, *dialogs_);
  screen_.GroupBox2->hide();
  screen_.Edit1->setEnabled(false);
  showSettingsPanels();
  showFunctionKeys(false);
  layOutList();
  screen_.ListBox1->setFocus();
  QTimer::singleShot(0, this, [this] { FirstIdle(); });
}

void TForm1::layOutList() {
  const ListLayout layout = correctListLayout(state_.settings);
  screen_.ListBox1->setGeometry(0, 69, layout.width, 338);
  screen_.ListBox1->setColumns(layout.columns);
  screen_.Label2->setVisible(layout.width < 728);
}

// The list is filled; then the operations' first-idle steps (an unattended
// run's send, then its reception) run in turn.
void TForm1::FirstIdle() {
  if (firstIdleDone_ || closed_) return;
  firstIdleDone_ = true;
  refreshFileList();
  for (const std::function<void()>& step : firstIdleSteps_) {
    if (closed_) return;
    step();
  }
}

// --- the file list --------------------------------------------------------

files::ListOptions TForm1::listOptions() const {
  const base::SettingsRecord& s = state_.settings;
  return {s.DirPath, s.Mask, s.ALL_Files, s.FileSort, s.SortMuki, s.op3, s.op4, s.ListColumn};
}

void TForm1::refreshFileList(const files::RefreshFlags& flags) {
  fileList_->refreshFileList(listOptions(), flags);
}

int TForm1::selectedRow() const { return screen_.ListBox1->selectedRow(); }
void TForm1::selectRow(int row) { screen_.ListBox1->selectRow(row); }
QWidget* TForm1::listWidget() { return screen_.ListBox1; }
int TForm1::listRowAt(const QPoint& point) const { return screen_.ListBox1->rowAt(point); }
void TForm1::setDragLine(const std::string& text) { screen_.Label3->setText(q(text)); }
void TForm1::setListEnabled(bool enabled) { screen_.ListBox1->setEnabled(enabled); }
void TForm1::focusList() { screen_.ListBox1->setFocus(); }

// --- the dispatcher -------------------------------------------------------

void TForm1::showFunctionKeys(bool shift) { screen_.Label1->setText(q(functionKeyText(shift))); }

// The steps every key pressed in the list takes first, whatever it is.
void TForm1::commonKeySteps(bool shift) {
  Timer1->stop();
  hideTransferPanel();
  showMessage("", kLime);
  setStatusPanel(0, "");
  setStatusPanel(2, "");
  showFunctionKeys(shift);
}

void TForm1::ListBox1KeyDown(Key key, bool shift) {
  commonKeySteps(shift);
  std::optional<KeyBinding> binding = findBinding(key);
  if (!binding) return;
  const Command command = commandFor(*binding, shift);
  const files::RowKind selected = fileList_->rowKind(screen_.ListBox1->selectedRow());
  if (command == Command::None ||
      !conditionHolds(binding->condition, selected, fileList_->marks().count(), shift))
    return;
  auto handler = handlers_.find(command);
  if (handler != handlers_.end() && handler->second) handler->second(shift);
}

void TForm1::ListBox1KeyUp(bool shiftHeld) { showFunctionKeys(shiftHeld); }

// A key in the list: through the key table, unless it is the list's own
// (the arrows) or Alt is held (Alt+letter belongs to the external commands,
// never to the letter commands).
bool TForm1::listKey(QKeyEvent* k) {
  const bool shift = k->modifiers() & Qt::ShiftModifier;
  if (k->type() == QEvent::KeyRelease) {
    ListBox1KeyUp(k->key() == Qt::Key_Shift ? false : shift);
    altKeyEvent(*k, altKeys_);
    return false;
  }
  if (k->key() == Qt::Key_Shift) {
    showFunctionKeys(true);
    return false;
  }
  // Alt and Alt+letter come as the system's keys, not the list's: no common
  // steps, no letter command.
  if (std::optional<bool> consumed = altKeyEvent(*k, altKeys_)) return *consumed;
  const bool letter = k->key() >= Qt::Key_A && k->key() <= Qt::Key_Z;
  std::optional<Key> key = keyOf(k->key());
  if (!key) {
    commonKeySteps(shift);
    return false;
  }
  ListBox1KeyDown(*key, shift);
  // Letters and digits never move the selection; the arrows are the list's.
  std::optional<KeyBinding> b = findBinding(*key);
  return (b && b->consumed) || letter || k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter ||
         k->key() == Qt::Key_Space || k->key() == Qt::Key_Escape ||
         (k->key() >= Qt::Key_F1 && k->key() <= Qt::Key_F10);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  const bool press = event->type() == QEvent::KeyPress;
  if (watched == screen_.ListBox1 && (press || event->type() == QEvent::KeyRelease))
    return listKey(static_cast<QKeyEvent*>(event));
  if (watched == screen_.RichEdit1 && press) return transferPanelKey(static_cast<QKeyEvent*>(event));
  if (watched == screen_.Label1 && event->type() == QEvent::MouseButtonPress) {
    const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
    Label1MouseDown(at.x(), at.y());
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void TForm1::Label1MouseDown(int x, int y) {
  const std::optional<int> key = functionKeyAt(x, y);
  if (!key) return;
  if (*key == 10)
    close();
  else
    SimulateKey(Qt::Key_F1 + *key - 1);
}

// --- message line, prompt, status line, return to idle --------------------

void TForm1::showMessage(const std::string& text, const char* color) { setMessageLine(screen_, text, color); }

void TForm1::showMessage(const std::string& text, host::MessageColour colour) {
  setMessageLine(screen_, text, colour == host::MessageColour::Red ? kRed : kLime);
}

void TForm1::setStatusPanel(int index, const std::string& text) { setStatusPanelText(screen_, index, text); }

void TForm1::showSettingsPanels() {
  setStatusPanel(4, state_.settings.Speed);
  setStatusPanel(5, state_.settings.Port);
  setStatusPanel(6, state_.settings.Signal);
}

void TForm1::setProgress(int value, int maximum) { setProgressBar(screen_, value, maximum); }
void TForm1::setDsrLamp(bool on) { core::setDsrLamp(screen_, on); }
void TForm1::setCtsLamp(bool on) { core::setCtsLamp(screen_, on); }
void TForm1::setModemLampsUnknown() { core::setModemLampsUnknown(screen_); }

void TForm1::ShowCancelled() {
  showMessage(kCancelled, kRed);
  screen_.ListBox1->setEnabled(true);
  screen_.Edit1->setEnabled(false);
  prompt_->endMode();
  ReturnToIdle(1000);
}

void TForm1::ReturnToIdle(int delayMs) { Timer1->start(delayMs); }

// The reset that ends every operation.
void TForm1::Timer1Timer() {
  screen_.StatusBar2->repaint();
  setStatusPanel(3, "");
  showFunctionKeys(false);
  hideTransferPanel();
  showMessage("", kLime);
  Timer1->stop();
  screen_.ListBox1->setEnabled(true);
  if (RefreshOnReset == "Y") refreshFileList({.keepSelection = true});
  RefreshOnReset = "N";
  screen_.ListBox1->setFocus();
  screen_.Edit1->setEnabled(false);
  screenSaver_->setEnabled(true);
  setDsrLamp(false);
  setCtsLamp(false);
}

void TForm1::OpenPrompt(PromptMode mode, const std::string& message, const std::string& initial) {
  screen_.ListBox1->setEnabled(false);
  showMessage(message, kLime);
  prompt_->open(mode, initial);
}

void TForm1::closePrompt() {
  prompt_->close();
  screen_.ListBox1->setEnabled(true);
  screen_.ListBox1->setFocus();
}

void TForm1::clearPromptLine() {
  screen_.Edit1->clear();
  screen_.Edit1->setEnabled(false);
}

void TForm1::setPromptLineEnabled(bool enabled) { screen_.Edit1->setEnabled(enabled); }

void TForm1::RecordWindowRect() {
  if (isActiveWindow()) recordedRect_ = frameGeometry();
}

void TForm1::SimulateKey(int qtKey) {
  QWidget* target = QApplication::focusWidget();
  if (!target) target = screen_.ListBox1;
  const Qt::KeyboardModifiers mods = QGuiApplication::queryKeyboardModifiers();
  QApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, qtKey, mods));
  QApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, qtKey, mods));
}

void TForm1::setScreenSaverEnabled(bool enabled) { screenSaver_->setEnabled(enabled); }

// --- the transfer panel -----------------------------------------------------

void TForm1::showTransferPanel(const std::string& title, int x, int y, int width, const char* colour,
                               host::TransferPanelParts parts) {
  transferPanel_->show(title, x, y, width, colour, parts);
}

void TForm1::hideTransferPanel() { transferPanel_->hide(); }

QPlainTextEdit* TForm1::transferView() { return screen_.RichEdit1; }
QListWidget* TForm1::transferList() { return screen_.transferFiles; }
QLabel* TForm1::remainingLine() { return screen_.remainingLine; }

// F3 or Esc closes what the panel shows (the log, a file), unless an
// operation is running in it.
bool TForm1::transferPanelKey(QKeyEvent* k) {
  if (k->key() != Qt::Key_F3 && k->key() != Qt::Key_Escape) return false;
  if (!transferPanel_->visible() || busy()) return false;
  hideTransferPanel();
  ShowCancelled();
  setStatusPanel(2, "");
  screen_.ListBox1->setFocus();
  return true;
}

// --- busy operations, shutdown ---------------------------------------------

void TForm1::beginBusy(host::BusyOperation& operation) { busy_ = &operation; }

void TForm1::endBusy() {
  busy_ = nullptr;
  if (closeAfterBusy_) closeWindow();
}

void TForm1::closeWindow() { QTimer::singleShot(0, this, &QWidget::close); }

void TForm1::unattendedTransferEnded(int code) {
  runEnd_.transferEnded(code);
  if (code == 0 || !state_.run.ExitAfterTransfer) return;
  // Nothing more is started, and the program ends once the operator (or a
  // screenshot) could have seen why.
  state_.run.PendingReceive = "N";
  QTimer::singleShot(kIdleAfterStopMs, this, &QWidget::close);
}

int TForm1::exitCode() const { return runEnd_.exitCode(state_.run); }

// A close request while an operation runs stops it first, through its own
// stop path (a transfer: DC4 to the NC, its log entry); the window closes
// once it has ended.
void TForm1::closeEvent(QCloseEvent* event) {
  if (busy_) {
    event->ignore();
    // Set first: an operation may end at once, inside requestStop.
    closeAfterBusy_ = true;
    if (!busy_->requestStop()) closeAfterBusy_ = false;
    return;
  }
  event->accept();
  if (closed_) return;
  FormCloseQuery();
  Q_EMIT closed();
}

// The close request is granted: save (unless the run had arguments), then
// release the ports this run opened.
void TForm1::FormCloseQuery() {
  closed_ = true;
  state_.settings.Left = x();
  state_.settings.Top = y();
  saveAppState(state_);
  screenSaver_->setEnabled(true);
  serial::releasePorts(*ports_, state_.settings.ModemePort1, state_.settings.ModemePort2);
}

} // namespace kestrovan::core
