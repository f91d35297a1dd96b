#pragma once
// The editor's commands as actions, shared by its tool bar (ToolButton1 ...
// ToolButton16, the hint as tool tip) and its context menu PopupMenu1, so
// that both show the same enabled states.

class QAction;
class QMenu;
class QObject;
class QToolBar;
class QWidget;

namespace kestrovan::editor {

struct EditorActions {
  QAction* newDocument;
  QAction* open;
  QAction* save;
  QAction* print;
  QAction* printerSetup;
  QAction* cut;
  QAction* copy;
  QAction* paste;
  QAction* erase;
  QAction* find;
  QAction* font;
  QAction* undo;
  QAction* endEditing;
  // The context menu's own.
  QAction* selectAll;
  QAction* dateTime;
  QAction* wrap;
  QAction* colouring;
  QAction* preview;
};

EditorActions makeEditorActions(QObject* owner);
QToolBar* makeEditorToolBar(QWidget* parent, const EditorActions& actions);
QMenu* makeEditorMenu(QWidget* parent, const EditorActions& actions);

} // namespace kestrovan::editor
