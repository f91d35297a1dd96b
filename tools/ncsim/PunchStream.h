#pragma once
// The bytes a controller punches out for a program: leader, "%" line, the
// program's lines, "%" line, DC4 - in ISO with even parity or in EIA.

#include "ncsim/NcSimOptions.h"

#include <string>
#include <string_view>
#include <vector>

namespace kestrovan::ncsim {

// `program` is the text of a program file. Carriage returns are dropped and
// each line ends in the code's line feed. With framing, a "%" line that the
// file already has at its start or end is not doubled. Characters that EIA
// has no code for (lower case, "#", "*" ...) are left out in EIA.
std::string punchStream(std::string_view program, const NcSimOptions& options);

// The program lines a controller would hold: the file's own tape marks
// ("%" lines, a leading "%" before the first word, a Ctrl-Z after the end) and
// blank lines at either end taken away.
std::vector<std::string> programLinesForPunch(std::string_view program);

} // namespace kestrovan::ncsim
