#pragma once
// The editor (E/F9, and with Shift a new document) as an operation module of
// the main window: the document shown in the panel GroupBox3, its name, and
// New, Open, Save and the end of editing.

#include "editor/ProgramText.h"
#include "editor/ui/EditorSeams.h"
#include "editor/ui/PrintForm.h"
#include "host/Host.h"
#include "host/Operation.h"

#include <QObject>

#include <memory>
#include <string>

namespace kestrovan::editor {

class EditorPanel;
class FindDialog;
class TextFeeder;

// How a save ended.
enum class SaveOutcome {
  Saved,
  NoName,   // the save dialog of a new document was cancelled
  Declined, // the operator would not have a file that was read with a warning changed
  Stopped,  // a character CP932 cannot hold: nothing written
  Failed    // the file could not be written: the old one is whole
};

// While the panel is shown the editor is the window's busy operation: a
// close request (the close box, F10 elsewhere, a signal) first ends the
// editing with its question, so that no change is dropped unasked.
class EditorOperations : public QObject, public host::Operation, public host::BusyOperation {
public:
  explicit EditorOperations(host::Host& host);
  ~EditorOperations() override;

  // Tests answer the editor's dialogs and give its clock.
  void setChoosers(EditorChoosers& choosers) { choosers_ = &choosers; }

  EditorPanel& panel() { return *panel_; }
  const std::string& documentName() const { return documentName_; }
  const std::string& fileName() const { return fileName_; }

  // The editing command: the selected file, or with Shift an empty document.
  void open(bool shift);
  void newDocument();
  void openFile();
  SaveOutcome save();
  void endEditing();
  // A close request: the editing ends as by 編集終了, and the window closes
  // when it has ended; Cancel in the closing question keeps both.
  bool requestStop() override;

private:
  void showFresh();
  void startNewDocument();
  // Asks about the changes of a modified text; false keeps the editing.
  bool changesMayGo();
  void backToList();
  void openPath(const std::string& path);
  void clearText();
  std::uint64_t load(const std::string& path);
  std::uint64_t loadLarge(const std::string& path);
  SaveOutcome saveLarge(const std::string& path);
  bool documentModified() const;
  // Tells that the large-program area does not do `what`; true when it shows.
  bool refusedInLargeArea(const std::string& what);
  bool refusedUnreadable(const std::string& path);
  void textChanged();
  void chooseFont();
  void findNext();
  void selectPlace(const TextPlace& place);
  void finish();

  host::Host& host_;
  QtEditorChoosers qtChoosers_;
  EditorChoosers* choosers_;
  EditorPanel* panel_;
  TextFeeder* feeder_;
  TPrintForm printForm_;
  FindDialog* findDialog_ = nullptr;
  std::string documentName_;
  std::string fileName_;
  // What the last file opened holds that a save would not give back.
  Alteration alteration_ = Alteration::None;
  std::size_t alteredLine_ = 0;
  bool askBeforeSave_ = false;
  bool loading_ = false; // text going in: no change of the user's
};

} // namespace kestrovan::editor
