#pragma once
// The join of files into one: the text of each (as the file loader gives
// it) one after another, every line followed by CR LF, so that a file whose
// last line has no line end never runs into the next one.

#include "nctools/OutputFiles.h"
#include "nctools/ToolInput.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kestrovan::nctools {

// Whether the output would be one of the inputs: the same name, or the same
// file on disk under another name ("a.NC" for "A.NC" on a file system that
// ignores case, a link).
bool outputIsAnInput(const std::string& outputPath, const std::vector<std::string>& inputPaths);

enum class JoinEnd { Done, CannotCreate, CannotWrite, CannotOpen, Declined, Stopped };

struct JoinResult {
  JoinEnd end = JoinEnd::Done;
  int error = 0;
  std::size_t failedInput = 0; // CannotOpen, Declined: the index of the input
};

using LoadProgram = std::function<ToolInput(const std::string& path)>;

// `load` gives a file's program text (the loader, with its questions); a
// file that cannot be opened, or whose NUL the operator would not go past,
// stops the join, since a joined file without it would look complete;
// `joining` is told the index of each input as it is appended;
// `stopRequested` is asked after each one. Nothing is written unless every
// input went in.
JoinResult joinFiles(const std::vector<std::string>& inputPaths, const std::string& outputPath,
                     OutputFiles& outputs, const LoadProgram& load,
                     const std::function<void(std::size_t)>& joining = {},
                     const std::function<bool()>& stopRequested = {});

} // namespace kestrovan::nctools
