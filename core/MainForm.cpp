#include "core/MainForm.h"

#include "core/CommPanel.h"
#include "core/CommandLineInterpreter.h"
#include "core/FileListBox.h"
#include "core/OptionForm.h"
#include "core/QtDialogs.h"
#include "core/QtTransferScreen.h"
#include "core/ScreenSaverControl.h"
#include "core/StartupChecks.h"
#include "core/TransferCommands.h"
#include "platform/Paths.h"
#include "platform/PowerOff.h"
#include "serial/PortProbe.h"
#include "serial/TransferEnd.h"
#include "serial/TransferLog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
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

std::optional<Key> keyOf(int qtKey) {
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F10) return static_cast<Key>(qtKey - Qt::Key_F1);
  switch (qtKey) {
  case Qt::Key_Escape: return Key::Esc;
  case Qt::Key_Space: return Key::Space;
  case Qt::Key_PageUp: return Key::PageUp;
  case Qt::Key_PageDown: return Key::PageDown;
  case Qt::Key_Home: return Key::Home;
  case Qt::Key_End: return Key::End;
  case Qt::Key_Return:
  case Qt::Key_Enter: return Key::Enter;
  case Qt::Key_B: return Key::B;
  case Qt::Key_C: return Key::C;
  case Qt::Key_D: return Key::D;
  case Qt::Key_E: return Key::E;
  case Qt::Key_F: return Key::F;
  case Qt::Key_H: return Key::H;
  case Qt::Key_I: return Key::I;
  case Qt::Key_K: return Key::K;
  case Qt::Key_L: return Key::L;
  case Qt::Key_M: return Key::M;
  case Qt::Key_O: return Key::O;
  case Qt::Key_R: return Key::R;
  case Qt::Key_S: return Key::S;
  case Qt::Key_T: return Key::T;
  case Qt::Key_V: return Key::V;
  case Qt::Key_X: return Key::X;
  case Qt::Key_Y: return Key::Y;
  case Qt::Key_Z: return Key::Z;
  default: return std::nullopt;
  }
}

// The file list's view of the screen: the list widget, the header and info
// lines, the wait cursor.
class MainListView : public files::FileListView {
public:
  explicit MainListView(MainScreen& s) : s_(s) {}
  void setRows(const std::vector<std::string>& rows) override {
    std::vector<QString> texts;
    texts.reserve(rows.size());
    for (const std::string& r : rows)
      texts.push_back(q(r));
    s_.ListBox1->setRows(std::move(texts));
  }
  void setRowText(int row, const std::string& text) override { s_.ListBox1->setRowText(row, q(text)); }
  int selectedRow() const override { return s_.ListBox1->selectedRow(); }
  void selectRow(int row) override { s_.ListBox1->selectRow(row); }
  void setHeaderLine(const std::string& text) override { s_.Label7->setText(q(text)); }
  void setInfoLine(const std::string& text) override { s_.Label8->setText(q(text)); }
  void setWaitCursor(bool on) override {
    if (on) {
      QApplication::setOverrideCursor(Qt::WaitCursor);
      s_.ListBox1->window()->repaint();
    } else {
      QApplication::restoreOverrideCursor();
    }
  }
  void focusList() override { s_.ListBox1->setFocus(); }
  int listHeight() const override { return s_.ListBox1->height(); }

private:
  MainScreen& s_;
};

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
  commPanel_ = std::make_unique<CommPanel>(*this, *ports_);
  optionForm_ = std::make_unique<TOptionForm>(*this);
  setCommandHandler(Command::CommSettings, [this](bool) { commPanel_->open(); });
  setCommandHandler(Command::Options, [this](bool) {
    RecordWindowRect();
    optionForm_->showModal();
  });
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
  ExitAfterTransfer = state_.run.ExitAfterTransfer;
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

  Timer1 = new QTimer(this);
  Timer1->setSingleShot(true);
  connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);

  screen_.ListBox1->installEventFilter(this);
  screen_.Edit1->installEventFilter(this);
  // Typed characters are refused before they go in (promptKey); a paste, a
  // drop or an input method is checked once it is in and taken back. Qt
  // reports the edit before the change, so the text before it is at hand.
  connect(screen_.Edit1, &QLineEdit::textEdited, this, &TForm1::promptEdited);
  connect(screen_.Edit1, &QLineEdit::textChanged, this, [this] { promptText_ = screen_.Edit1->text(); });
  screen_.sortEdit->installEventFilter(this);
  screen_.RichEdit1->installEventFilter(this);
  screen_.Label1->installEventFilter(this);
  screen_.transferKeyLine->installEventFilter(this);
  screen_.sortKeyLine->installEventFilter(this);
  connect(screen_.ListBox1, &FileListBox::rowClicked, this, [this](int row, Qt::KeyboardModifiers mods) {
    if (mods & Qt::ShiftModifier) {
      fileList_->markRange(MarkAnchor, row);
    } else {
      MarkAnchor = row;
    }
    fileList_->showEntryInfo(row);
  });
  connect(screen_.ListBox1, &FileListBox::rowDoubleClicked, this, [this](int) { activateSelected(); });
  connect(screen_.ListBox1, &FileListBox::selectionMoved, this,
          [this](int row) { fileList_->showEntryInfo(row); });
  screenSaver_ = std::make_unique<ScreenSaverControl>();
  transferScreen_ = std::make_unique<QtTransferScreen>(*this, *dialogs_);
  receiveCommand_ = std::make_unique<ReceiveCommand>(*this);
  sendCommand_ = std::make_unique<SendCommand>(*this);
  systemPowerOff_ = std::make_unique<platform::SystemPowerOff>();
  powerOff_ = systemPowerOff_.get();
  registerBuiltInCommands();
}

