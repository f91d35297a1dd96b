#pragma once
// TForm1, the main window: a fixed 728 x 518 black screen driven from the
// keyboard. It is the host that operations plug into (host/Host.h): it owns
// the run's state (settings, command table, run flags, the file list), the
// regions of the screen, the prompt line and the return to idle, performs
// start-up (creation, first display, first idle moment) and shutdown, and
// dispatches every key pressed in the file list through the key table to the
// handler an operation registered. It holds no operation itself; app/ builds
// them and plugs them in.

#include "core/AppState.h"
#include "core/KeyTable.h"
#include "core/RunEnd.h"
#include "core/ScreenRules.h"
#include "core/ui/MainScreen.h"
#include "files/FileList.h"
#include "host/Host.h"

#include <QRect>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class QTimer;

namespace kestrovan::serial {
class PortOpener;
class RunPorts;
} // namespace kestrovan::serial

namespace kestrovan::core {

class ListCommands;
class MainListView;
class PromptLine;
class TransferPanel;
class ScreenSaverControl;

struct StartupInputs {
  ProgramFiles files;
  std::string homeFolder;
  std::vector<std::string> args; // the command-line arguments, program name excluded
};

class TForm1 : public QWidget, public host::Host {
  Q_OBJECT
public:
  // dialogs and ports may be null: then real message boxes and real devices.
  TForm1(StartupInputs inputs, base::Dialogs* dialogs = nullptr, serial::PortOpener* ports = nullptr);
  ~TForm1() override;

  AppState& state() { return state_; }
  const AppState& state() const { return state_; }
  const MainScreen& screen() const { return screen_; }
  // The ports of this run, for the operations that open them; what they
  // open is released at close.
  serial::PortOpener& ports();
  bool firstIdleDone() const { return firstIdleDone_; }
  int listColumns() const;
  int exitCode() const;

  // --- host::Host
  base::SettingsRecord& settings() override { return state_.settings; }
  base::RunState& run() override { return state_.run; }
  base::Dialogs& dialogs() override { return *dialogs_; }
  const std::string& programFolder() const override { return state_.files.folder; }
  const std::string& transferLogPath() const override { return state_.files.logPath; }
  QWidget* window() override { return this; }
  external::CommandTable& commandTable() override { return state_.commands; }
  void setCommandHandler(Command command, CommandHandler handler) override;
  void setPromptHandler(PromptMode mode, PromptHandler handler) override;
  void atFirstIdle(std::function<void()> step) override;
  void setAltKeys(host::AltKeys keys) override { altKeys_ = std::move(keys); }
  void showMessage(const std::string& text, host::MessageColour colour) override;
  void OpenPrompt(PromptMode mode, const std::string& message, const std::string& initial = {}) override;
  void closePrompt() override;
  void clearPromptLine() override;
  void setPromptLineEnabled(bool enabled) override;
  void setStatusPanel(int index, const std::string& text) override;
  void showSettingsPanels() override;
  void setProgress(int value, int maximum) override;
  void setDsrLamp(bool on) override;
  void setCtsLamp(bool on) override;
  void setModemLampsUnknown() override;
  void showFunctionKeys(bool shift) override;
  void showTransferPanel(const std::string& title, int x, int y, int width, const char* colour,
                         host::TransferPanelParts parts = {}) override;
  void hideTransferPanel() override;
  QPlainTextEdit* transferView() override;
  QListWidget* transferList() override;
  QLabel* remainingLine() override;
  files::FileList& fileList() override { return *fileList_; }
  int selectedRow() const override;
  void selectRow(int row) override;
  QWidget* listWidget() override;
  int listRowAt(const QPoint& point) const override;
  void setDragLine(const std::string& text) override;
  void refreshFileList(const files::RefreshFlags& flags) override;
  void refreshFileList() { refreshFileList(files::RefreshFlags{}); }
  void setListEnabled(bool enabled) override;
  void focusList() override;
  void layOutList() override;
  void ReturnToIdle(int delayMs) override;
  void ShowCancelled() override;
  void refreshOnReset() override { RefreshOnReset = "Y"; }
  void RecordWindowRect() override;
  QRect recordedWindowRect() const override { return recordedRect_; }
  void SimulateKey(int qtKey) override;
  void setScreenSaverEnabled(bool enabled) override;
  void beginBusy(host::BusyOperation& operation) override;
  void endBusy() override;
  bool busy() const override { return busy_ != nullptr; }
  void closeWindow() override;
  void unattendedTransferEnded(int code) override;

  // The message line in one of the screen's colours (kLime, kRed).
  void showMessage(const std::string& text, const char* color);
  files::ListOptions listOptions() const;

  // --- the dispatcher
  void ListBox1KeyDown(Key key, bool shift);
  void ListBox1KeyUp(bool shiftHeld);
  // The function-key lines' mouse equivalents (coordinates inside Label1).
  void Label1MouseDown(int x, int y);

  std::string RefreshOnReset = "N";

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
  void registerListCommands();
  void commonKeySteps(bool shift);
  bool listKey(QKeyEvent* event);
  bool transferPanelKey(QKeyEvent* event);

  AppState state_;
  std::unique_ptr<base::Dialogs> ownDialogs_;
  base::Dialogs* dialogs_;
  std::unique_ptr<serial::PortOpener> ownPorts_;
  std::unique_ptr<serial::RunPorts> ports_;
  MainScreen screen_;
  std::unique_ptr<MainListView> listView_;
  std::unique_ptr<files::FileList> fileList_;
  std::unique_ptr<ListCommands> listCommands_;
  std::unique_ptr<TransferPanel> transferPanel_;
  std::unique_ptr<PromptLine> prompt_;
  std::unique_ptr<ScreenSaverControl> screenSaver_;
  QTimer* Timer1;
  std::map<Command, CommandHandler> handlers_;
  std::vector<std::function<void()>> firstIdleSteps_;
  host::AltKeys altKeys_;
  host::BusyOperation* busy_ = nullptr;
  QRect recordedRect_;
  bool shown_ = false;
  bool firstIdleDone_ = false;
  bool closed_ = false;
  bool closeAfterBusy_ = false;
  RunEnd runEnd_;
};

} // namespace kestrovan::core
