#include "editor/ui/EditorPanel.h"

#include "editor/EditorTexts.h"
#include "editor/ui/EditorStatusBar.h"
#include "editor/ui/LargeTextArea.h"

#include <QAction>
#include <QGroupBox>
#include <QKeyEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QToolBar>
#include <QVBoxLayout>

namespace kestrovan::editor {

EditorPanel::EditorPanel(QWidget* window) : QObject(window) {
  GroupBox3 = new QGroupBox(window);
  GroupBox3->setObjectName("GroupBox3");
  // Over the file list and the key-help panel, down to the message line.
  GroupBox3->setGeometry(0, 35, 728, 372);
  // The caption inside the panel's own background, over the tool bar.
  GroupBox3->setStyleSheet(
      "QGroupBox#GroupBox3 { background: #d4d0c8; color: black; border: 1px solid gray;"
      " margin-top: 0px; padding-top: 16px; }"
      " QGroupBox#GroupBox3::title { subcontrol-origin: padding; subcontrol-position: top left;"
      " left: 6px; top: 1px; color: black; }");
  auto* layout = new QVBoxLayout(GroupBox3);
  layout->setContentsMargins(2, 4, 2, 2);
  layout->setSpacing(1);

  actions_ = makeEditorActions(this);
  toolBar_ = makeEditorToolBar(GroupBox3, actions_);
  layout->addWidget(toolBar_);

  text_ = new QPlainTextEdit(GroupBox3);
  text_->setObjectName("EditorText");
  text_->setStyleSheet("color: black; background: white;");
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  text_->setContextMenuPolicy(Qt::CustomContextMenu);
  layout->addWidget(text_, 1);
  large_ = new LargeTextArea(GroupBox3);
  large_->setObjectName("LargeEditorText");
  large_->setContextMenuPolicy(Qt::CustomContextMenu);
  large_->hide();
  layout->addWidget(large_, 1);

  status_ = new EditorStatusBar(GroupBox3);
  layout->addWidget(status_);

  PopupMenu1 = makeEditorMenu(GroupBox3, actions_);
  GroupBox3->hide();

  connect(text_, &QPlainTextEdit::customContextMenuRequested, this, &EditorPanel::showContextMenu);
  connect(text_, &QPlainTextEdit::cursorPositionChanged, this, &EditorPanel::showCaret);
  connect(text_, &QPlainTextEdit::selectionChanged, this, &EditorPanel::showCaret);
  // The undo button follows the text control at once, not only on the next
  // mouse click in the text.
  connect(text_, &QPlainTextEdit::undoAvailable, actions_.undo, [this](bool on) {
    if (!largeShown_) actions_.undo->setEnabled(on);
  });
  // The commands go to the area that shows the document.
  connect(actions_.undo, &QAction::triggered, this, [this] { largeShown_ ? large_->undo() : text_->undo(); });
  connect(actions_.cut, &QAction::triggered, this, [this] { largeShown_ ? large_->cut() : text_->cut(); });
  connect(actions_.copy, &QAction::triggered, this, [this] { largeShown_ ? large_->copy() : text_->copy(); });
  connect(actions_.paste, &QAction::triggered, this,
          [this] { largeShown_ ? large_->paste() : text_->paste(); });
  connect(actions_.erase, &QAction::triggered, this, [this] {
    if (largeShown_)
      large_->eraseSelection();
    else if (!text_->isReadOnly())
      text_->textCursor().removeSelectedText();
  });
  connect(actions_.selectAll, &QAction::triggered, this,
          [this] { largeShown_ ? large_->selectAll() : text_->selectAll(); });
  connect(large_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenu1->popup(large_->viewport()->mapToGlobal(at)); });
  large_->caretMoved = [this] { showCaret(); };
  large_->installEventFilter(this);
  connect(actions_.wrap, &QAction::toggled, this, &EditorPanel::setWrap);
  text_->installEventFilter(this);
  text_->viewport()->installEventFilter(this);
}

void EditorPanel::setCaption(const std::string& caption) {
  GroupBox3->setTitle(QString::fromStdString(caption));
}
std::string EditorPanel::caption() const { return GroupBox3->title().toStdString(); }

void EditorPanel::showLarge(bool on) {
  largeShown_ = on;
  text_->setVisible(!on);
  large_->setVisible(on);
  if (!on) actions_.undo->setEnabled(text_->document()->isUndoAvailable());
  showCaret();
}

QWidget* EditorPanel::textArea() const {
  if (largeShown_) return large_;
  return text_;
}

void EditorPanel::setInsertMode(bool on) {
  insertMode_ = on;
  large_->setOverwrite(!on);
  text_->setOverwriteMode(!on);
  // Overwrite shows a block half as wide as the font is high.
  text_->setCursorWidth(on ? 1 : text_->fontMetrics().height() / 2);
  status_->setField(ModeField, on ? "挿入" : "上書");
  showCaret();
}

void EditorPanel::showCaret() {
  if (largeShown_) {
    // Line and column of the caret; a column is a byte, as the area draws it.
    const PieceTable& table = large_->table();
    const std::size_t line = table.lineOf(large_->caret());
    status_->setField(CaretField, caretField(line + 1, large_->caret() - table.lineStart(line) + 1));
    const bool selected = large_->hasSelection() && insertMode_;
    status_->setField(SelectionField, selected ? "選択範囲" : "");
    for (QAction* a : {actions_.cut, actions_.copy, actions_.erase})
      a->setEnabled(selected);
    actions_.undo->setEnabled(table.canUndo());
    return;
  }
  const QTextCursor cursor = text_->textCursor();
  const int start = cursor.selectionStart();
  const QTextBlock block = text_->document()->findBlock(start);
  status_->setField(CaretField, caretField(static_cast<std::size_t>(block.blockNumber() + 1),
                                           static_cast<std::size_t>(start - block.position() + 1)));
  const bool selected = cursor.hasSelection() && insertMode_;
  status_->setField(SelectionField, selected ? "選択範囲" : "");
  for (QAction* a : {actions_.cut, actions_.copy, actions_.erase})
    a->setEnabled(selected);
}

void EditorPanel::setEditorFont(const QFont& font) {
  text_->setFont(font);
  text_->document()->setDefaultFont(font);
  status_->setField(FontField, fontField(font.family().toStdString(), font.pointSize()));
  setInsertMode(insertMode_); // the caret's size follows the font
}

void EditorPanel::insertDateTime(const QString& stamp) {
  if (!text_->isReadOnly()) text_->textCursor().insertText(stamp);
}

void EditorPanel::setWrap(bool on) {
  if (actions_.wrap->isChecked() != on) actions_.wrap->setChecked(on);
  text_->setLineWrapMode(on ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
  text_->setHorizontalScrollBarPolicy(on ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
}

void EditorPanel::showContextMenu(const QPoint& at) { PopupMenu1->popup(text_->viewport()->mapToGlobal(at)); }

bool EditorPanel::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && (watched == text_ || watched == large_)) {
    auto* key = static_cast<QKeyEvent*>(event);
    // Insert on its own flips the mode; with Shift or Ctrl it pastes or copies.
    if (key->key() == Qt::Key_Insert && key->modifiers() == Qt::NoModifier) {
      setInsertMode(!insertMode_);
      return true;
    }
  }
  if (event->type() == QEvent::KeyRelease || event->type() == QEvent::MouseButtonRelease) showCaret();
  return QObject::eventFilter(watched, event);
}

} // namespace kestrovan::editor
