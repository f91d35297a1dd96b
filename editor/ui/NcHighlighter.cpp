#include "editor/ui/NcHighlighter.h"

#include "editor/NcWords.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>

namespace kestrovan::editor {
namespace {

// A block's user state once its colours are set (QTextBlock starts at -1).
constexpr int kColoured = 0x4E43;
// A longer line is no program block but data (a file of one line): it stays
// plain, as colouring it would lay it out again on every update.
constexpr int kLongestColoured = 4096;

QTextCharFormat wordFormat(const char* colour, bool bold = false, bool italic = false) {
  QTextCharFormat f;
  f.setForeground(QColor(colour));
  if (bold) f.setFontWeight(QFont::Bold);
  f.setFontItalic(italic);
  return f;
}

class NcColouring : public QObject {
public:
  explicit NcColouring(QPlainTextEdit* view) : QObject(view), view_(view) {
    setObjectName("NcColouring");
    if (view->palette().color(QPalette::Base).lightness() < 128) {
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
    connect(view, &QPlainTextEdit::updateRequest, this, [this] { colourVisible(); });
    connect(view->document(), &QTextDocument::contentsChange, this, &NcColouring::changed);
    colourVisible();
  }

  // Leaves the lines it coloured plain.
  void leavePlain() {
    colouring_ = true;
    QTextDocument* document = view_->document();
    for (QTextBlock b = document->begin(); b.isValid(); b = b.next())
      if (b.userState() == kColoured) {
        b.setUserState(-1);
        b.layout()->clearFormats();
        document->markContentsDirty(b.position(), b.length());
      }
    colouring_ = false;
  }

  // The lines in view, from the first to the last visible one. They are
  // found from the scroll position and the lines' counts, never by hit
  // testing a line, which walks all of a very long one.
  void colourVisible() {
    if (colouring_) return;
    QTextDocument* document = view_->document();
    QTextBlock block = document->findBlockByLineNumber(view_->verticalScrollBar()->value());
    const int spacing = std::max(1, view_->fontMetrics().lineSpacing());
    int linesLeft = view_->viewport()->height() / spacing + 2;
    colouring_ = true;
    for (; block.isValid() && linesLeft > 0; block = block.next()) {
      linesLeft -= std::max(1, block.lineCount());
      if (block.userState() != kColoured && block.length() <= kLongestColoured) colour(block);
    }
    colouring_ = false;
  }

private:
  void colour(QTextBlock& block) {
    const QString text = block.text();
    const std::u16string_view line(reinterpret_cast<const char16_t*>(text.constData()),
                                   static_cast<std::size_t>(text.size()));
    QList<QTextLayout::FormatRange> ranges;
    forEachNcWord(line, [&](const NcWord& word) {
      ranges.append({static_cast<int>(word.start), static_cast<int>(word.length), formats_[int(word.kind)]});
    });
    block.layout()->setFormats(ranges);
    block.setUserState(kColoured);
    view_->document()->markContentsDirty(block.position(), block.length());
  }

  // Edited lines are coloured again when they are drawn.
  void changed(int from, int, int added) {
    if (colouring_) return;
    QTextDocument* document = view_->document();
    QTextBlock block = document->findBlock(from);
    const QTextBlock end = document->findBlock(from + added);
    for (; block.isValid(); block = block.next()) {
      block.setUserState(-1);
      if (block == end) break;
    }
  }

  QPlainTextEdit* view_;
  QTextCharFormat formats_[6];
  bool colouring_ = false;
};

NcColouring* attached(const QPlainTextEdit* view) {
  return view->findChild<NcColouring*>("NcColouring", Qt::FindDirectChildrenOnly);
}

} // namespace

void setNcColouring(QPlainTextEdit* view, bool on) {
  if (!view) return;
  NcColouring* colouring = attached(view);
  if (on && !colouring)
    new NcColouring(view);
  else if (!on && colouring) {
    colouring->leavePlain();
    delete colouring;
  }
}

bool hasNcColouring(const QPlainTextEdit* view) { return view && attached(view); }

} // namespace kestrovan::editor
