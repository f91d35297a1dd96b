#include "editor/NcHighlighter.h"

#include "editor/NcWords.h"

#include <QPlainTextEdit>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

namespace kestrovan::editor {
namespace {

QTextCharFormat wordFormat(const char* colour, bool bold = false, bool italic = false) {
  QTextCharFormat f;
  f.setForeground(QColor(colour));
  if (bold) f.setFontWeight(QFont::Bold);
  f.setFontItalic(italic);
  return f;
}

class NcHighlighter : public QSyntaxHighlighter {
public:
  NcHighlighter(QTextDocument* document, bool darkBackground) : QSyntaxHighlighter(document) {
    setObjectName("NcHighlighter");
    if (darkBackground) {
      formats_[int(NcWordKind::Comment)] = wordFormat("#9ad19a", false, true);
      formats_[int(NcWordKind::ProgramNumber)] = wordFormat("#ffb0b0", true);
      formats_[int(NcWordKind::BlockNumber)] = wordFormat("#a0a0a0");
      formats_[int(NcWordKind::GCode)] = wordFormat("#80c0ff", true);
      formats_[int(NcWordKind::MCode)] = wordFormat("#ff90ff", true);
      formats_[int(NcWordKind::Address)] = wordFormat("#ffe080");
    } else {
      formats_[int(NcWordKind::Comment)] = wordFormat("#2e7d32", false, true);
      formats_[int(NcWordKind::ProgramNumber)] = wordFormat("#b00020", true);
      formats_[int(NcWordKind::BlockNumber)] = wordFormat("#808080");
      formats_[int(NcWordKind::GCode)] = wordFormat("#0040c0", true);
      formats_[int(NcWordKind::MCode)] = wordFormat("#a000a0", true);
      formats_[int(NcWordKind::Address)] = wordFormat("#805000");
    }
  }

protected:
  void highlightBlock(const QString& text) override {
    const std::u16string_view line(reinterpret_cast<const char16_t*>(text.constData()),
                                   static_cast<std::size_t>(text.size()));
    forEachNcWord(line, [this](const NcWord& word) {
      setFormat(static_cast<int>(word.start), static_cast<int>(word.length), formats_[int(word.kind)]);
    });
  }

private:
  QTextCharFormat formats_[6];
};

NcHighlighter* attached(const QPlainTextEdit* view) {
  return view->document()->findChild<NcHighlighter*>("NcHighlighter", Qt::FindDirectChildrenOnly);
}

} // namespace

void setNcColouring(QPlainTextEdit* view, bool on) {
  if (!view) return;
  NcHighlighter* highlighter = attached(view);
  const bool fits = static_cast<std::size_t>(view->document()->characterCount()) <= kColourLimit;
  if (on && fits && !highlighter) {
    const bool dark = view->palette().color(QPalette::Base).lightness() < 128;
    new NcHighlighter(view->document(), dark);
  } else if ((!on || !fits) && highlighter) {
    delete highlighter;
  }
}

bool hasNcColouring(const QPlainTextEdit* view) { return view && attached(view); }

} // namespace kestrovan::editor
