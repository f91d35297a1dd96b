#pragma once
// TForm1, the main window: a fixed 728 x 518 black screen driven from the
// keyboard. It owns the run's state (settings, command table, run flags, the
// file list), performs start-up (creation, first display, first idle moment)
// and shutdown, and dispatches every key pressed in the file list through the
// key table. Operations plug into the dispatcher with setCommandHandler().

#include "core/AppState.h"
#include "core/KeyTable.h"
#include "core/MainScreen.h"
#include "core/ScreenRules.h"
#include "files/FileList.h"

#include <QRect>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>

class QTimer;

namespace kestrovan::base {
class Dialogs;
}
namespace kestrovan::serial {
class PortOpener;
class RunPorts;
} // namespace kestrovan::serial
namespace kestrovan::platform {
class PowerOff;
}

namespace kestrovan::core {

class QtTransferScreen;
class ReceiveCommand;
class SendCommand;
class ScreenSaverControl;
class CommPanel;
class TOptionForm;

struct StartupInputs {
  ProgramFiles files;
  std::string homeFolder;
  std::vector<std::string> args; // the command-line arguments, program name excluded
};

// Which parts of the transfer panel show besides its view.
struct TransferPanelParts {
  bool remainingLine = false; // the remaining-data line above the view
  bool list = false;          // the list of program headers or marked files beside it
};

class TForm1 : public QWidget {
  Q_OBJECT
public:
  using CommandHandler = std::function<void(bool shift)>;
  using PromptHandler = std::function<void(const std::string& text)>;

  // dialogs and ports may be null: then real message boxes and real devices.
  TForm1(StartupInputs inputs, base::Dialogs* dialogs = nullptr, serial::PortOpener* ports = nullptr);
  ~TForm1() override;

  AppState& state() { return state_; }
  const AppState& state() const { return state_; }
  files::FileList& fileList() { return *fileList_; }
  const MainScreen& screen() const { return screen_; }
  base::Dialogs& dialogs() { return *dialogs_; }
  bool firstIdleDone() const { return firstIdleDone_; }
  int listColumns() const;

  // --- the dispatcher
  void setCommandHandler(Command command, CommandHandler handler);
  void ListBox1KeyDown(Key key, bool shift);
  void ListBox1KeyUp(bool shiftHeld);

  // --- main-screen helpers every operation uses
  void ReturnToIdle(int delayMs);
  void ShowCancelled();
  void OpenPrompt(PromptMode mode, const std::string& message, const std::string& initial = {});
  void closePrompt();
  PromptMode promptMode() const { return PromptMode_; }
  void setPromptHandler(PromptMode mode, PromptHandler handler);
  void RecordWindowRect();
  QRect recordedWindowRect() const { return recordedRect_; }
  void SimulateKey(int qtKey);
  void showMessage(const std::string& text, const char* color);
  void setStatusPanel(int index, const std::string& text);
  void showSettingsPanels(); // Speed, Port and Signal in panels 4 to 6
  void refreshFileList(files::RefreshFlags flags = {});
  files::ListOptions listOptions() const;
  // Lays the list out for ListColumn (correcting it), as at first display.
  void layOutList();

  // The transfer panel: title, place (x, y, width; it reaches down to the
  // message line), background colour, and which of its parts show: the
  // remaining-data line above the view, the list of program headers or
  // marked files beside it. The view is emptied.
  using PanelParts = TransferPanelParts;
  void showTransferPanel(const std::string& title, int x, int y, int width, const char* colour,
                         PanelParts parts = {});
  void hideTransferPanel();
  QtTransferScreen& transferScreen() { return *transferScreen_; }
  serial::PortOpener& ports();
  ScreenSaverControl& screenSaver() { return *screenSaver_; }
  platform::PowerOff& powerOff() { return *powerOff_; }
  // Tests replace the computer's power-off with their own.
  void setPowerOff(platform::PowerOff* powerOff) { powerOff_ = powerOff; }

  // --- the end of the run
  // A transfer has ended: a close request that came meanwhile is carried out.
  void transferEnded();
  // An unattended transfer has ended with `code` (serial::ExitCode); the
  // worst one is the run's exit code. With END on the command line, a
  // transfer that did not complete closes the program too, once its message
  // has shown.
  void unattendedTransferEnded(int code);
  // The run's exit code: a transfer the command line asked for that never
  // ended (the program was closed first) counts as stopped.
  int exitCode() const;

  // Main-screen state.
  bool ExitAfterTransfer = false;
  bool MultiFileMode = false;
  std::string RefreshOnReset = "N";
  int MarkAnchor = -1;
  bool AltListShown = false;

  // The function-key lines' mouse equivalents (coordinates inside Label1).
  void Label1MouseDown(int x, int y);

Q_SIGNALS:
  // The close request was granted and the settings are saved: the run is over.
  void closed();

protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void FormCreate(const StartupInputs& inputs);
  void FormShow();
  void FirstIdle();
  void FormCloseQuery();
  void Timer1Timer();
  void registerBuiltInCommands();
  bool conditionHolds(Condition condition, bool shift) const;
  void showFunctionKeys(bool shift);
  void commonKeySteps(bool shift);
  void selectAndShow(int row);
  void pageKey(bool down);
  void activateSelected();
  void openSortBox();
  bool sortEditKey(QKeyEvent* event);
  bool promptKey(QKeyEvent* event);
  void promptEdited(const QString& text);
  bool transferPanelKey(QKeyEvent* event);
  void showTransferLog();

  AppState state_;
  std::unique_ptr<base::Dialogs> ownDialogs_;
  base::Dialogs* dialogs_;
  std::unique_ptr<serial::PortOpener> ownPorts_; // the devices, unless a test brings its own
  std::unique_ptr<serial::RunPorts> ports_;      // what this run opened, released at close
  std::unique_ptr<CommPanel> commPanel_;         // F7
  std::unique_ptr<TOptionForm> optionForm_;      // O
  MainScreen screen_;
  std::unique_ptr<files::FileListView> listView_;
  std::unique_ptr<files::FileList> fileList_;
  std::unique_ptr<ScreenSaverControl> screenSaver_;
  std::unique_ptr<QtTransferScreen> transferScreen_;
  std::unique_ptr<ReceiveCommand> receiveCommand_;
  std::unique_ptr<SendCommand> sendCommand_;
  std::unique_ptr<platform::PowerOff> systemPowerOff_;
  platform::PowerOff* powerOff_;
  QTimer* Timer1;
  std::map<Command, CommandHandler> handlers_;
  std::map<PromptMode, PromptHandler> promptHandlers_;
  PromptMode PromptMode_ = PromptMode::None;
  QString promptText_; // the prompt line's text before the edit in progress
  QRect recordedRect_;
  bool shown_ = false;
  bool firstIdleDone_ = false;
  bool closed_ = false;
  bool closeAfterTransfer_ = false;
  int exitCode_ = 0;
  int unattendedEnded_ = 0; // unattended transfers that have ended, or could not start
};

} // namespace kestrovan::core
