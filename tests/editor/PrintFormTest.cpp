// Printing the editor's text: every job goes to a PDF file of its own (Qt's
// PDF output, the same rendering as on paper), read back with poppler.
#include "editor/ui/PrintForm.h"

#include "support/FakeDialogs.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <gtest/gtest.h>

using namespace kestrovan;

namespace {

// The form with the print dialog answered by the test and each job sent to
// its own PDF file.
class PdfPrintForm : public editor::TPrintForm {
public:
  PdfPrintForm(std::string folder, base::Dialogs& dialogs)
      : TPrintForm(nullptr, dialogs), folder_(std::move(folder)) {}

  std::optional<editor::PrintChoice> answer;
  int offeredPages = 0;
  bool offeredSelection = false;
  std::vector<std::string> files;
  // The dialog's own "print to file" with this name, instead of a file per job here.
  std::string dialogFile;
  // Jobs to a folder that does not exist: the printer will not start.
  bool unwritable = false;

protected:
  std::optional<editor::PrintChoice> askPrintDialog(QPrinter& printer, int pageCount,
                                                    bool hasSelection) override {
    offeredPages = pageCount;
    offeredSelection = hasSelection;
    if (!dialogFile.empty()) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(QString::fromStdString(dialogFile));
    }
    return answer;
  }
  void prepareJob(QPrinter& printer, const QString&) override {
    if (!dialogFile.empty()) return;
    files.push_back(folder_ + (unwritable ? "/missing/job" : "/job") + std::to_string(files.size() + 1) +
                    ".pdf");
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(files.back()));
  }

private:
  std::string folder_;
};

QString run(const char* program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  EXPECT_TRUE(p.waitForFinished(30000)) << program;
  return QString::fromUtf8(p.readAllStandardOutput());
}

// The lines of text on the job's sheets, empty lines and form feeds left out.
QStringList pdfLines(const std::string& file) {
  QStringList lines;
  for (const QString& l : run(PDFTOTEXT, {QString::fromStdString(file), "-"}).split('\n')) {
    const QString t = QString(l).remove('\f').trimmed();
    if (!t.isEmpty()) lines << t;
  }
  return lines;
}

QString pdfInfo(const std::string& file, const QString& key) {
  for (const QString& l : run(PDFINFO, {QString::fromStdString(file)}).split('\n'))
    if (l.startsWith(key + ":")) return l.mid(key.size() + 1).trimmed();
  return {};
}

QStringList numbered(int from, int to) {
  QStringList lines;
  for (int i = from; i <= to; ++i)
    lines << QString("LINE%1 G01X%2.").arg(i, 3, 10, QChar('0')).arg(i);
  return lines;
}

// Lines as one string, for readable failures.
std::string joined(const QStringList& lines) { return lines.join(" | ").toStdString(); }

struct Printing : ::testing::Test {
  test::TempDir dir;
  QPlainTextEdit editor;
  test::FakeDialogs dialogs;
  PdfPrintForm form{dir.path(), dialogs};

  void SetUp() override {
    if (std::string(PDFTOTEXT).empty() || std::string(PDFINFO).empty())
      GTEST_SKIP() << "poppler-utils (pdftotext, pdfinfo) are not installed";
    QFont font("IPAGothic");
    font.setPixelSize(16);
    editor.setFont(font);
    editor.setPlainText(numbered(1, 128).join('\n'));
  }
};

} // namespace

TEST_F(Printing, AllPagesAreOneJobTitledWithTheFileName) {
  form.answer = editor::PrintChoice{editor::PrintChoice::Range::All, 1, 3};
  form.print(editor, "O1234.NC");
  EXPECT_EQ(form.offeredPages, 3); // 128 lines / 64 + 1
  EXPECT_FALSE(form.offeredSelection);
  ASSERT_EQ(form.files.size(), 1u);
  EXPECT_EQ(pdfInfo(form.files[0], "Title"), "O1234.NC");
  // Nothing added: no header, no footer, no page numbers.
  EXPECT_EQ(pdfLines(form.files[0]), numbered(1, 128));
  EXPECT_GE(pdfInfo(form.files[0], "Pages").toInt(), 2);
}

TEST_F(Printing, ARangeOfThreePagesIsThreeJobsOfLLinesEach) {
  form.answer = editor::PrintChoice{editor::PrintChoice::Range::Pages, 1, 3};
  form.print(editor, "O1234.NC");
  ASSERT_EQ(form.files.size(), 3u);
  EXPECT_EQ(pdfInfo(form.files[0], "Title"), "O1234.NC[1]");
  EXPECT_EQ(pdfInfo(form.files[1], "Title"), "O1234.NC[2]");
  EXPECT_EQ(pdfInfo(form.files[2], "Title"), "O1234.NC[3]");
  EXPECT_EQ(pdfLines(form.files[0]), numbered(1, 64));
  EXPECT_EQ(pdfLines(form.files[1]), numbered(65, 128));
  // Page 3 lies past the text: an empty job of one sheet.
  EXPECT_TRUE(pdfLines(form.files[2]).isEmpty());
  EXPECT_EQ(pdfInfo(form.files[2], "Pages"), "1");
}

