#pragma once
// FindDialog1: the editor's non-modal find dialog (direction, match case,
// whole word always disabled, help). Each press of its find-next button runs
// one search in the editor's text and selects the hit or reports the miss.

#include <QDialog>

#include <functional>
#include <string>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTextDocument;

namespace kestrovan::base {
class Dialogs;
}

namespace kestrovan::editor {

class LargeTextArea;

// What a search uses of the editor besides its text area.
struct FindTarget {
  QPlainTextEdit* text = nullptr;
  base::Dialogs* dialogs = nullptr;
  // Status field 6: "文字列検索中" during a search, empty after it.
  std::function<void(const std::string&)> setSearchField;
  // The caret moved (status field 1 shows the new position).
  std::function<void()> caretMoved;
  // Puts in the rest of a text still going into the text area, so that a
  // search looks through all of it.
  std::function<void()> wholeText;
  // The large-program area when it shows the document instead of the text
  // control: the search then goes through its pieces.
  std::function<LargeTextArea*()> largeArea;
};

// The miss message and its caption.
inline constexpr const char* kSearchMissText = "検索文字列が見当たりません！";
inline constexpr const char* kSearchCaption = "編集";
inline constexpr const char* kSearchingField = "文字列検索中";

// Children by object name: FindText, DirectionUp, DirectionDown, MatchCase,
// WholeWord (always disabled), FindNextButton, CancelButton, HelpButton.
class FindDialog : public QDialog {
public:
  FindDialog(FindTarget target, QWidget* parent);

  // Shows the dialog beside the editor (or raises it) with its last text.
  void showFind();
  // One search with the dialog's current text and options.
  void findNext();

protected:
  void hideEvent(QHideEvent* event) override;

private:
  const QString& documentText();
  void showHelp();
  void selectHit(int position, int length);
  // One search in the large-program area; false on a miss.
  bool findInLargeArea(LargeTextArea& area);

  FindTarget target_;
  QLineEdit* text_ = nullptr;
  QRadioButton* up_ = nullptr;
  QRadioButton* down_ = nullptr;
  QCheckBox* matchCase_ = nullptr;
  QCheckBox* wholeWord_ = nullptr;
  QPushButton* findNext_ = nullptr;
  QTextDocument* textOf_ = nullptr; // the document textCache_ was taken from
  QString textCache_;
  bool textStale_ = true;
};

} // namespace kestrovan::editor
