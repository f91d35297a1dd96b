#pragma once
// A program as the NC tools read it: the file loader's reading (bytes up to
// the first NUL, with its wrong-format question). A NUL in the middle of a
// program would silently drop everything after it from the split, the join
// or the doubled copy, so the operator is warned, as the editor warns, and
// nothing is written unless he goes on.

#include "base/Dialogs.h"

#include <cstddef>
#include <string>

namespace kestrovan::nctools {

enum class ToolInputEnd {
  Loaded,
  CannotOpen, // gone since it was listed, locked, not a plain file
  Declined,   // the operator would not go on without what follows a NUL
};

struct ToolInput {
  ToolInputEnd end = ToolInputEnd::Loaded;
  std::string text;
};

// A program that was read whole (for callers that have the bytes already).
inline ToolInput loadedInput(std::string text) { return {ToolInputEnd::Loaded, std::move(text)}; }

// The warning about a NUL on line `line` of `path`, asking whether to go on.
std::string nulCutQuestion(const std::string& path, std::size_t line);

ToolInput loadToolInput(const std::string& path, base::Dialogs& dialogs);

} // namespace kestrovan::nctools
