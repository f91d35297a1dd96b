#pragma once
// Small rules of the main screen that need no window: paging and the
// characters each prompt refuses.

#include "host/PromptMode.h"

#include <optional>
#include <string>
#include <string_view>

namespace kestrovan::core {

// Page Up / Page Down over N rows with row i selected, S rows per screen
// (columns times rows per column). scrollTo is selected first so that the
// list brings the whole next screen into view; then select.
struct PageMove {
  int scrollTo;
  int select;
};
PageMove pageMove(bool down, int rowCount, int selected, int listColumns, int rowsPerColumn);

using host::PromptMode;

struct PromptRule {
  std::string forbidden; // characters that are refused
  std::string message;   // the box text that names them
};
PromptRule promptRule(PromptMode mode, const std::string& allFiles);

// True when an edit of the prompt line, however it came (typed, pasted,
// dropped, from an input method), put in a character the rule refuses. Only
// what the edit put in counts: the text before and after it (UTF-8) are
// compared, their common beginning and end left out.
bool refusesEdit(const PromptRule& rule, std::string_view before, std::string_view after);

} // namespace kestrovan::core