TEST_F(Printing, TheSelectionGoesThroughTheClipboardWhichKeepsIt) {
  QApplication::clipboard()->setText("before");
  QTextCursor c(editor.document()->findBlockByNumber(69)); // line 70, on page 2
  c.movePosition(QTextCursor::Down, QTextCursor::KeepAnchor, 2);
  c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  editor.setTextCursor(c);
  form.answer = editor::PrintChoice{editor::PrintChoice::Range::Selection, 1, 1};
  form.print(editor, "O1234.NC");
  EXPECT_TRUE(form.offeredSelection);
  ASSERT_EQ(form.files.size(), 1u);
  EXPECT_EQ(pdfInfo(form.files[0], "Title"), "O1234.NC[2]");
  EXPECT_EQ(pdfLines(form.files[0]), numbered(70, 72));
  EXPECT_EQ(QApplication::clipboard()->text(), numbered(70, 72).join('\n'));
}

TEST_F(Printing, CancellingTheDialogPrintsNothing) {
  form.answer = std::nullopt;
  form.print(editor, "O1234.NC");
  EXPECT_TRUE(form.files.empty());
  EXPECT_TRUE(test::fileExists(dir.path()));
}

TEST_F(Printing, ASmallerFontGivesMoreLinesAPage) {
  QFont font = editor.font();
  font.setPixelSize(13); // 1027 / 13 = 79 lines a page
  editor.setFont(font);
  form.answer = editor::PrintChoice{editor::PrintChoice::Range::Pages, 2, 2};
  form.print(editor, "new");
  EXPECT_EQ(form.offeredPages, 2);
  ASSERT_EQ(form.files.size(), 1u);
  EXPECT_EQ(pdfInfo(form.files[0], "Title"), "new[2]");
  EXPECT_EQ(pdfLines(form.files[0]), numbered(80, 128));
}

TEST_F(Printing, ThePreviewShowsTheSameSheetsAsTheAllPagesJob) {
  form.answer = editor::PrintChoice{editor::PrintChoice::Range::All, 1, 3};
  form.print(editor, "O1234.NC");
  ASSERT_EQ(form.files.size(), 1u);
  const int sheets = pdfInfo(form.files[0], "Pages").toInt();
  int previewed = -1;
  QTimer::singleShot(0, [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    auto* widget = dialog->findChild<QPrintPreviewWidget*>();
    ASSERT_NE(widget, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return widget->pageCount() > 0; }, 5000));
    previewed = widget->pageCount();
    dialog->close();
  });
  form.preview(editor, "O1234.NC");
  EXPECT_EQ(previewed, sheets);
}

TEST_F(Printing, ARangePrintedToOneFileGivesEachJobAFileOfItsOwn) {
  form.dialogFile = dir.file("out.pdf");
  form.answer = editor::PrintChoice{editor::PrintChoice::Range::Pages, 1, 2};
  form.print(editor, "O1234.NC");
  EXPECT_FALSE(test::fileExists(dir.file("out.pdf")));
  EXPECT_EQ(pdfLines(dir.file("out[1].pdf")), numbered(1, 64));
  EXPECT_EQ(pdfLines(dir.file("out[2].pdf")), numbered(65, 128));
  EXPECT_EQ(pdfInfo(dir.file("out[2].pdf"), "Title"), "O1234.NC[2]");
  // All pages go to the file as it was named.
  form.answer = editor::PrintChoice{editor::PrintChoice::Range::All, 1, 3};
  form.print(editor, "O1234.NC");
  EXPECT_EQ(pdfLines(dir.file("out.pdf")), numbered(1, 128));
}

TEST_F(Printing, APrinterThatWillNotStartIsToldAndTheRangeStops) {
  form.unwritable = true;
  form.answer = editor::PrintChoice{editor::PrintChoice::Range::Pages, 1, 3};
  form.print(editor, "O1234.NC");
  EXPECT_EQ(form.files.size(), 1u);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].title, "印刷");
  EXPECT_EQ(dialogs.shown[0].text, "プリンタ " + form.files[0] + " に印刷できません。");
  EXPECT_EQ(dialogs.shown[0].icon, base::MessageIcon::Error);
  EXPECT_FALSE(test::fileExists(form.files[0]));
}

// A page of L lines is one sheet: with Qt's own line spacing and the 10 mm
// margins about 70 lines fitted, so a page of 79 spilled onto a second sheet.
// Each page of a range, and the all-pages job, hold L lines a sheet for
// large and small fonts alike.
TEST_F(Printing, APageOfLLinesIsOneSheetWhateverTheFont) {
  for (const int pixels : {10, 13, 16, 21, 40}) {
    SCOPED_TRACE(pixels);
    const int perPage = 1027 / pixels;
    QFont font = editor.font();
    font.setPixelSize(pixels);
    editor.setFont(font);
    editor.setPlainText(numbered(1, 2 * perPage + 3).join('\n'));
    form.files.clear();
    form.answer = editor::PrintChoice{editor::PrintChoice::Range::Pages, 1, 2};
    form.print(editor, "O1234.NC");
    ASSERT_EQ(form.files.size(), 2u);
    EXPECT_EQ(pdfInfo(form.files[0], "Pages"), "1");
    EXPECT_EQ(pdfInfo(form.files[1], "Pages"), "1");
    EXPECT_EQ(joined(pdfLines(form.files[0])), joined(numbered(1, perPage)));
    EXPECT_EQ(joined(pdfLines(form.files[1])), joined(numbered(perPage + 1, 2 * perPage)));
    form.answer = editor::PrintChoice{editor::PrintChoice::Range::All, 1, 3};
    form.print(editor, "O1234.NC");
    ASSERT_EQ(form.files.size(), 3u);
    EXPECT_EQ(pdfInfo(form.files[2], "Pages"), "3");
    EXPECT_EQ(joined(pdfLines(form.files[2])), joined(numbered(1, 2 * perPage + 3)));
  }
}
