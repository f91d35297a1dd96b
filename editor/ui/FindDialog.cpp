#include "editor/ui/FindDialog.h"

#include "base/Dialogs.h"
#include "editor/PieceSearch.h"
#include "editor/TextSearch.h"
#include "editor/ui/LargeTextArea.h"
#include "platform/Cp932.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace kestrovan::editor {

namespace {

constexpr const char* kHelpText =
    "検索する文字列を入力して「次を検索」を押してください。\n"
    "「下へ」は選択範囲（またはカーソル）の後ろから文書の終わりへ、\n"
    "「上へ」はカーソルの前から文書の始めへ探します。\n"
    "「大文字と小文字を区別する」を外すと、英字の大文字と小文字を同じ文字として探します。";

// The characters of a QString, without a copy.
std::u16string_view utf16Of(const QString& s) {
  return {reinterpret_cast<const char16_t*>(s.utf16()), static_cast<std::size_t>(s.size())};
}

} // namespace

FindDialog::FindDialog(FindTarget target, QWidget* parent) : QDialog(parent), target_(std::move(target)) {
  setObjectName("FindDialog1");
  setWindowTitle("検索");
  setModal(false);

  auto* label = new QLabel("検索する文字列(&N):", this);
  text_ = new QLineEdit(this);
  text_->setObjectName("FindText");
  label->setBuddy(text_);

  wholeWord_ = new QCheckBox("単語単位で探す(&W)", this);
  wholeWord_->setObjectName("WholeWord");
  wholeWord_->setEnabled(false);
  matchCase_ = new QCheckBox("大文字と小文字を区別する(&C)", this);
  matchCase_->setObjectName("MatchCase");

  auto* direction = new QGroupBox("方向", this);
  up_ = new QRadioButton("上へ(&U)", direction);
  up_->setObjectName("DirectionUp");
  down_ = new QRadioButton("下へ(&D)", direction);
  down_->setObjectName("DirectionDown");
  down_->setChecked(true);
  auto* directionLayout = new QHBoxLayout(direction);
  directionLayout->addWidget(up_);
  directionLayout->addWidget(down_);

  findNext_ = new QPushButton("次を検索(&F)", this);
  findNext_->setObjectName("FindNextButton");
  findNext_->setDefault(true);
  findNext_->setEnabled(false);
  auto* cancel = new QPushButton("キャンセル", this);
  cancel->setObjectName("CancelButton");
  auto* help = new QPushButton("ヘルプ(&H)", this);
  help->setObjectName("HelpButton");

  auto* grid = new QGridLayout(this);
  auto* findRow = new QHBoxLayout;
  findRow->addWidget(label);
  findRow->addWidget(text_, 1);
  grid->addLayout(findRow, 0, 0, 1, 2);
  auto* checks = new QVBoxLayout;
  checks->addWidget(wholeWord_);
  checks->addWidget(matchCase_);
  checks->addStretch();
  grid->addLayout(checks, 1, 0);
  grid->addWidget(direction, 1, 1, Qt::AlignTop);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(findNext_);
  buttons->addWidget(cancel);
  buttons->addWidget(help);
  buttons->addStretch();
  grid->addLayout(buttons, 0, 2, 2, 1);

  connect(text_, &QLineEdit::textChanged, this,
          [this](const QString& t) { findNext_->setEnabled(!t.isEmpty()); });
  connect(findNext_, &QPushButton::clicked, this, [this] { findNext(); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::hide);
  connect(help, &QPushButton::clicked, this, [this] { showHelp(); });
}

void FindDialog::showFind() {
  show();
  raise();
  activateWindow();
  text_->setFocus();
  text_->selectAll();
}

void FindDialog::findNext() {
  QPlainTextEdit* editor = target_.text;
  if ((!editor && !target_.largeArea) || text_->text().isEmpty() || !findNext_->isEnabled()) return;
  // Another press while this one lets events run waits for the next.
  findNext_->setEnabled(false);
  QCoreApplication::processEvents();
  if (target_.setSearchField) target_.setSearchField(kSearchingField);
  if (target_.wholeText) target_.wholeText();
  if (LargeTextArea* area = target_.largeArea ? target_.largeArea() : nullptr) {
    if (!findInLargeArea(*area) && target_.dialogs)
      target_.dialogs->show(
          {kSearchCaption, kSearchMissText, base::MessageButtons::Ok, base::MessageIcon::Information});
    if (target_.setSearchField) target_.setSearchField("");
    findNext_->setEnabled(!text_->text().isEmpty());
    return;
  }

  const QString pattern = text_->text();
  const QString& text = documentText();
  const std::u16string_view textView = utf16Of(text);
  const SearchOptions options{utf16Of(pattern), matchCase_->isChecked()};
  // The document's text holds one character for each line break, so its
  // positions are indexes into that text; the block number is the line.
  const QTextDocument& document = *editor->document();
  const QTextCursor cursor = editor->textCursor();
  const int from = down_->isChecked() ? cursor.selectionEnd() : cursor.selectionStart();
  const TextIndex start{static_cast<std::size_t>(from),
                        static_cast<std::size_t>(document.findBlock(from).blockNumber())};
  const std::optional<SearchHit> hit =
      down_->isChecked() ? searchDown(textView, start, options) : searchUp(textView, start, options);
  if (hit) {
    selectHit(static_cast<int>(hit->index), static_cast<int>(pattern.size()));
  } else if (target_.dialogs) {
    target_.dialogs->show(
        {kSearchCaption, kSearchMissText, base::MessageButtons::Ok, base::MessageIcon::Information});
  }
  if (target_.setSearchField) target_.setSearchField("");
  findNext_->setEnabled(!text_->text().isEmpty());
}

// The hit selected, its line the second visible line. The keyboard stays
// here: the next Enter searches again rather than typing over the hit.
void FindDialog::selectHit(int position, int length) {
  QPlainTextEdit* editor = target_.text;
  QTextCursor cursor(editor->document());
  cursor.setPosition(position);
  cursor.setPosition(position + length, QTextCursor::KeepAnchor);
  editor->setTextCursor(cursor);
  const QTextBlock block = cursor.block();
  int visualLine = block.firstLineNumber();
  if (const QTextLayout* layout = block.layout(); layout && layout->lineCount() > 0) {
    const QTextLine line = layout->lineForTextPosition(position - block.position());
    if (line.isValid()) visualLine += line.lineNumber();
  }
  editor->verticalScrollBar()->setValue(std::max(0, visualLine - 1));
  if (target_.caretMoved) target_.caretMoved();
}

bool FindDialog::findInLargeArea(LargeTextArea& area) {
  // A pattern Shift-JIS cannot hold is in no program.
  const platform::Cp932Encoding pattern = platform::utf8ToCp932Exact(text_->text().toStdString());
  if (!pattern.complete()) return false;
  const std::size_t from =
      down_->isChecked() ? std::max(area.caret(), area.anchor()) : std::min(area.caret(), area.anchor());
  const std::optional<std::size_t> hit =
      searchPieces(area.table(), pattern.bytes, from, down_->isChecked(), matchCase_->isChecked());
  if (!hit) return false;
  area.select(*hit, *hit + pattern.bytes.size());
  if (target_.caretMoved) target_.caretMoved();
  return true;
}

// The editor's text, taken from its document again only after a change, so
// that repeated searches in a large program do not copy it each time.
const QString& FindDialog::documentText() {
  QTextDocument* document = target_.text->document();
  if (document != textOf_) {
    if (textOf_) disconnect(textOf_, nullptr, this, nullptr);
    textOf_ = document;
    textStale_ = true;
    connect(document, &QTextDocument::contentsChanged, this, [this] { textStale_ = true; });
    connect(document, &QObject::destroyed, this, [this] {
      textOf_ = nullptr;
      textStale_ = true;
    });
  }
  if (textStale_) {
    textCache_ = document->toRawText();
    textStale_ = false;
  }
  return textCache_;
}

void FindDialog::hideEvent(QHideEvent* event) {
  // A closed dialog keeps no copy of a large text.
  textCache_ = QString();
  textStale_ = true;
  QDialog::hideEvent(event);
  // Closed by its keys, the keyboard goes back to the text it searched.
  QWidget* editor = target_.text;
  if (LargeTextArea* area = target_.largeArea ? target_.largeArea() : nullptr) editor = area;
  if (!event->spontaneous() && editor && editor->isVisible()) {
    editor->activateWindow();
    editor->setFocus();
  }
}

void FindDialog::showHelp() {
  if (target_.dialogs)
    target_.dialogs->show({"検索", kHelpText, base::MessageButtons::Ok, base::MessageIcon::Information});
}

} // namespace kestrovan::editor
