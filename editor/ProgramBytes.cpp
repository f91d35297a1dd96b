#include "editor/ProgramBytes.h"

#include <algorithm>
#include <cstring>

namespace kestrovan::editor {

ProgramBytes::ProgramBytes(std::string text) : text_(std::move(text)), size_(text_.size()), opened_(true) {}

ProgramBytes ProgramBytes::open(const std::string& path) {
  ProgramBytes bytes;
  bytes.opened_ = false;
  bytes.size_ = 0;
  auto file = std::make_unique<platform::FileReader>(path);
  if (!file->isOpen()) return bytes;
  bytes.opened_ = true;
  bytes.size_ = file->size().value_or(0);
  // Room for all of it, so that the text never moves while it comes in
  // (unless the file grows meanwhile).
  bytes.text_.reserve(static_cast<std::size_t>(bytes.size_));
  bytes.file_ = std::move(file);
  return bytes;
}

bool ProgramBytes::readMore(std::size_t bytes) {
  if (!file_) return true;
  const std::size_t filled = text_.size();
  std::size_t room = text_.capacity() - filled;
  long long n = 0;
  if (room == 0) {
    // All the size said is in: more only when the file grew meanwhile.
    char probe[4096];
    n = file_->read(probe, sizeof probe);
    if (n > 0) text_.append(probe, static_cast<std::size_t>(n));
  } else {
    room = std::min(room, bytes);
    text_.resize(filled + room);
    n = file_->read(text_.data() + filled, room);
    text_.resize(filled + static_cast<std::size_t>(std::max(n, 0LL)));
  }
  if (n <= 0) {
    file_.reset();
    return true;
  }
  const char* start = text_.data() + filled;
  if (const void* nul = std::memchr(start, '\0', static_cast<std::size_t>(n))) {
    text_.resize(filled + static_cast<std::size_t>(static_cast<const char*>(nul) - start));
    file_.reset();
    return true;
  }
  return false;
}

} // namespace kestrovan::editor