void TForm1::registerBuiltInCommands() {
  setCommandHandler(Command::Close, [this](bool) { close(); });
  setCommandHandler(Command::Cancel, [this](bool) { ShowCancelled(); });
  setCommandHandler(Command::Refresh, [this](bool) {
    refreshFileList({.keepSelection = true});
    ReturnToIdle(1000);
  });
  setCommandHandler(Command::PageUp, [this](bool) { pageKey(false); });
  setCommandHandler(Command::PageDown, [this](bool) { pageKey(true); });
  setCommandHandler(Command::MarkBlock, [this](bool) { fileList_->markBlock(); });
  setCommandHandler(Command::ClearMarks, [this](bool) { fileList_->clearMarks(); });
  setCommandHandler(Command::Activate, [this](bool) { activateSelected(); });
  setCommandHandler(Command::First, [this](bool) { selectAndShow(0); });
  setCommandHandler(Command::Last,
                    [this](bool) { selectAndShow(static_cast<int>(fileList_->rows().size()) - 1); });
  setCommandHandler(Command::SortBox, [this](bool) { openSortBox(); });
  setCommandHandler(Command::LogView, [this](bool) { showTransferLog(); });
  setCommandHandler(Command::Send, [this](bool shift) { sendCommand_->run(shift); });
  setCommandHandler(Command::Receive, [this](bool shift) { receiveCommand_->run(shift); });
}

void TForm1::setCommandHandler(Command command, CommandHandler handler) {
  handlers_[command] = std::move(handler);
}

void TForm1::setPromptHandler(PromptMode mode, PromptHandler handler) {
  promptHandlers_[mode] = std::move(handler);
}

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
  screen_.GroupBox4->hide();
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

void TForm1::FirstIdle() {
  if (firstIdleDone_ || closed_) return;
  firstIdleDone_ = true;
  refreshFileList();
  RunState& run = state_.run;
  // A transfer the command line asked for that cannot start (a send file
  // that is missing, a reception that was not to overwrite) is a stopped one.
  if (!run.sendFileName.empty() && run.PendingSend != "Y") unattendedTransferEnded(serial::kExitStopped);
  if (!run.receivePath.empty() && run.PendingReceive != "Y") unattendedTransferEnded(serial::kExitStopped);
  if (closed_) return;
  // An unattended run: the send first, then the reception.
  if (run.PendingSend == "Y") {
    setStatusPanel(0, "送信名 " + run.sendFileName);
    sendCommand_->runPending();
  }
  if (run.PendingReceive == "Y" && !closed_) receiveCommand_->runPending();
}

// --- the file list --------------------------------------------------------

files::ListOptions TForm1::listOptions() const {
  const base::SettingsRecord& s = state_.settings;
  return {s.DirPath, s.Mask, s.ALL_Files, s.FileSort, s.SortMuki, s.op3, s.op4, s.ListColumn};
}

void TForm1::refreshFileList(files::RefreshFlags flags) { fileList_->refreshFileList(listOptions(), flags); }

void TForm1::selectAndShow(int row) {
  if (row < 0) return;
  listView_->selectRow(row);
  fileList_->showEntryInfo(row);
}

void TForm1::pageKey(bool down) {
  const PageMove move =
      pageMove(down, static_cast<int>(fileList_->rows().size()), screen_.ListBox1->selectedRow(),
               screen_.ListBox1->columns(), screen_.ListBox1->rowsPerColumn());
  if (move.select < 0) return;
  screen_.ListBox1->selectRow(move.scrollTo);
  selectAndShow(move.select);
}

