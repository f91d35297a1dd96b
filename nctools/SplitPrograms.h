#pragma once
// The split of a loaded program file into one file per program: a line that
// begins with "O", ":" or "L" (capitals) opens a program; it and the lines
// after it up to the next such line go into a file named after it. Lines
// that begin with "%" are never copied; the lines before the first program
// go into the first program's file. The bytes are written as they are (the
// Shift-JIS text is never converted), each line followed by CR LF.

#include "nctools/OutputFiles.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrovan::nctools {

struct SplitOptions {
  bool F_Set = false; // every file begins with a "%" line
  bool B_Set = false; // every file ends with a "%" line
  bool N_Set = false; // the running number ("_001") after the program name
};

struct SplitRequest {
  std::string folder;    // the destination folder, which exists
  std::string extension; // of the output files (toolExtension of the mask)
  SplitOptions options;
  std::string source; // the file being split: never written over (none when empty)
};

struct SplitEvents {
  std::function<void(const std::string& header)> programFound; // the program-number line
  std::function<void(std::size_t lines)> progress;             // lines done so far
  std::function<bool()> stopRequested;                         // asked after every line
};

enum class SplitEnd {
  Done,
  NoProgram,    // no program-number line: nothing was written
  CannotCreate, // a file could not be written: failedPath; the ones before it stay, complete
  Stopped,      // asked to stop: the finished files stay, the unfinished one is gone
};

struct SplitResult {
  SplitEnd end = SplitEnd::NoProgram;
  std::vector<std::string> files; // complete and in place, in order
  std::string failedPath;
  int error = 0;
};

SplitResult splitPrograms(std::string_view text, const SplitRequest& request, OutputFiles& outputs,
                          const SplitEvents& events = {});

// Div_Sub.ini, section Sub: each key "1" or "0"; a missing file, section or
// key is clear, any non-zero number set.
SplitOptions loadSplitOptions(const std::string& path);
bool saveSplitOptions(const std::string& path, const SplitOptions& options);

} // namespace kestrovan::nctools
