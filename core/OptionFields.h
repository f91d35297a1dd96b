#pragma once
// The options dialog without its window: the 24 fields on their four pages
// (label, accepted characters, length, the setting behind each), filling them
// from the settings, and Apply in its fixed order with the list refreshes it
// triggers.

#include "base/SettingsRecord.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrovan::core {

enum class OptionPage { General, Receive, Send, Other };

enum class OptionKind { Text, Integer };

struct OptionField {
  OptionPage page;
  int tag;             // 1-based, also the top-to-bottom order on its page
  const char* key;     // the settings key, also the field's object name
  const char* label;   // UTF-8, shown above the field
  const char* note;    // shown to the right of the field, or nullptr
  const char* accepts; // characters that can be typed (besides Backspace); nullptr: any
  int maxLength;       // 0: no limit
  OptionKind kind;
  std::string base::SettingsRecord::*text; // Text fields
  int32_t base::SettingsRecord::*integer;  // Integer fields
};

// Every field, page by page, in tag order.
const std::vector<OptionField>& optionFields();
const char* optionPageTitle(OptionPage page);
// The fields of one page in tag order (indices into optionFields()).
std::vector<int> optionFieldsOf(OptionPage page);

// The field's current text by key; the dialog fills these from the record.
struct OptionTexts {
  std::vector<std::string> texts; // parallel to optionFields()
  std::string& operator[](const std::string& key);
  const std::string& operator[](const std::string& key) const;
};
OptionTexts optionTextsFrom(const base::SettingsRecord& settings);

// Whether a typed character is accepted by a field. The field that accepts
// anything still refuses control characters. (Every field shows what is typed
// in upper case; that is the window's part.)
bool optionAccepts(const OptionField& field, char32_t c);

// What Apply asks of the main window when a setting that shapes the list
// changed. Called at the exact point of the order where the setting is taken.
class OptionEffects {
public:
  virtual ~OptionEffects() = default;
  virtual void allFilesChanged() = 0;   // refresh keeping the selection, idle after 1 s
  virtual void listColumnChanged() = 0; // lay out again, refresh keeping the selection, idle after 1 s
  virtual void letterCaseChanged() = 0; // op3 or op4: plain refresh
};

// Takes the fields into the record in the fixed order. An integer field that
// does not convert stops it there: what came before stays applied, and the
// returned text is that field's text (for the "'%s' は整数ではありません"
// message). nullopt when everything was applied.
std::optional<std::string> applyOptions(const OptionTexts& texts, base::SettingsRecord& settings,
                                        OptionEffects& effects);

// Decimal text to a 32-bit integer, as the conversion of a typed field: an
// empty or non-numeric text, or one out of range, gives nullopt.
std::optional<int32_t> toInteger(const std::string& text);

std::string notAnIntegerMessage(const std::string& text);

} // namespace kestrovan::core
