#pragma once
// TPrintForm: prints the editor's text (all pages as one job, each page of a
// range as its own job, the selection through the clipboard), shows Qt's
// print preview, and opens the printer setup.

#include <QFont>

#include <memory>
#include <optional>
#include <string>

class QPaintDevice;
class QPlainTextEdit;
class QPrinter;
class QString;
class QWidget;

namespace kestrovan::base {
class Dialogs;
}

namespace kestrovan::editor {

// The message when a job cannot be handed to the printer, and its caption.
inline constexpr const char* kCannotPrint = "プリンタ %1 に印刷できません。";
inline constexpr const char* kPrintCaption = "印刷";

// What the print dialog was answered.
struct PrintChoice {
  enum class Range { All, Pages, Selection };
  Range range = Range::All;
  int from = 1; // Pages: from `from` to `to`, both counted from 1
  int to = 1;
};

class TPrintForm {
public:
  explicit TPrintForm(QWidget* parent);
  // With the program's message boxes (the host's) for a job that cannot be
  // printed; without them plain Qt boxes tell it.
  TPrintForm(QWidget* parent, base::Dialogs& dialogs);
  virtual ~TPrintForm();

  // The print dialog, then the jobs. `fileName` titles them ("new" for a
  // document never saved).
  void print(QPlainTextEdit& editor, const std::string& fileName);
  // Qt's preview of the whole text as it would print.
  void preview(QPlainTextEdit& editor, const std::string& fileName);
  // ToolButton15: the page and printer setup.
  void printerSetup();

  // The printer the setup chose; it lives as long as the form.
  QPrinter& printer() { return *printer_; }

protected:
  // Qt's print dialog preset to the pages 1 to `pageCount`, offering the
  // selection when there is one; nothing when it was cancelled.
  virtual std::optional<PrintChoice> askPrintDialog(QPrinter& printer, int pageCount, bool hasSelection);
  // A job titled `title` (already the printer's document name) is about to
  // be printed; tests send each job to a PDF file of its own here.
  virtual void prepareJob(QPrinter& printer, const QString& title);

private:
  // False, after telling the operator, when the printer would not start.
  bool printJob(const QString& text, const QFont& font, const QString& title);

  QWidget* parent_;
  base::Dialogs* dialogs_ = nullptr;
  int linesPerSheet_ = 0; // L of the text being printed
  std::unique_ptr<QPrinter> printer_;
};

// Lays `text` out in `font` over the printable area of `printer`'s pages
// (lines from the top, a new sheet whenever one is full, long lines wrapped,
// nothing added) and paints it. With `linesPerSheet` (the editor's L), every
// line is a sheet's height / L high and the font made smaller where it would
// not fit, so that a page of L lines is one sheet. False when the printer
// could not be started.
bool renderPlainText(QPrinter& printer, const QString& text, const QFont& font, int linesPerSheet = 0);

// The font and the line height (in the device's units; 0: the font's own)
// for `linesPerSheet` lines on a sheet `sheetHeight` high.
struct SheetLines {
  QFont font;
  qreal lineHeight = 0;
};
SheetLines sheetLines(const QFont& font, QPaintDevice& device, qreal sheetHeight, int linesPerSheet);

// The font as the printer sizes it: a font given in pixels is turned into
// points at `screenDpi`, so that it prints as large as it shows.
QFont printFont(const QFont& screenFont, int screenDpi);

} // namespace kestrovan::editor
