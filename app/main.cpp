// Kestrovan: moves NC part programs between the PC and a CNC controller over
// an RS-232C line and keeps the folder of programs in order.

#include "app/MainWindow.h"
#include "app/TerminationSignals.h"
#include "app/Translations.h"
#include "app/Usage.h"
#include "core/CommandLine.h"
#include "core/CommandLineInterpreter.h"
#include "core/ui/QtDialogs.h"
#include "core/UnattendedDialogs.h"
#include "files/Leftovers.h"
#include "platform/InstanceLock.h"
#include "platform/Paths.h"
#include "platform/ProgramFolder.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <thread>
#include <vector>

int main(int argc, char* argv[]) {
  using namespace kestrovan;
  const std::int64_t runStart = static_cast<std::int64_t>(std::time(nullptr));

  // The two options every command-line program answers; any other item keeps
  // its meaning for an unattended transfer.
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(app::usageText(platform::baseNameOf(argv[0])).c_str(), stdout);
    return 0;
  }
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::fputs(app::versionText().c_str(), stdout);
    return 0;
  }

  // Without a display Qt would abort with a page about its plugins; a script
  // or an operator at a text console gets one line and a status of its own.
  if (!app::hasDisplay()) {
    std::fputs(app::kNoDisplayLine, stderr);
    return app::kExitNoDisplay;
  }

  // SIGTERM, SIGINT and SIGHUP are close requests: settings are saved as when
  // the window's close box is clicked. Caught from the start, so that a signal
  // that comes early still closes the program the orderly way.
  app::TerminationSignals termination;

  // One instance per executable name; a second one ends at once, silently.
  const platform::ExecutableInfo exe = platform::currentExecutable(argc > 0 ? argv[0] : nullptr);
  platform::InstanceLock lock = platform::InstanceLock::acquire(platform::instanceLockFolder(),
                                                                platform::instanceLockFileName(exe.fileName));
  if (lock.outcome() == platform::InstanceLock::Outcome::HeldByAnother) return 0;

  // Every item is the program's: Qt gets only the program name, so that an
  // item such as "-platform" or "-style" is never taken for one of its
  // options (those have environment variables, QT_QPA_PLATFORM and the like).
  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  int qtArgc = argc > 0 ? 1 : 0;
  char* qtArgv[] = {argc > 0 ? argv[0] : nullptr, nullptr};
  QApplication app(qtArgc, qtArgv);
  // The application's name only: a display name would be appended by Qt to
  // every window title on X11 and Wayland (" — Kestrovan"), so that neither
  // the main caption nor a box title would read as the program's own.
  QApplication::setApplicationName("Kestrovan");
  // The icon and the desktop entry the package installs: window managers and
  // task bars show the icon, Wayland compositors find the entry by its name.
  QApplication::setWindowIcon(QIcon::fromTheme("org.kestrovan.Kestrovan"));
  QGuiApplication::setDesktopFileName("org.kestrovan.Kestrovan");
  app::installQtTranslations(app);

  // One close request ends the program, whatever is on screen: the boxes
  // start-up may still show (an unattended run whose send file is missing,
  // a missing folder, a port that will not open) are closed and answered at
  // once, a transfer stops through its stop path, and the window closes as
  // soon as it exists.
  core::QtDialogs dialogs;
  // A transfer with END has nobody at the screen: its boxes go to standard
  // error, answered at once, whichever item brings them up.
  core::UnattendedDialogs unattendedDialogs;
  core::RealItemFileSystem itemFiles;
  const bool unattended = core::isUnattendedRun(
      core::cutCommandLine(args, [](const std::string& p) { return platform::pathExists(p); }), itemFiles);
  core::TForm1* formPtr = nullptr;
  bool closeRequested = false;
  termination.deliverTo([&] {
    closeRequested = true;
    dialogs.dismissAll();
    for (int open = 0; open < 8; ++open) {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal) break;
      modal->close();
    }
    if (formPtr) formPtr->close();
  });

  const std::string folder = platform::programFolder(exe);
  app::MainWindow window(
      {core::ProgramFiles::in(folder, exe.baseName()), platform::homeFolder(), args},
      {.dialogs = unattended ? static_cast<base::Dialogs*>(&unattendedDialogs) : &dialogs});
  core::TForm1& form = window.form();
  formPtr = &form;
  // What killed runs left half written goes, on a thread of its own: a
  // destination on a network share that no longer answers must not keep the
  // window from coming up.
  std::thread([folders = files::foldersWrittenTo(folder, form.state().settings.DirPath), runStart] {
    files::removeLeftovers(folders, runStart);
  }).detach();
  dialogs.setOwner(&form);
  // The run ends when the window has closed, even from inside a box or a
  // transfer's wait; the exit code says how an unattended transfer went.
  QObject::connect(&form, &core::TForm1::closed, &app, [&form] { QCoreApplication::exit(form.exitCode()); });
  if (closeRequested) QTimer::singleShot(0, &form, &QWidget::close);
  form.show();
  return app.exec();
}
