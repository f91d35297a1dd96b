#pragma once
// GroupBox3, the editor panel over the file list: the tool bar, the text
// area, StatusBar3 and the context menu PopupMenu1. It keeps what the
// screen shows in step with the text: caret line and column, the selection
// and the actions that need one, insert or overwrite mode with its caret,
// the undo state, the font, wrapping, the date stamp. What a document is
// (its name, loading, saving, ending) is EditorOperations' business.

#include "editor/ui/EditorActions.h"

#include <QObject>

#include <string>

class QFont;
class QGroupBox;
class QMenu;
class QPlainTextEdit;
class QToolBar;
class QWidget;

namespace kestrovan::editor {

class EditorStatusBar;
class LargeTextArea;

class EditorPanel : public QObject {
public:
  explicit EditorPanel(QWidget* window);

  QGroupBox* box() const { return GroupBox3; }
  QPlainTextEdit* text() const { return text_; }
  // The text area for programs too large for the text control; shown in its
  // place while such a program is edited.
  LargeTextArea* large() const { return large_; }
  bool largeShown() const { return largeShown_; }
  void showLarge(bool on);
  // The area that shows the document.
  QWidget* textArea() const;
  EditorStatusBar& status() const { return *status_; }
  const EditorActions& actions() const { return actions_; }

  void setCaption(const std::string& caption);
  std::string caption() const;

  // Insert mode is the main window's: on at start, kept between openings.
  bool insertMode() const { return insertMode_; }
  void setInsertMode(bool on);
  // Field 1 from the selection start; field 4 and cut, copy and delete from
  // the selection and the mode.
  void showCaret();

  void setEditorFont(const QFont& font);
  // Replaces the selection by "(" time " " date ")".
  void insertDateTime(const QString& stamp);
  void setWrap(bool on);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void showContextMenu(const QPoint& at);

  QGroupBox* GroupBox3;
  QToolBar* toolBar_;
  QPlainTextEdit* text_;
  LargeTextArea* large_;
  bool largeShown_ = false;
  EditorStatusBar* status_;
  EditorActions actions_;
  QMenu* PopupMenu1;
  bool insertMode_ = true;
};

} // namespace kestrovan::editor
