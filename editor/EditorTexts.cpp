#include "editor/EditorTexts.h"

#include "files/SizeText.h"

namespace kestrovan::editor {
namespace {

constexpr const char* kProduct = " - Kestrovan";

// What is wrong with the line, for the warning and the question.
std::string alterationText(Alteration alteration, std::size_t line) {
  const std::string at = std::to_string(line) + " 行目";
  switch (alteration) {
  case Alteration::Undecodable:
    return at + "に Shift-JIS として読めないバイト（または別のコードで保存される文字）があります。";
  case Alteration::CutAtNul: return at + "に NUL バイトがあり、そこから後は読み込まれていません。";
  case Alteration::ReadLineWise:
    return "ファイルは行ごとに読み直されたため、" + at + "から内容が元のファイルと異なります。";
  case Alteration::None: break;
  }
  return {};
}

} // namespace

std::string editingCaption(const std::string& fileName) { return "<編集>" + fileName + kProduct; }
std::string modifiedCaption(const std::string& fileName) { return "<編集><変更>" + fileName + kProduct; }
std::string newDocumentCaption() { return std::string("<新規作成>") + kNewDocument + kProduct; }
std::string endedCaption() { return std::string("<編集>") + kProduct; }

std::string loadedSizeField(std::uint64_t size) { return "サイズ : " + files::sizeText(size); }

std::string caretField(std::size_t line, std::size_t column) {
  return std::to_string(line) + " , " + std::to_string(column);
}

std::string fontField(const std::string& family, int points) {
  return family + "  " + std::to_string(points);
}

std::string saveChangesQuestion(const std::string& documentName) {
  return documentName + " への変更を保存しますか？";
}

std::string cannotCreateMessage(const std::string& path) { return "ファイル " + path + " を作成できません"; }

std::string specialFileMessage(const std::string& path, const std::string& doing) {
  return path + " は" + doing + "できない種類のファイルです。";
}

std::string cannotOpenMessage(const std::string& path) { return "ファイル " + path + " は開けません"; }

std::string unencodableMessage(const TextPlace& place) {
  return std::to_string(place.line) + " 行 " + std::to_string(place.column) + " 桁目の文字「" +
         place.character +
         "」は Shift-JIS で保存できません。\n保存を中止しました（ファイルは書き換えていません）。";
}

std::string alteredOnOpenWarning(const std::string& path, Alteration alteration, std::size_t line) {
  return path + "\n" + alterationText(alteration, line) +
         "\n保存すると、その部分は読み込んだ時のバイトと変わります。";
}

std::string alteredSaveQuestion(const std::string& path, Alteration alteration, std::size_t line) {
  return path + "\n" + alterationText(alteration, line) +
         "\n保存すると、その部分は元のバイトと変わります。保存しますか？";
}

} // namespace kestrovan::editor
