#include "editor/ui/PrintForm.h"

#include "editor/PrintPages.h"

#include "base/Dialogs.h"

#include <algorithm>
#include <cmath>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QLayout>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolBar>

Q_GUI_EXPORT int qt_defaultDpiY();

namespace kestrovan::editor {

namespace {

// A sheet is never printed to its very edge: without margins of the
// printer's own (a PDF file), 10 mm all round.
void ensureMargins(QPrinter& printer) {
  const QMarginsF m = printer.pageLayout().margins(QPageLayout::Millimeter);
  if (m.left() <= 0 && m.top() <= 0 && m.right() <= 0 && m.bottom() <= 0)
    printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
}

// Lines of the text as the editor counts them: a line break at the very end
// begins no further line.
std::size_t lineCount(const QTextDocument& document) {
  const int blocks = document.blockCount();
  if (blocks > 1 && document.lastBlock().length() <= 1) return static_cast<std::size_t>(blocks - 1);
  return static_cast<std::size_t>(blocks);
}

QString linesOf(const QTextDocument& document, PageLines lines) {
  QString text;
  QTextBlock block = document.findBlockByNumber(static_cast<int>(lines.first));
  for (std::size_t i = 0; i < lines.count && block.isValid(); ++i, block = block.next()) {
    if (i > 0) text += '\n';
    text += block.text();
  }
  return text;
}

// "out.pdf" for page 2 of a range: "out[2].pdf".
QString jobFileName(const QString& file, int page) {
  const int slash = static_cast<int>(file.lastIndexOf('/'));
  const int dot = static_cast<int>(file.lastIndexOf('.'));
  const int at = dot > slash ? dot : static_cast<int>(file.size());
  return file.left(at) + QString("[%1]").arg(page) + file.mid(at);
}

int fontHeightPixels(const QPlainTextEdit& editor) { return QFontInfo(editor.font()).pixelSize(); }

} // namespace

SheetLines sheetLines(const QFont& font, QPaintDevice& device, qreal sheetHeight, int linesPerSheet) {
  if (linesPerSheet <= 0 || sheetHeight <= 0) return {font, 0};
  // A little under the sheet's share, so that rounding in the layout never
  // pushes the last line onto a sheet of its own.
  const qreal lineHeight = (sheetHeight - 1) / linesPerSheet * 0.999;
  if (lineHeight <= 0) return {font, 0};
  QFont fitted = font;
  // A font taller than its line is made smaller, never larger.
  for (int i = 0; i < 64 && QFontMetricsF(fitted, &device).height() > lineHeight; ++i) {
    const qreal size = fitted.pointSizeF() > 0 ? fitted.pointSizeF() : QFontInfo(fitted).pointSizeF();
    const qreal scale = std::min(0.97, lineHeight / QFontMetricsF(fitted, &device).height());
    if (size * scale < 0.5) break;
    fitted.setPointSizeF(size * scale);
  }
  return {fitted, lineHeight};
}

QFont printFont(const QFont& screenFont, int screenDpi) {
  QFont font = screenFont;
  if (font.pixelSize() > 0 && screenDpi > 0) font.setPointSizeF(font.pixelSize() * 72.0 / screenDpi);
  return font;
}

bool renderPlainText(QPrinter& printer, const QString& text, const QFont& font, int linesPerSheet) {
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const QSizeF page(printer.width(), printer.height());
  QTextDocument document;
  document.documentLayout()->setPaintDevice(&printer);
  document.setDocumentMargin(0);
  QTextOption option = document.defaultTextOption();
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  document.setDefaultTextOption(option);
  const SheetLines sheet = sheetLines(font, printer, page.height(), linesPerSheet);
  document.setDefaultFont(sheet.font);
  document.setPlainText(text);
  if (sheet.lineHeight > 0) {
    QTextCursor all(&document);
    all.select(QTextCursor::Document);
    // The layout takes lengths at the screen's resolution and scales them
    // to the printer's.
    QTextBlockFormat format;
    format.setLineHeight(sheet.lineHeight * qt_defaultDpiY() / printer.logicalDpiY(),
                         QTextBlockFormat::FixedHeight);
    all.mergeBlockFormat(format);
  }
  document.setPageSize(page);
  const int pages = std::max(1, document.pageCount());
  for (int i = 0; i < pages; ++i) {
    if (i > 0) printer.newPage();
    painter.save();
    painter.translate(0, -i * page.height());
    // The sheet's own lines: the first line of the next sheet starts on its
    // lower edge and is left to that sheet.
    document.drawContents(&painter, QRectF(0, i * page.height(), page.width(), page.height() - 1));
    painter.restore();
  }
  return painter.end();
}

TPrintForm::TPrintForm(QWidget* parent)
    : parent_(parent), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

TPrintForm::TPrintForm(QWidget* parent, base::Dialogs& dialogs) : TPrintForm(parent) { dialogs_ = &dialogs; }

TPrintForm::~TPrintForm() = default;

void TPrintForm::print(QPlainTextEdit& editor, const std::string& fileName) {
  const QTextDocument& document = *editor.document();
  const int perPage = linesPerPage(fontHeightPixels(editor));
  const std::size_t lines = lineCount(document);
  const int pages = pageCount(lines, perPage);
  const QTextCursor selection = editor.textCursor();
  const std::optional<PrintChoice> choice = askPrintDialog(*printer_, pages, selection.hasSelection());
  if (!choice) return;
  const QFont font = printFont(editor.font(), editor.logicalDpiY());
  const QString name = QString::fromStdString(fileName);
  linesPerSheet_ = perPage;
  switch (choice->range) {
  case PrintChoice::Range::All: printJob(editor.toPlainText(), font, name); break;
  case PrintChoice::Range::Pages: {
    // Printed to a file, each job gets a file of its own rather than
    // writing over the one before.
    const QString file = printer_->outputFileName();
    for (int page = std::max(1, choice->from); page <= choice->to; ++page) {
      if (!file.isEmpty()) printer_->setOutputFileName(jobFileName(file, page));
      // A printer that would not start is not asked again for the next page.
      if (!printJob(linesOf(document, pageLines(page, perPage, lines)), font,
                    QString::fromStdString(pageJobTitle(fileName, page))))
        break;
    }
    if (!file.isEmpty()) printer_->setOutputFileName(file);
    break;
  }
  case PrintChoice::Range::Selection: {
    if (!selection.hasSelection()) return;
    // Through the clipboard, which keeps the selection afterwards.
    editor.copy();
    const QString text = QApplication::clipboard()->text();
    const int firstLine = document.findBlock(selection.selectionStart()).blockNumber();
    printJob(text, font,
             QString::fromStdString(
                 pageJobTitle(fileName, pageOfLine(static_cast<std::size_t>(firstLine), perPage))));
    break;
  }
  }
}

bool TPrintForm::printJob(const QString& text, const QFont& font, const QString& title) {
  printer_->setDocName(title);
  // A job prints all of its own text; the dialog's range chose the jobs.
  printer_->setPrintRange(QPrinter::AllPages);
  printer_->setFromTo(0, 0);
  prepareJob(*printer_, title);
  ensureMargins(*printer_);
  if (renderPlainText(*printer_, text, font, linesPerSheet_)) return true;
  const QString where =
      printer_->outputFileName().isEmpty() ? printer_->printerName() : printer_->outputFileName();
  const std::string message = QString(kCannotPrint).arg(where).toStdString();
  if (dialogs_) {
    dialogs_->show({kPrintCaption, message, base::MessageButtons::Ok, base::MessageIcon::Error});
  } else {
    QMessageBox::critical(parent_, kPrintCaption, QString::fromStdString(message));
  }
  return false;
}

std::optional<PrintChoice> TPrintForm::askPrintDialog(QPrinter& printer, int pageCount, bool hasSelection) {
  QPrintDialog dialog(&printer, parent_);
  dialog.setWindowTitle("印刷");
  QAbstractPrintDialog::PrintDialogOptions options =
      QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
      QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintShowPageSize;
  if (hasSelection) options |= QAbstractPrintDialog::PrintSelection;
  dialog.setOptions(options);
  dialog.setMinMax(1, pageCount);
  dialog.setFromTo(1, pageCount);
  dialog.setPrintRange(QAbstractPrintDialog::AllPages);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  switch (dialog.printRange()) {
  case QAbstractPrintDialog::Selection: return PrintChoice{PrintChoice::Range::Selection, 1, 1};
  case QAbstractPrintDialog::PageRange:
    return PrintChoice{PrintChoice::Range::Pages, dialog.fromPage(), dialog.toPage()};
  default: return PrintChoice{PrintChoice::Range::All, 1, pageCount};
  }
}

void TPrintForm::prepareJob(QPrinter&, const QString&) {}

void TPrintForm::preview(QPlainTextEdit& editor, const std::string& fileName) {
  printer_->setDocName(QString::fromStdString(fileName));
  printer_->setPrintRange(QPrinter::AllPages);
  ensureMargins(*printer_);
  QPrintPreviewDialog dialog(printer_.get(), parent_);
  dialog.setWindowTitle("印刷プレビュー");
  // Wide enough for the whole tool bar: at Qt's own size its last buttons,
  // the page setup and the print button among them, sit behind its
  // extension arrow where nothing shows they are there.
  if (const QToolBar* bar = dialog.findChild<QToolBar*>()) {
    const QMargins margins = dialog.layout() ? dialog.layout()->contentsMargins() : QMargins();
    const QSize size = dialog.sizeHint();
    dialog.resize(std::max(size.width(), bar->sizeHint().width() + margins.left() + margins.right()),
                  size.height());
  }
  const QString text = editor.toPlainText();
  const QFont font = printFont(editor.font(), editor.logicalDpiY());
  const int perPage = linesPerPage(fontHeightPixels(editor));
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                   [&](QPrinter* printer) { renderPlainText(*printer, text, font, perPage); });
  dialog.exec();
}

void TPrintForm::printerSetup() {
  QPageSetupDialog dialog(printer_.get(), parent_);
  dialog.setWindowTitle("プリンタ設定");
  dialog.exec();
}

} // namespace kestrovan::editor
