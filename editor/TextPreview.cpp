#include "editor/TextPreview.h"

#include <algorithm>
#include <cstring>

namespace kestrovan::editor {

bool IsTextFile(const char* buffer, std::size_t length) {
  const std::size_t n = std::min<std::size_t>(length, 100);
  return n == 0 || std::memchr(buffer, '\0', n) == nullptr;
}

} // namespace kestrovan::editor
