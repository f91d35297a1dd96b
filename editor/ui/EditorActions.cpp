#include "editor/ui/EditorActions.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QKeySequence>
#include <QMenu>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace kestrovan::editor {
namespace {

QAction* action(QObject* owner, const char* name, const char* text, const char* hint = nullptr) {
  auto* a = new QAction(QString::fromUtf8(text), owner);
  a->setObjectName(name);
  a->setToolTip(QString::fromUtf8(hint ? hint : text));
  return a;
}

QIcon icon(const char* themeName, QStyle::StandardPixmap fallback) {
  QIcon themed = QIcon::fromTheme(themeName);
  if (!themed.isNull()) return themed;
  if (fallback == QStyle::SP_CustomBase) return {};
  return QApplication::style()->standardIcon(fallback);
}

} // namespace

EditorActions makeEditorActions(QObject* owner) {
  EditorActions a{};
  a.newDocument = action(owner, "ActionNew", "新規作成");
  a.open = action(owner, "ActionOpen", "開く");
  a.save = action(owner, "ActionSave", "保存");
  a.print = action(owner, "ActionPrint", "印刷");
  a.printerSetup = action(owner, "ActionPrinterSetup", "プリンタ設定");
  a.cut = action(owner, "ActionCut", "切り取り");
  a.copy = action(owner, "ActionCopy", "コピー");
  a.paste = action(owner, "ActionPaste", "貼り付け", "張り付け");
  a.erase = action(owner, "ActionDelete", "削除");
  a.find = action(owner, "ActionFind", "次を検索");
  a.font = action(owner, "ActionFont", "フォント");
  a.undo = action(owner, "ActionUndo", "元に戻す");
  a.endEditing = action(owner, "ActionEnd", "編集終了");
  a.selectAll = action(owner, "ActionSelectAll", "すべて選択");
  a.dateTime = action(owner, "ActionDateTime", "日付と時刻");
  a.wrap = action(owner, "ActionWrap", "右端で折り返す");
  a.wrap->setCheckable(true);
  a.colouring = action(owner, "ActionColouring", "NCシンタックス色分け");
  a.colouring->setCheckable(true);
  a.preview = action(owner, "ActionPreview", "印刷プレビュー");
  for (QAction* startsDisabled : {a.cut, a.copy, a.erase, a.undo})
    startsDisabled->setEnabled(false);

  a.newDocument->setIcon(icon("document-new", QStyle::SP_FileIcon));
  a.open->setIcon(icon("document-open", QStyle::SP_DialogOpenButton));
  a.save->setIcon(icon("document-save", QStyle::SP_DialogSaveButton));
  a.print->setIcon(icon("document-print", QStyle::SP_CustomBase));
  a.printerSetup->setIcon(icon("document-page-setup", QStyle::SP_CustomBase));
  a.cut->setIcon(icon("edit-cut", QStyle::SP_CustomBase));
  a.copy->setIcon(icon("edit-copy", QStyle::SP_CustomBase));
  a.paste->setIcon(icon("edit-paste", QStyle::SP_CustomBase));
  a.erase->setIcon(icon("edit-delete", QStyle::SP_TrashIcon));
  a.find->setIcon(icon("edit-find", QStyle::SP_FileDialogContentsView));
  a.font->setIcon(icon("preferences-desktop-font", QStyle::SP_CustomBase));
  a.undo->setIcon(icon("edit-undo", QStyle::SP_ArrowBack));
  a.endEditing->setIcon(icon("window-close", QStyle::SP_DialogCloseButton));

  // Keys for the commands the text control has none of, so that the editor
  // is used without the mouse; they act while the panel shows. Cut, copy,
  // paste, undo and select all keep the text control's own keys.
  a.newDocument->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
  a.open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  a.save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  a.print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  a.find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
  a.endEditing->setShortcut(QKeySequence(Qt::Key_Escape));
  return a;
}

QToolBar* makeEditorToolBar(QWidget* parent, const EditorActions& a) {
  auto* bar = new QToolBar(parent);
  bar->setObjectName("ToolBar1");
  bar->setIconSize({16, 16});
  bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
  struct Button {
    QAction* action;
    const char* name;
  };
  const Button buttons[] = {
      {a.newDocument, "ToolButton1"}, {a.open, "ToolButton2"},          {a.save, "ToolButton3"},
      {a.print, "ToolButton5"},       {a.printerSetup, "ToolButton15"}, {a.cut, "ToolButton6"},
      {a.copy, "ToolButton7"},        {a.paste, "ToolButton8"},         {a.erase, "ToolButton10"},
      {a.find, "ToolButton11"},       {a.font, "ToolButton14"},         {a.undo, "ToolButton16"},
      {a.endEditing, "ToolButton13"}};
  for (const Button& b : buttons) {
    bar->addAction(b.action);
    if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(b.action))) {
      button->setObjectName(b.name);
      // Without an icon of the desktop's theme the button shows its name.
      if (b.action->icon().isNull()) button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    }
  }
  return bar;
}

QMenu* makeEditorMenu(QWidget* parent, const EditorActions& a) {
  auto* menu = new QMenu(parent);
  menu->setObjectName("PopupMenu1");
  for (QAction* item : {a.undo, a.cut, a.copy, a.paste, a.erase})
    menu->addAction(item);
  menu->addSeparator();
  menu->addAction(a.selectAll);
  menu->addAction(a.dateTime);
  menu->addSeparator();
  menu->addAction(a.wrap);
  menu->addSeparator();
  menu->addAction(a.colouring);
  menu->addAction(a.preview);
  return menu;
}

} // namespace kestrovan::editor
