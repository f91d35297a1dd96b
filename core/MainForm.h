#pragma once
// TForm1, the main window: a fixed 728 x 518 black screen driven from the
// keyboard. It owns the run's state (settings, command table, run flags) and
// performs start-up (creation, first display, first idle moment) and shutdown.

#include "core/AppState.h"

#include <QWidget>

#include <array>
#include <memory>

class QLabel;
class QListWidget;

namespace kestrovan::serial {
class PortOpener;
}

namespace kestrovan::core {

class Dialogs;

struct StartupInputs {
  ProgramFiles files;
  std::string homeFolder;
  std::vector<std::string> args; // the command-line arguments, program name excluded
};

class TForm1 : public QWidget {
  Q_OBJECT
public:
  // dialogs and ports may be null: then real message boxes and real devices.
  TForm1(StartupInputs inputs, Dialogs* dialogs = nullptr, serial::PortOpener* ports = nullptr);
  ~TForm1() override;

  AppState& state() { return state_; }
  const AppState& state() const { return state_; }
  int listColumns() const { return listColumns_; }
  bool firstIdleDone() const { return firstIdleDone_; }

  // The key dispatcher of the file list.
  void ListBox1KeyDown(int key, Qt::KeyboardModifiers modifiers);

protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void FormCreate(const StartupInputs& inputs);
  void FormShow();
  void FirstIdle();
  void FormCloseQuery();
  void buildScreen();
  void setStatusPanel(int index, const QString& text);

  AppState state_;
  std::unique_ptr<Dialogs> ownDialogs_;
  Dialogs* dialogs_;
  std::unique_ptr<serial::PortOpener> ownPorts_;
  serial::PortOpener* ports_;

  QLabel* Label4 = nullptr;  // banner
  QLabel* Label7 = nullptr;  // header line
  QLabel* Label8 = nullptr;  // info line
  QListWidget* ListBox1 = nullptr;
  QWidget* StatusBar2 = nullptr;
  std::array<QLabel*, 7> statusPanels_{};

  int listColumns_ = 2;
  bool shown_ = false;
  bool firstIdleDone_ = false;
  bool closed_ = false;
};

} // namespace kestrovan::core
