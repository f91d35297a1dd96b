#pragma once
// What an operation may do with the main window. Every operation (a transfer,
// a settings window, a file operation, a tool, the editor) is given this and
// nothing else of the window: it registers the commands it answers, and uses
// the regions of the main screen through these calls. The main window
// (core/MainForm, TForm1) implements it; the composition root (app/) builds
// the operations and hands it to them. See docs/ARCHITECTURE.md.

#include "host/Commands.h"
#include "host/PromptMode.h"

#include <functional>
#include <string>

class QLabel;
class QListWidget;
class QPoint;
class QPlainTextEdit;
class QRect;
class QWidget;

namespace kestrovan::base {
class Dialogs;
struct RunState;
struct SettingsRecord;
} // namespace kestrovan::base

namespace kestrovan::external {
struct CommandTable;
} // namespace kestrovan::external

namespace kestrovan::files {
class FileList;
struct RefreshFlags;
} // namespace kestrovan::files

namespace kestrovan::host {

enum class MessageColour { Lime, Red };

// Which parts of the transfer panel show besides its view.
struct TransferPanelParts {
  bool remainingLine = false; // the remaining-data line above the view
  bool list = false;          // the list of program headers or marked files beside it
};

// Alt in the file list belongs to the external commands. Alt with a letter
// never runs the letter's command.
struct AltKeys {
  std::function<void()> altDown;              // the Alt key went down in the list
  std::function<void(char letter)> altLetter; // Alt+A ... Alt+Z ('A'..'Z'), not repeated while held
  std::function<void()> keyUp;                // a key was released in the list
};

// An operation that runs for a while on the user-interface thread (a
// transfer, a long copy). A close request that comes meanwhile asks it to
// stop; the window closes once it has ended (Host::endBusy). False when it
// will not end: the operator chose to go on (the editor's Cancel), and the
// close request is forgotten.
class BusyOperation {
public:
  virtual ~BusyOperation() = default;
  virtual bool requestStop() = 0;
};

class Host {
public:
  using CommandHandler = std::function<void(bool shift)>;
  using PromptHandler = std::function<void(const std::string& text)>;

  virtual ~Host() = default;

  // --- what the run has
  virtual base::SettingsRecord& settings() = 0;
  virtual base::RunState& run() = 0;
  virtual base::Dialogs& dialogs() = 0;
  virtual const std::string& programFolder() const = 0; // settings, tables, history lists, log
  virtual const std::string& transferLogPath() const = 0;
  virtual QWidget* window() = 0; // the owner of an operation's own widgets and dialogs
  // The programs bound to Alt+A ... Alt+Z; edits are saved at close.
  virtual external::CommandTable& commandTable() = 0;

  // --- keys and moments
  virtual void setCommandHandler(Command command, CommandHandler handler) = 0;
  virtual void setPromptHandler(PromptMode mode, PromptHandler handler) = 0;
  // Runs at the first idle moment, after the list is filled, in the order of
  // registration (the command line's send before its reception).
  virtual void atFirstIdle(std::function<void()> step) = 0;
  virtual void setAltKeys(AltKeys keys) = 0;

  // --- message line, prompt line, status line, lamps
  virtual void showMessage(const std::string& text, MessageColour colour) = 0;
  virtual void OpenPrompt(PromptMode mode, const std::string& message, const std::string& initial = {}) = 0;
  // Empties and disables the prompt line and gives the list back its focus.
  virtual void closePrompt() = 0;
  // Empties the prompt line and disables it, the list left as it is.
  virtual void clearPromptLine() = 0;
  virtual void setPromptLineEnabled(bool enabled) = 0;
  virtual void setStatusPanel(int index, const std::string& text) = 0;
  virtual void showSettingsPanels() = 0; // Speed, Port and Signal in panels 4 to 6
  // The bar inside status panel 1.
  virtual void setProgress(int value, int maximum) = 0;
  // DSR: blue when on, red when off. CTS: " ●" when on, " ○" when off.
  virtual void setDsrLamp(bool on) = 0;
  virtual void setCtsLamp(bool on) = 0;
  // Both lamps "?": the port cannot know its modem lines.
  virtual void setModemLampsUnknown() = 0;
  virtual void showFunctionKeys(bool shift) = 0;

  // --- the transfer panel: title, place (x, y, width; it reaches down to
  // the message line), background colour and parts; the view is emptied.
  virtual void showTransferPanel(const std::string& title, int x, int y, int width, const char* colour,
                                 TransferPanelParts parts = {}) = 0;
  virtual void hideTransferPanel() = 0;
  virtual QPlainTextEdit* transferView() = 0;
  virtual QListWidget* transferList() = 0;
  virtual QLabel* remainingLine() = 0;

  // --- the file list
  virtual files::FileList& fileList() = 0;
  virtual int selectedRow() const = 0;
  virtual void selectRow(int row) = 0;
  // The list widget, for operations that take drags and drops on it, and
  // the row under a point of it (-1 for none).
  virtual QWidget* listWidget() = 0;
  virtual int listRowAt(const QPoint& point) const = 0;
  // The drag line below the prompt line (Label3).
  virtual void setDragLine(const std::string& text) = 0;
  virtual void refreshFileList(const files::RefreshFlags& flags) = 0;
  virtual void setListEnabled(bool enabled) = 0;
  virtual void focusList() = 0;
  // Lays the list out for ListColumn again (correcting it).
  virtual void layOutList() = 0;

  // --- back to idle
  virtual void ReturnToIdle(int delayMs) = 0;
  virtual void ShowCancelled() = 0;
  // The next return to idle refreshes the list (RefreshOnReset "Y").
  virtual void refreshOnReset() = 0;
  virtual void RecordWindowRect() = 0;
  virtual QRect recordedWindowRect() const = 0;
  virtual void SimulateKey(int qtKey) = 0;
  virtual void setScreenSaverEnabled(bool enabled) = 0;

  // --- busy operations and the end of the run
  virtual void beginBusy(BusyOperation& operation) = 0;
  virtual void endBusy() = 0;
  virtual bool busy() const = 0;
  // Closes the window as its close box would, once the current event is done.
  virtual void closeWindow() = 0;
  // An unattended transfer has ended with `code` (serial::ExitCode); the
  // worst one is the run's exit code. With END on the command line, one
  // that did not complete closes the program too, once its message has shown.
  virtual void unattendedTransferEnded(int code) = 0;
};

} // namespace kestrovan::host
