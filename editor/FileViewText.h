#pragma once
// The text of a program as the file view shows it: one view line per program
// line, whatever the file's line ends (CR LF, LF, a lone CR), decoded from
// CP932 to UTF-8. The program's bytes themselves are never changed.

#include <string>
#include <string_view>

namespace kestrovan::editor {

std::string fileViewText(std::string_view programText);

} // namespace kestrovan::editor
