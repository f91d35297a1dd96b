#include "editor/FileViewText.h"

#include "platform/Cp932.h"
#include "serial/ProgramFile.h"

namespace kestrovan::editor {

std::string fileViewText(std::string_view programText) {
  std::string lines;
  lines.reserve(programText.size());
  serial::ProgramLines walk(programText);
  serial::ProgramLine line;
  bool first = true;
  while (walk.next(line)) {
    if (!first) lines += '\n';
    lines.append(line.text);
    first = false;
  }
  return platform::cp932ToUtf8(lines);
}

} // namespace kestrovan::editor
