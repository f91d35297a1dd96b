#pragma once
// What the editor panel says: its captions, status fields and messages.

#include "editor/ProgramText.h"

#include <cstdint>
#include <string>

namespace kestrovan::editor {

// The name of a document that has never been saved.
inline constexpr const char* kNewDocument = "new";
inline constexpr const char* kEditorTitle = "編集"; // title of the editor's message boxes

std::string editingCaption(const std::string& fileName);  // "<編集>" + name + " - Kestrovan"
std::string modifiedCaption(const std::string& fileName); // "<編集><変更>" + name + " - Kestrovan"
std::string newDocumentCaption();                         // "<新規作成>new - Kestrovan"
std::string endedCaption();                               // "<編集> - Kestrovan"

// Status field 0 after a file was loaded: "サイズ : " and its size text.
std::string loadedSizeField(std::uint64_t size);
// Status field 1: line " , " column.
std::string caretField(std::size_t line, std::size_t column);
// Status field 5: the font name, two spaces, its size in points.
std::string fontField(const std::string& family, int points);

// The closing question: document name + " への変更を保存しますか？".
std::string saveChangesQuestion(const std::string& documentName);
// "ファイル <path> を作成できません".
std::string cannotCreateMessage(const std::string& path);
// A pipe or a device the view or the editor does not read:
// path + " は" + doing + "できない種類のファイルです。".
std::string specialFileMessage(const std::string& path, const std::string& doing);
// A file that cannot be read: "ファイル <path> は開けません".
std::string cannotOpenMessage(const std::string& path);
// A character CP932 cannot hold stopped the save.
std::string unencodableMessage(const TextPlace& place);
// Opening a file that a save would not give back byte for byte, and the
// question before such a file is saved.
std::string alteredOnOpenWarning(const std::string& path, Alteration alteration, std::size_t line);
std::string alteredSaveQuestion(const std::string& path, Alteration alteration, std::size_t line);

} // namespace kestrovan::editor
