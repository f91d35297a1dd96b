#pragma once
// The bytes a controller punches out for a program: leader, "%" line, the
// program's lines, "%" line, DC4 - in ISO with even parity or in EIA.

#include "ncsim/NcSimOptions.h"

#include <string>
#include <string_view>

namespace kestrovan::ncsim {

// `program` is the text of a program file. Carriage returns are dropped and
// each line ends in the code's line feed. With framing, a "%" line that the
// file already has at its start or end is not doubled. Characters that EIA
// has no code for (lower case, "#", "*" ...) are left out in EIA.
std::string punchStream(std::string_view program, const NcSimOptions& options);

} // namespace kestrovan::ncsim
