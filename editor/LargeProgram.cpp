#include "editor/LargeProgram.h"

#include "editor/LineIndex.h"
#include "editor/ProgramBytes.h"

namespace kestrovan::editor {

bool editsAsLargeProgram(const std::string& path) {
  ProgramBytes bytes = ProgramBytes::open(path);
  if (!bytes.opened()) return false;
  if (bytes.size() > kLargeProgramBytes) return true;
  while (!bytes.readMore(1024 * 1024)) {
    if (bytes.text().size() > kLargeProgramBytes) return true; // it grew meanwhile
  }
  LineIndex index(bytes.text());
  index.scan(bytes.text().size());
  return index.longestLine() > kLongLineBytes;
}

std::string notInLargeAreaMessage(const std::string& what) {
  return "大きなファイルの編集では" + what + "は使えません。";
}

} // namespace kestrovan::editor
