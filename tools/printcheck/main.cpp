// Prints a program file through the editor's print form, to a named
// printer of the system's print service, without the print dialog: all
// pages, a range of pages or some lines as the selection. Used by
// scripts/print-check against a real CUPS queue.
//
//   kestrovan-print-check PRINTER FILE TITLE all
//   kestrovan-print-check PRINTER FILE TITLE pages FROM TO
//   kestrovan-print-check PRINTER FILE TITLE selection FIRST-LINE LINES
//
// The text is shown in a 16-pixel font (64 lines a page). Prints the title of
// each job it hands to the printer, one a line.

#include "editor/FileViewText.h"
#include "editor/ui/PrintForm.h"
#include "serial/ProgramFile.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextBlock>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

using namespace kestrovan;

class QueuePrintForm : public editor::TPrintForm {
public:
  QueuePrintForm(QString printer, editor::PrintChoice choice)
      : TPrintForm(nullptr), printer_(std::move(printer)), choice_(choice) {}

protected:
  std::optional<editor::PrintChoice> askPrintDialog(QPrinter&, int pageCount, bool) override {
    std::printf("pages offered: 1-%d\n", pageCount);
    return choice_;
  }
  void prepareJob(QPrinter& printer, const QString& title) override {
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setPrinterName(printer_);
    std::printf("job: %s\n", title.toStdString().c_str());
    std::fflush(stdout);
  }

private:
  QString printer_;
  editor::PrintChoice choice_;
};

int usage() {
  std::fprintf(
      stderr,
      "usage: kestrovan-print-check PRINTER FILE TITLE all | pages FROM TO | selection FIRST LINES\n");
  return 2;
}

// A positive number from the command line; 0 for anything else.
int positive(const char* text) {
  int value = 0;
  const char* end = text + std::strlen(text);
  const auto [at, error] = std::from_chars(text, end, value);
  return error == std::errc() && at == end && value > 0 ? value : 0;
}

} // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc < 5) return usage();
  const QString printer = QString::fromLocal8Bit(argv[1]);
  if (!QPrinterInfo::availablePrinterNames().contains(printer)) {
    std::fprintf(stderr, "kestrovan-print-check: no printer %s\n", argv[1]);
    return 1;
  }
  const serial::ProgramFile program = serial::loadProgramFile(argv[2], {});
  if (!program.opened) {
    std::fprintf(stderr, "kestrovan-print-check: cannot read %s\n", argv[2]);
    return 1;
  }
  QPlainTextEdit editor;
  QFont font("IPAGothic");
  font.setPixelSize(16);
  editor.setFont(font);
  editor.setPlainText(QString::fromStdString(editor::fileViewText(program.text)));

  const std::string mode = argv[4];
  editor::PrintChoice choice;
  const int first = argc >= 7 ? positive(argv[5]) : 0;
  const int second = argc >= 7 ? positive(argv[6]) : 0;
  if ((mode == "pages" || mode == "selection") && (first == 0 || second == 0)) return usage();
  if (mode == "pages") {
    choice = {editor::PrintChoice::Range::Pages, first, second};
  } else if (mode == "selection") {
    choice = {editor::PrintChoice::Range::Selection, 1, 1};
    QTextCursor cursor(editor.document()->findBlockByNumber(first - 1));
    cursor.movePosition(QTextCursor::Down, QTextCursor::KeepAnchor, second - 1);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    editor.setTextCursor(cursor);
  } else if (mode != "all") {
    return usage();
  }
  QueuePrintForm form(printer, choice);
  form.print(editor, argv[3]);
  return 0;
}
