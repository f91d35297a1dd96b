#pragma once
// The settings the file list reads, copied in from the settings record by
// the caller, so this module stays free of the application core.

#include <string>

namespace kestrovan::files {

struct ListOptions {
  std::string dirPath = "/";  // folder listed; no trailing "/" except "/" itself
  std::string mask = "*.NC";  // "*." + extension; the filter when allFiles is not "Y"
  std::string allFiles = "Y"; // "Y": every file; otherwise only files matching mask
  std::string fileSort = "N"; // sort key: "N" name, "S" size, "T" date
  std::string sortMuki = "D"; // sort direction: "D" or "U"
  std::string op3 = "N";      // "Y": the whole list in upper case
  std::string op4 = "N";      // "Y": long names instead of the 8.3 layout
  int listColumn = 2;         // 1 to 5 columns; other values act as 5
};

} // namespace kestrovan::files
