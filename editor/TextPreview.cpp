#include "editor/TextPreview.h"

#include "platform/FileReader.h"

#include <algorithm>
#include <cstring>
#include <sys/stat.h>

namespace kestrovan::editor {

bool IsTextFile(const char* buffer, std::size_t length) {
  const std::size_t n = std::min<std::size_t>(length, kTextTestBytes);
  return n == 0 || std::memchr(buffer, '\0', n) == nullptr;
}

FilePreview previewFile(const std::string& path) {
  FilePreview preview;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return preview;
  platform::FileReader reader(path);
  if (!reader.isOpen()) {
    preview.kind = FilePreview::Kind::Unreadable;
    preview.error = std::strerror(reader.error());
    return preview;
  }
  std::string bytes(kPreviewBytes, '\0');
  std::size_t got = 0;
  while (got < bytes.size()) {
    const long long n = reader.read(bytes.data() + got, bytes.size() - got);
    if (n < 0) {
      preview.kind = FilePreview::Kind::Unreadable;
      preview.error = std::strerror(reader.error());
      return preview;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  bytes.resize(got);
  if (!IsTextFile(bytes.data(), bytes.size())) {
    preview.kind = FilePreview::Kind::NotText;
    return preview;
  }
  if (const std::size_t nul = bytes.find('\0'); nul != std::string::npos) bytes.resize(nul);
  preview.kind = FilePreview::Kind::Text;
  preview.bytes = std::move(bytes);
  return preview;
}

} // namespace kestrovan::editor
