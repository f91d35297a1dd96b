#pragma once
// What the fuzz targets share: a scratch folder of the process's own, and
// a stop that names what did not hold.

#include <string>
#include <string_view>
#include <vector>

namespace kestrovan::fuzz {

// A folder made once per process under $TMPDIR (or /tmp), removed at exit.
const std::string& scratchFolder();
// Empties the scratch folder (between inputs).
void clearScratch();
// Every name in a folder, sorted.
std::vector<std::string> namesIn(const std::string& folder);
// Writes bytes to a file; false when it cannot.
bool writeFile(const std::string& path, std::string_view bytes);
// The file's bytes; empty when it cannot be read.
std::string readFile(const std::string& path);

// Prints what did not hold and aborts, so that libFuzzer keeps the input.
[[noreturn]] void fail(const char* what, std::string_view detail = {});
inline void check(bool holds, const char* what, std::string_view detail = {}) {
  if (!holds) fail(what, detail);
}

} // namespace kestrovan::fuzz
