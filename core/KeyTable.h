#pragma once
// The command keys of the file list as one table: which key, with or without
// Shift, runs which command, under which condition, and the function-key line
// slot that names it. The dispatcher and the two function-key texts are both
// read from this table, so they cannot disagree.

#include "files/FileList.h"
#include "host/Commands.h"

#include <optional>
#include <string>

namespace kestrovan::core {

using host::Command;

enum class Key {
  F1,
  F2,
  F3,
  F4,
  F5,
  F6,
  F7,
  F8,
  F9,
  F10,
  Esc,
  Space,
  PageUp,
  PageDown,
  Home,
  End,
  Enter,
  B,
  C,
  D,
  E,
  F,
  H,
  I,
  K,
  L,
  M,
  O,
  R,
  S,
  T,
  V,
  X,
  Y,
  Z,
};

// What the selected row must be for the command to run; otherwise the key
// does nothing (and says nothing).
enum class Condition {
  None,
  FileRow,          // a file row is selected
  FileRowUnshifted, // a file row, unless Shift is held (F9/E: new document)
  NotParentRow,     // any row but ".." (an empty selection fails too)
  AtLeastOneMark,
};

struct KeyBinding {
  Key key;
  Command plain;
  Command shifted;
  Condition condition;
  bool consumed;    // the list widget must not also act on the key
  const char* slot; // function-key line slot (F-keys only), UTF-8
  const char* shiftedSlot;
};

// The binding of a key; nullopt for keys that only do the common steps.
std::optional<KeyBinding> findBinding(Key key);

inline Command commandFor(const KeyBinding& b, bool shift) { return shift ? b.shifted : b.plain; }

// Whether a binding's condition holds for the selected row's kind and the
// number of marks.
bool conditionHolds(Condition condition, files::RowKind selected, int markCount, bool shift);

// The function key that a click at (x, y) on the two function-key lines
// stands for, 1 to 10: the upper line F1 to F5, the lower F6 to F10, each
// slot from its "Fn" to the next one; nothing right of the last slot.
std::optional<int> functionKeyAt(int x, int y);

// The two lines of function-key texts, F1-F5 and F6-F10, normal or Shift.
std::string functionKeyText(bool shift);

// The letter-command list of the key-help panel.
extern const char* const kLetterCommandList;

} // namespace kestrovan::core
