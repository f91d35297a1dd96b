#include "editor/ui/EditorOperations.h"

#include "base/Dialogs.h"
#include "base/SettingsRecord.h"
#include "editor/EditorFile.h"
#include "editor/EditorTexts.h"
#include "editor/LargeProgram.h"
#include "editor/NcColouringSetting.h"
#include "editor/PieceSave.h"
#include "editor/ui/EditorPanel.h"
#include "editor/ui/EditorStatusBar.h"
#include "editor/ui/FindDialog.h"
#include "editor/ui/LargeTextArea.h"
#include "editor/ui/NcHighlighter.h"
#include "editor/ui/TextFeeder.h"
#include "files/FileList.h"
#include "host/Host.h"
#include "platform/Paths.h"

#include <QAction>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QTextBlock>

namespace kestrovan::editor {

EditorOperations::EditorOperations(host::Host& host)
    : host_(host), qtChoosers_(host.dialogs()), choosers_(&qtChoosers_),
      panel_(new EditorPanel(host.window())), feeder_(new TextFeeder(panel_->text())),
      printForm_(host.window(), host.dialogs()), documentName_(kNewDocument), fileName_(kNewDocument) {
  host.setCommandHandler(host::Command::Edit, [this](bool shift) { open(shift); });
  host.setCommandHandler(host::Command::NewDocument, [this](bool) { open(true); });
  panel_->setCaption(endedCaption());
  const EditorActions& a = panel_->actions();
  connect(a.newDocument, &QAction::triggered, this, &EditorOperations::newDocument);
  connect(a.open, &QAction::triggered, this, &EditorOperations::openFile);
  connect(a.save, &QAction::triggered, this, [this] { save(); });
  connect(a.print, &QAction::triggered, this, [this] {
    if (refusedInLargeArea("印刷")) return;
    feeder_->finish();
    printForm_.print(*panel_->text(), fileName_);
  });
  connect(a.preview, &QAction::triggered, this, [this] {
    if (refusedInLargeArea("印刷プレビュー")) return;
    feeder_->finish();
    printForm_.preview(*panel_->text(), fileName_);
  });
  connect(a.printerSetup, &QAction::triggered, this, [this] { printForm_.printerSetup(); });
  connect(a.find, &QAction::triggered, this, &EditorOperations::findNext);
  connect(a.font, &QAction::triggered, this, &EditorOperations::chooseFont);
  connect(a.endEditing, &QAction::triggered, this, &EditorOperations::endEditing);
  connect(a.dateTime, &QAction::triggered, this, [this] {
    if (panel_->largeShown())
      panel_->large()->typeText(dateTimeStamp(choosers_->now()));
    else
      panel_->insertDateTime(dateTimeStamp(choosers_->now()));
  });
  connect(a.colouring, &QAction::toggled, this, [this](bool on) {
    host_.settings().NC_Color = on ? "Y" : "N";
    setNcColouring(panel_->text(), on);
    // The setting holds for the text control; the large area stays plain.
    if (on) refusedInLargeArea("NCシンタックス色分け");
  });
  connect(a.wrap, &QAction::toggled, this, [this](bool on) {
    if (on && refusedInLargeArea("右端で折り返し")) panel_->setWrap(false);
  });
  LargeTextArea* large = panel_->large();
  large->changed = [this] { textChanged(); };
  large->refused = [this](const QString& why) {
    host_.dialogs().show(
        {kEditorTitle, why.toStdString(), base::MessageButtons::Ok, base::MessageIcon::Warning});
    panel_->large()->setFocus();
  };
  QTextDocument* document = panel_->text()->document();
  connect(document, &QTextDocument::contentsChanged, this, &EditorOperations::textChanged);
  connect(document, &QTextDocument::modificationChanged, this, &EditorOperations::textChanged);
}

// A text still going in is dropped: its last step would call back here.
EditorOperations::~EditorOperations() { feeder_->abandon(); }

// The panel shown on an empty document named "new", with the mode, the
// settings' font and the colouring as they stand.
void EditorOperations::showFresh() {
  host_.setListEnabled(false);
  EditorStatusBar& status = panel_->status();
  for (int field : {CaretField, ChangeField, SelectionField, SearchField})
    status.setField(field, "");
  status.setField(SizeField, "ｻｲｽﾞ");
  const base::SettingsRecord& s = host_.settings();
  QFont font(QString::fromStdString(s.Font_Name));
  font.setPointSize(s.Font_Size > 0 ? s.Font_Size : 10);
  panel_->setEditorFont(font);
  const bool colour = ncColouringOn(s);
  panel_->actions().colouring->setChecked(colour);
  setNcColouring(panel_->text(), colour);
  panel_->setInsertMode(panel_->insertMode());
  documentName_ = kNewDocument;
  if (panel_->box()->isHidden()) host_.beginBusy(*this);
  panel_->box()->show();
  panel_->box()->raise();
}

void EditorOperations::open(bool shift) {
  if (shift) {
    showFresh();
    // A new document: the last file's name stays neither in the captions nor
    // in the print title.
    startNewDocument();
    panel_->status().setField(SizeField, "ｻｲｽﾞ");
    panel_->text()->setFocus();
    return;
  }
  const files::FileEntry* entry = host_.fileList().entryAt(host_.selectedRow());
  if (!entry || host_.fileList().rowKind(host_.selectedRow()) != files::RowKind::File) {
    backToList();
    return;
  }
  const std::string path = platform::joinPath(host_.settings().DirPath, entry->name);
  if (refusedUnreadable(path)) {
    backToList();
    return;
  }
  showFresh();
  openPath(path);
}

// Nothing to edit: the list takes the keys again.
void EditorOperations::backToList() {
  panel_->setCaption(endedCaption());
  host_.setListEnabled(true);
  host_.focusList();
}

void EditorOperations::newDocument() {
  if (!changesMayGo()) return;
  startNewDocument();
}

void EditorOperations::startNewDocument() {
  feeder_->abandon();
  clearText();
  documentName_ = fileName_ = kNewDocument;
  alteration_ = Alteration::None;
  askBeforeSave_ = false;
  panel_->setCaption(newDocumentCaption());
  panel_->status().setField(ChangeField, "");
  panel_->status().setField(CaretField, caretField(1, 1));
  panel_->status().setField(SizeField, "サイズ");
}

// An empty text, unchanged; clearing it is no edit of the user's.
void EditorOperations::clearText() {
  panel_->large()->clear();
  panel_->showLarge(false);
  loading_ = true;
  panel_->text()->clear();
  panel_->text()->document()->setModified(false);
  loading_ = false;
}

void EditorOperations::openFile() {
  if (!changesMayGo()) return;
  const base::SettingsRecord& s = host_.settings();
  const std::optional<std::string> path = choosers_->openFile(host_.window(), s.DirPath, s.Mask);
  if (!path || refusedUnreadable(*path)) return;
  openPath(*path);
}

// The file becomes the document, with the caret at its start.
void EditorOperations::openPath(const std::string& path) {
  documentName_ = fileName_ = path;
  panel_->status().setField(ChangeField, "");
  panel_->status().setField(CaretField, caretField(1, 1));
  const std::uint64_t size = editsAsLargeProgram(path) ? loadLarge(path) : load(path);
  panel_->status().setField(SizeField, loadedSizeField(size));
  panel_->setCaption(editingCaption(path));
  panel_->textArea()->setFocus();
}

// A pipe or a device is not read (the reading could wait for ever), and a
// file that cannot be read is told rather than opened as an empty one.
bool EditorOperations::refusedUnreadable(const std::string& path) {
  const std::optional<std::string> refusal = refusalMessage(path, "編集");
  if (!refusal) return false;
  host_.dialogs().show({kEditorTitle, *refusal, base::MessageButtons::Ok, base::MessageIcon::Warning});
  return true;
}

// The file loader on the editor's text, without change events; a file that
// would not come back byte for byte is named with its first such line.
std::uint64_t EditorOperations::load(const std::string& path) {
  panel_->large()->clear();
  panel_->showLarge(false);
  const OpenedProgram program =
      openForEditing(path, [this] { return serial::askWrongFormat(host_.dialogs()); });
  // A long text goes in piece by piece; the editor takes no edit before
  // the last piece is in, and what needs the whole text waits for it.
  loading_ = true;
  feeder_->start(QString::fromStdString(program.decoded.text), [this] {
    panel_->text()->document()->setModified(false);
    loading_ = false;
    panel_->showCaret();
  });
  alteration_ = program.decoded.alteration;
  alteredLine_ = program.decoded.alteredLine;
  askBeforeSave_ = alteration_ != Alteration::None;
  panel_->showCaret();
  if (askBeforeSave_)
    host_.dialogs().show({kEditorTitle, alteredOnOpenWarning(path, alteration_, alteredLine_),
                          base::MessageButtons::Ok, base::MessageIcon::Warning});
  return program.size;
}

// A program too large for the text control goes into the large-program area
// as it is read, the window alive meanwhile. Its bytes are edited as they
// are: a save writes back what was not edited byte for byte, line ends and
// bytes that are no CP932 included.
std::uint64_t EditorOperations::loadLarge(const std::string& path) {
  feeder_->abandon();
  clearText();
  ProgramBytes bytes = ProgramBytes::open(path);
  const std::uint64_t size = bytes.size();
  alteration_ = Alteration::None;
  askBeforeSave_ = false;
  LargeTextArea* large = panel_->large();
  large->loadedWhole = [this, path] {
    const PieceTable& table = panel_->large()->table();
    if (!table.cutShort()) return;
    // The loader's reading stopped at a NUL: a save would drop the rest.
    alteration_ = Alteration::CutAtNul;
    alteredLine_ = table.lineCount();
    askBeforeSave_ = true;
    host_.dialogs().show({kEditorTitle, alteredOnOpenWarning(path, alteration_, alteredLine_),
                          base::MessageButtons::Ok, base::MessageIcon::Warning});
  };
  panel_->showLarge(true);
  large->open(std::move(bytes));
  panel_->showCaret();
  return size;
}

SaveOutcome EditorOperations::saveLarge(const std::string& path) {
  LargeTextArea* large = panel_->large();
  large->finishLoading();
  if (askBeforeSave_ &&
      host_.dialogs().show({kEditorTitle, alteredSaveQuestion(path, alteration_, alteredLine_),
                            base::MessageButtons::YesNo, base::MessageIcon::Warning}) !=
          base::MessageAnswer::Yes)
    return SaveOutcome::Declined;
  if (savePieces(path, large->table()).status != SaveStatus::Written) {
    host_.dialogs().show(
        {kEditorTitle, cannotCreateMessage(path), base::MessageButtons::Ok, base::MessageIcon::Stop});
    return SaveOutcome::Failed;
  }
  large->table().markSaved();
  documentName_ = fileName_ = path;
  askBeforeSave_ = false;
  panel_->setCaption(editingCaption(path));
  panel_->status().setField(ChangeField, "");
  return SaveOutcome::Saved;
}

bool EditorOperations::documentModified() const {
  if (panel_->largeShown()) {
    const PieceTable& table = panel_->large()->table();
    return table.modified() && table.size() > 0;
  }
  const QTextDocument* document = panel_->text()->document();
  return document->isModified() && !document->isEmpty();
}

bool EditorOperations::refusedInLargeArea(const std::string& what) {
  if (!panel_->largeShown()) return false;
  host_.dialogs().show(
      {kEditorTitle, notInLargeAreaMessage(what), base::MessageButtons::Ok, base::MessageIcon::Information});
  panel_->large()->setFocus();
  return true;
}

SaveOutcome EditorOperations::save() {
  feeder_->finish();
  std::optional<std::string> path = fileName_;
  if (documentName_ == kNewDocument) path = choosers_->saveFile(host_.window(), host_.settings().DirPath);
  if (!path) return SaveOutcome::NoName;
  if (panel_->largeShown()) return saveLarge(*path);
  if (askBeforeSave_ &&
      host_.dialogs().show({kEditorTitle, alteredSaveQuestion(*path, alteration_, alteredLine_),
                            base::MessageButtons::YesNo, base::MessageIcon::Warning}) !=
          base::MessageAnswer::Yes)
    return SaveOutcome::Declined;
  const SaveResult result = saveEditedText(*path, panel_->text()->toPlainText().toStdString(),
                                           alteration_ == Alteration::Undecodable);
  if (result.status == SaveStatus::Unencodable) {
    selectPlace(result.unencodable);
    host_.dialogs().show({kEditorTitle, unencodableMessage(result.unencodable), base::MessageButtons::Ok,
                          base::MessageIcon::Stop});
    return SaveOutcome::Stopped;
  }
  if (result.status == SaveStatus::CannotCreate) {
    host_.dialogs().show(
        {kEditorTitle, cannotCreateMessage(*path), base::MessageButtons::Ok, base::MessageIcon::Stop});
    return SaveOutcome::Failed;
  }
  documentName_ = fileName_ = *path;
  askBeforeSave_ = false;
  panel_->setCaption(editingCaption(*path));
  panel_->status().setField(ChangeField, "");
  loading_ = true;
  panel_->text()->document()->setModified(false);
  loading_ = false;
  return SaveOutcome::Saved;
}

// The character that stopped a save, selected so that the operator sees it.
void EditorOperations::selectPlace(const TextPlace& place) {
  QPlainTextEdit* text = panel_->text();
  const QTextBlock block = text->document()->findBlockByNumber(static_cast<int>(place.line) - 1);
  if (!block.isValid()) return;
  const QString line = block.text();
  int offset = 0;
  for (std::size_t c = 1; c < place.column && offset < line.size(); ++c)
    offset += line.at(offset).isHighSurrogate() ? 2 : 1;
  const int length = offset < line.size() && line.at(offset).isHighSurrogate() ? 2 : 1;
  QTextCursor cursor(text->document());
  cursor.setPosition(block.position() + offset);
  cursor.setPosition(std::min(block.position() + offset + length, block.position() + int(line.size())),
                     QTextCursor::KeepAnchor);
  text->setTextCursor(cursor);
  text->setFocus();
}

void EditorOperations::textChanged() {
  if (loading_) return;
  if (documentModified()) {
    panel_->setCaption(modifiedCaption(fileName_));
    panel_->status().setField(ChangeField, "＜変更＞");
  } else {
    panel_->status().setField(ChangeField, "        ");
  }
}

void EditorOperations::chooseFont() {
  if (refusedInLargeArea("フォントの変更")) return;
  const std::optional<QFont> font = choosers_->chooseFont(host_.window(), panel_->text()->font());
  if (!font) return;
  panel_->setEditorFont(*font);
  panel_->text()->moveCursor(QTextCursor::Start);
  host_.settings().Font_Name = font->family().toStdString();
  if (font->pointSize() > 0) host_.settings().Font_Size = font->pointSize();
}

void EditorOperations::findNext() {
  feeder_->finish();
  if (!findDialog_) {
    FindTarget target;
    target.text = panel_->text();
    target.dialogs = &host_.dialogs();
    target.setSearchField = [this](const std::string& text) { panel_->status().setField(SearchField, text); };
    target.caretMoved = [this] { panel_->showCaret(); };
    target.wholeText = [this] {
      feeder_->finish();
      if (panel_->largeShown()) panel_->large()->finishLoading();
    };
    target.largeArea = [this]() -> LargeTextArea* {
      return panel_->largeShown() ? panel_->large() : nullptr;
    };
    findDialog_ = new FindDialog(std::move(target), host_.window());
  }
  findDialog_->showFind();
}

// The closing question for a changed text. Yes saves it; only a save that
// was made lets the text go. Cancel, and a save that did not happen, keep
// the editing with every change.
bool EditorOperations::changesMayGo() {
  if (!documentModified()) return true;
  const base::MessageAnswer answer =
      host_.dialogs().show({kEditorTitle, saveChangesQuestion(documentName_),
                            base::MessageButtons::YesNoCancel, base::MessageIcon::Warning});
  const bool mayGo = answer == base::MessageAnswer::No ||
                     (answer == base::MessageAnswer::Yes && save() == SaveOutcome::Saved);
  if (!mayGo) panel_->textArea()->setFocus();
  return mayGo;
}

void EditorOperations::endEditing() {
  if (!changesMayGo()) return;
  feeder_->abandon(); // a text still going in is unchanged
  finish();
}

bool EditorOperations::requestStop() {
  endEditing();
  return panel_->box()->isHidden();
}

void EditorOperations::finish() {
  if (findDialog_) findDialog_->hide();
  panel_->setCaption(endedCaption());
  clearText();
  panel_->box()->hide();
  host_.refreshFileList({});
  host_.showMessage("編集終了!!", host::MessageColour::Red);
  host_.ReturnToIdle(1000);
  host_.setListEnabled(true);
  host_.focusList();
  host_.endBusy();
}

} // namespace kestrovan::editor
