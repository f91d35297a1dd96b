// Times CopyOrMoveFiles on the real main window (offscreen): the program's
// own copy or move of the given entries into a folder, with its progress
// dialog and completion box, as the copy/move dialog runs it.
//   kestrovan-copy-bench copy|move DESTINATION SOURCE...
// Prints the seconds the operation took.

#include "app/MainWindow.h"
#include "base/Dialogs.h"
#include "files/ui/FileOperations.h"
#include "serial/PortProbe.h"

#include <QApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Every box is answered as its OK button would; none is expected but the
// completion box.
struct AnswerOk : kestrovan::base::Dialogs {
  int shown = 0;
  kestrovan::base::MessageAnswer show(const kestrovan::base::Message& m) override {
    ++shown;
    if (m.title != "完了") std::fprintf(stderr, "box: %s\n", m.text.c_str());
    return kestrovan::base::MessageAnswer::Ok;
  }
};

} // namespace

int main(int argc, char** argv) {
  using namespace kestrovan;
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s copy|move DESTINATION SOURCE...\n", argv[0]);
    return 2;
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  const char* home = std::getenv("KESTROVAN_HOME");
  const std::string folder = home ? home : "/tmp";
  AnswerOk dialogs;
  app::MainWindow window(core::StartupInputs{core::ProgramFiles::in(folder, "kestrovan"), folder, {}},
                         app::Seams{&dialogs});
  const files::TransferMode mode =
      std::string(argv[1]) == "move" ? files::TransferMode::Move : files::TransferMode::Copy;
  std::vector<std::string> sources(argv + 3, argv + argc);
  const auto start = std::chrono::steady_clock::now();
  const files::CopyMoveEnd end =
      window.operation<files::FileOperations>()->copyMove().CopyOrMoveFiles(sources, argv[2], mode);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  std::printf("%.3f\n", took.count());
  return end == files::CopyMoveEnd::Done ? 0 : 1;
}
