#include "core/ScreenRules.h"
#include "platform/Text.h"

#include <algorithm>

namespace kestrovan::core {

PageMove pageMove(bool down, int rowCount, int selected, int listColumns, int rowsPerColumn) {
  const int screen = std::max(1, listColumns * rowsPerColumn);
  if (rowCount <= 0) return {-1, -1};
  if (rowCount <= screen) {
    const int row = down ? rowCount - 1 : 0;
    return {row, row};
  }
  const int q = std::max(selected, 0) / screen;
  // From the first or the last screen the computed row lies outside the
  // list; the first or last row is selected instead of leaving none.
  if (!down) {
    const int row = std::max(0, screen * (q - 1));
    return {row, row};
  }
  const int next = screen * (q + 1);
  if (next >= rowCount) return {rowCount - 1, rowCount - 1};
  const int scroll = std::min(rowCount - 1, next + (listColumns - 1) * rowsPerColumn);
  return {scroll, next};
}

PromptRule promptRule(PromptMode mode, const std::string& allFiles) {
  switch (mode) {
  case PromptMode::ReceiveName:
  case PromptMode::CopyName:
    if (allFiles == "Y") return {"/:,;*?<>|", "この文字はファイル名に使えません。\n/:,;*?<>|"};
    return {"/:,;*?<>|.", "この文字はファイル名に使えません。\n/:,;*?<>|."};
  // Folders are typed as paths, so "/" is the separator here and the
  // backslash takes its place among the refused characters.
  case PromptMode::Folder: return {"\\,;*?<>|", "この文字はディレクトリ名に使えません。\n\\,;*?<>|"};
  case PromptMode::Extension: return {"/:,;?<>|", "この文字は拡張子に使えません。\n/:,;?<>|"};
  case PromptMode::None: break;
  }
  return {};
}

bool refusesEdit(const PromptRule& rule, std::string_view before, std::string_view after) {
  std::size_t start = 0;
  while (start < before.size() && start < after.size() && before[start] == after[start])
    ++start;
  std::size_t end = after.size();
  std::size_t beforeEnd = before.size();
  while (end > start && beforeEnd > start && before[beforeEnd - 1] == after[end - 1]) {
    --end;
    --beforeEnd;
  }
  // The refused characters are ASCII, which never occurs inside a multi-byte
  // UTF-8 character, so a byte-wise comparison cannot cut one in a way that
  // matters.
  return after.substr(start, end - start).find_first_of(rule.forbidden) != std::string_view::npos;
}

} // namespace kestrovan::core