void TForm1::activateSelected() {
  files::Activation a = fileList_->activateSelected();
  switch (a.kind) {
  case files::Activation::Kind::MarkToggled:
    MarkAnchor = a.selectedRow;
    fileList_->showEntryInfo(a.selectedRow);
    break;
  case files::Activation::Kind::EnterFolder:
    state_.settings.DirPath = a.folder;
    refreshFileList();
    break;
  case files::Activation::Kind::None: break;
  }
}

// --- the dispatcher -------------------------------------------------------

bool TForm1::conditionHolds(Condition condition, bool shift) const {
  const files::RowKind kind = fileList_->rowKind(screen_.ListBox1->selectedRow());
  switch (condition) {
  case Condition::None: return true;
  case Condition::FileRow: return kind == files::RowKind::File;
  case Condition::FileRowUnshifted: return shift || kind == files::RowKind::File;
  case Condition::NotParentRow: return kind == files::RowKind::File || kind == files::RowKind::Folder;
  case Condition::AtLeastOneMark: return fileList_->marks().count() > 0;
  }
  return false;
}

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
  if (command == Command::None || !conditionHolds(binding->condition, shift)) return;
  auto handler = handlers_.find(command);
  if (handler != handlers_.end() && handler->second) handler->second(shift);
}

void TForm1::ListBox1KeyUp(bool shiftHeld) {
  showFunctionKeys(shiftHeld);
  AltListShown = false;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  const bool press = event->type() == QEvent::KeyPress;
  if (watched == screen_.ListBox1 && (press || event->type() == QEvent::KeyRelease)) {
    auto* k = static_cast<QKeyEvent*>(event);
    const bool shift = k->modifiers() & Qt::ShiftModifier;
    if (!press) {
      ListBox1KeyUp(k->key() == Qt::Key_Shift ? false : shift);
      return false;
    }
    if (k->key() == Qt::Key_Shift) {
      showFunctionKeys(true);
      return false;
    }
    std::optional<Key> key = keyOf(k->key());
    if (!key) {
      commonKeySteps(shift);
      return false;
    }
    ListBox1KeyDown(*key, shift);
    // Letters and digits never move the selection; the arrows are the list's.
    std::optional<KeyBinding> b = findBinding(*key);
    return (b && b->consumed) || (k->key() >= Qt::Key_A && k->key() <= Qt::Key_Z) ||
           k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter || k->key() == Qt::Key_Space ||
           k->key() == Qt::Key_Escape || (k->key() >= Qt::Key_F1 && k->key() <= Qt::Key_F10);
  }
  if (watched == screen_.Edit1 && press) return promptKey(static_cast<QKeyEvent*>(event));
  if (watched == screen_.sortEdit && press) return sortEditKey(static_cast<QKeyEvent*>(event));
  if (watched == screen_.RichEdit1 && press) return transferPanelKey(static_cast<QKeyEvent*>(event));
  if (event->type() == QEvent::MouseButtonPress) {
    const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
    if (watched == screen_.Label1) {
      Label1MouseDown(at.x(), at.y());
      return true;
    }
    // "F3 :中止(Esc)" under the transfer view: the press only; the transfer
    // releases the key itself.
    if (watched == screen_.transferKeyLine) {
      const int x = at.x() + screen_.transferKeyLine->x();
      if (x >= 220 && x <= 340) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : screen_.RichEdit1;
        QApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, Qt::Key_F3, Qt::NoModifier));
      }
      return true;
    }
    if (watched == screen_.sortKeyLine) {
      SimulateKey(Qt::Key_Escape);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

// --- message line, prompt, return to idle ---------------------------------

void TForm1::showMessage(const std::string& text, const char* color) {
  setLabelColor(screen_.Label11, color);
  screen_.Label11->setText(q(text));
}

void TForm1::setStatusPanel(int index, const std::string& text) {
  if (index >= 0 && index < 7) screen_.statusPanels[index]->setText(q(text));
}

void TForm1::showSettingsPanels() {
  setStatusPanel(4, state_.settings.Speed);
  setStatusPanel(5, state_.settings.Port);
  setStatusPanel(6, state_.settings.Signal);
}

void TForm1::ShowCancelled() {
  showMessage(kCancelled, kRed);
  screen_.ListBox1->setEnabled(true);
  screen_.Edit1->setEnabled(false);
  PromptMode_ = PromptMode::None;
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
  screen_.LampDSR->setStyleSheet("color: red; background: #202020;");
  screen_.LampCTS->setText("CTS ○");
}

void TForm1::OpenPrompt(PromptMode mode, const std::string& message, const std::string& initial) {
  screen_.ListBox1->setEnabled(false);
  screen_.Edit1->setEnabled(true);
  screen_.Edit1->setText(q(initial));
  showMessage(message, kLime);
  PromptMode_ = mode;
  screen_.Edit1->setFocus();
}

void TForm1::closePrompt() {
  screen_.Edit1->clear();
  screen_.Edit1->setEnabled(false);
  PromptMode_ = PromptMode::None;
  screen_.ListBox1->setEnabled(true);
  screen_.ListBox1->setFocus();
}

bool TForm1::promptKey(QKeyEvent* k) {
  switch (k->key()) {
  case Qt::Key_Escape:
    screen_.Edit1->clear();
    ShowCancelled();
    screen_.ListBox1->setFocus();
    return true;
  case Qt::Key_F10: close(); return true;
  case Qt::Key_Return:
  case Qt::Key_Enter: {
    const std::string text = screen_.Edit1->text().toStdString();
    if (text.empty()) return true;
    auto handler = promptHandlers_.find(PromptMode_);
    if (handler != promptHandlers_.end() && handler->second) handler->second(text);
    return true;
  }
  case Qt::Key_Backspace: return false;
  default: break;
  }
  const QString typed = k->text();
  if (typed.isEmpty()) return false;
  const PromptRule rule = promptRule(PromptMode_, state_.settings.ALL_Files);
  for (QChar c : typed) {
    if (c.unicode() < 0x80 && rule.forbidden.find(static_cast<char>(c.unicode())) != std::string::npos) {
      dialogs_->show({"確認", rule.message, base::MessageButtons::Ok, base::MessageIcon::Error});
      return true;
    }
  }
  return false;
}

void TForm1::promptEdited(const QString& text) {
  const PromptRule rule = promptRule(PromptMode_, state_.settings.ALL_Files);
  if (!refusesEdit(rule, promptText_.toStdString(), text.toStdString())) return;
  const QString before = promptText_;
  qsizetype sameEnd = 0;
  while (sameEnd < before.size() && sameEnd < text.size() &&
         before[before.size() - 1 - sameEnd] == text[text.size() - 1 - sameEnd])
    ++sameEnd;
  screen_.Edit1->setText(before);
  screen_.Edit1->setCursorPosition(static_cast<int>(before.size() - sameEnd));
  dialogs_->show({"確認", rule.message, base::MessageButtons::Ok, base::MessageIcon::Error});
}

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

void TForm1::Label1MouseDown(int x, int y) {
  static const int bounds[5] = {144, 279, 414, 549, 745};
  int slot = 0;
  while (slot < 5 && x > bounds[slot])
    ++slot;
  if (slot >= 5) return;
  if (y <= 16) {
    SimulateKey(Qt::Key_F1 + slot);
  } else if (slot == 4) {
    close();
  } else {
    SimulateKey(Qt::Key_F6 + slot);
  }
}

// --- overlays -------------------------------------------------------------

void TForm1::showTransferPanel(const std::string& title, int x, int y, int width, const char* colour,
                               PanelParts parts) {
  QGroupBox* panel = screen_.GroupBox2;
  panel->setTitle(q(title));
  panel->setGeometry(x, y, width, 407 - y);
  panel->setStyleSheet(QString("QGroupBox { color: white; background: %1; }").arg(colour));
  int top = 18;
  screen_.remainingLine->setVisible(parts.remainingLine);
  if (parts.remainingLine) {
    screen_.remainingLine->setGeometry(6, top, width - 12, 16);
    top += 18;
  }
  const int listWidth = parts.list ? 150 : 0;
  const int viewHeight = panel->height() - top - 22;
  screen_.RichEdit1->setGeometry(6, top, width - 12 - listWidth - (parts.list ? 4 : 0), viewHeight);
  screen_.transferFiles->setVisible(parts.list);
  if (parts.list) screen_.transferFiles->setGeometry(width - 6 - listWidth, top, listWidth, viewHeight);
  screen_.transferKeyLine->setGeometry(6, panel->height() - 20, width - 12, 16);
  screen_.RichEdit1->clear();
  panel->show();
  panel->raise();
}

void TForm1::hideTransferPanel() {
  screen_.RichEdit1->clear();
  screen_.GroupBox2->hide();
}

// Shift+F8: the transfer log, read-only on teal; F3 or Esc closes it.
void TForm1::showTransferLog() {
  screen_.RichEdit1->setReadOnly(true);
  showTransferPanel("送受信ログ", 328, 100, 350, "teal");
  screen_.RichEdit1->setPlainText(q(serial::transferLogViewText(state_.files.logPath)));
  setStatusPanel(3, "送受信ログ");
  screen_.RichEdit1->setFocus();
}

bool TForm1::transferPanelKey(QKeyEvent* k) {
  if (k->key() != Qt::Key_F3 && k->key() != Qt::Key_Escape) return false;
  if (!screen_.GroupBox2->isVisible() || transferScreen_->transferRunning()) return false;
  hideTransferPanel();
  ShowCancelled();
  setStatusPanel(2, "");
  screen_.ListBox1->setFocus();
  return true;
}

void TForm1::openSortBox() {
  const base::SettingsRecord& s = state_.settings;
  screen_.sortCurrent->setText(q("現ソート設定: " + s.FileSort + " - " + s.SortMuki));
  screen_.sortEdit->setText(q(s.FileSort + "-" + s.SortMuki));
  screen_.ListBox1->setEnabled(false);
  screen_.GroupBox4->show();
  screen_.GroupBox4->raise();
  screen_.sortEdit->setFocus();
  screen_.sortEdit->selectAll();
}

bool TForm1::sortEditKey(QKeyEvent* k) {
  auto finish = [this] {
    screen_.GroupBox4->hide();
    screen_.ListBox1->setEnabled(true);
    screen_.ListBox1->setFocus();
  };
  switch (k->key()) {
  case Qt::Key_Escape:
    screen_.sortEdit->clear();
    finish();
    ShowCancelled();
    return true;
  case Qt::Key_Return:
  case Qt::Key_Enter: {
    const std::string text = screen_.sortEdit->text().toStdString();
    if (text.empty()) return true;
    if (std::optional<SortCode> code = parseSortCode(text)) {
      state_.settings.FileSort = code->fileSort;
      state_.settings.SortMuki = code->sortMuki;
      refreshFileList({.keepSelection = true, .resortOnly = true});
      finish();
      showSettingsPanels();
    } else {
      showMessage("ソート設定を確認ください!!", kRed);
    }
    return true;
  }
  case Qt::Key_Backspace:
  case Qt::Key_Left:
  case Qt::Key_Right:
  case Qt::Key_Delete: return false;
  default: break;
  }
  const QString typed = k->text();
  if (typed.size() != 1 || !QString("NST-UDnstud").contains(typed[0])) return true;
  if (screen_.sortEdit->text().size() >= 3 && !screen_.sortEdit->hasSelectedText()) return true;
  screen_.sortEdit->insert(typed.toUpper());
  return true;
}

// --- shutdown -------------------------------------------------------------

// A close request during a transfer stops it first, through its stop path
// (DC4 to the NC, its log entry); the window closes once it has ended.
void TForm1::closeEvent(QCloseEvent* event) {
  if (transferScreen_->transferRunning()) {
    event->ignore();
    closeAfterTransfer_ = true;
    transferScreen_->requestStop();
    return;
  }
  event->accept();
  if (closed_) return;
  FormCloseQuery();
  Q_EMIT closed();
}

int TForm1::exitCode() const {
  const RunState& run = state_.run;
  const int asked = (run.sendFileName.empty() ? 0 : 1) + (run.receivePath.empty() ? 0 : 1);
  if (unattendedEnded_ < asked) return std::max(exitCode_, static_cast<int>(serial::kExitStopped));
  return exitCode_;
}

void TForm1::transferEnded() {
  if (closeAfterTransfer_) QTimer::singleShot(0, this, &QWidget::close);
}

void TForm1::unattendedTransferEnded(int code) {
  ++unattendedEnded_;
  exitCode_ = std::max(exitCode_, code);
  if (code == 0 || !state_.run.ExitAfterTransfer) return;
  // Nothing more is started, and the program ends once the operator (or a
  // screenshot) could have seen why.
  state_.run.PendingReceive = "N";
  QTimer::singleShot(kIdleAfterStopMs, this, &QWidget::close);
}

// The close request is always granted: save (unless the run had arguments),
// then release every non-modem port once.
void TForm1::FormCloseQuery() {
  if (closed_) return;
  closed_ = true;
  state_.settings.Left = x();
  state_.settings.Top = y();
  saveAppState(state_);
  screenSaver_->setEnabled(true);
  serial::releasePorts(*ports_, state_.settings.ModemePort1, state_.settings.ModemePort2);
}

} // namespace kestrovan::core
