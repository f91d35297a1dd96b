#include "serial/ProgramFile.h"

#include "platform/FileReader.h"

#include <algorithm>
#include <cstring>

namespace kestrovan::serial {
namespace {

constexpr std::size_t kChunk = 1 << 16;

// Reads the file straight into one buffer of the size the file system gives,
// stopping at the first NUL: no second copy of a large program is made.
void readUpToNul(platform::FileReader& file, ProgramFile& program) {
  const std::size_t expected = static_cast<std::size_t>(program.size);
  std::string& text = program.text;
  text.resize(expected);
  std::size_t filled = 0;
  for (;;) {
    if (filled == text.size()) {
      // All the size said is in: more only when the file grew meanwhile.
      char probe[1];
      if (file.read(probe, 1) != 1) break;
      text.resize(text.size() + kChunk);
      text[filled] = probe[0];
      if (probe[0] == '\0') break;
      ++filled;
      continue;
    }
    long long n = file.read(text.data() + filled, text.size() - filled);
    if (n <= 0) break; // the end, or a read error: keep what came
    const char* start = text.data() + filled;
    const void* nul = std::memchr(start, '\0', static_cast<std::size_t>(n));
    if (nul) {
      filled += static_cast<std::size_t>(static_cast<const char*>(nul) - start);
      break;
    }
    filled += static_cast<std::size_t>(n);
  }
  text.resize(filled);
}

// The second reading, the way a text-mode line reader sees the file: a
// carriage return before a line feed is dropped, a piece ends after a line
// feed or at kLineWisePieceBytes bytes, and each piece is text up to its own
// first NUL. Non-empty pieces, without their line feed, become lines.
class LineWiseReader {
public:
  explicit LineWiseReader(std::string& out) : out_(out) {}

  void feed(const char* bytes, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
      take(bytes[i]);
  }
  void finish() {
    if (pendingCr_) put('\r');
    pendingCr_ = false;
    endPiece();
  }

private:
  void take(char c) {
    if (pendingCr_) {
      pendingCr_ = false;
      if (c != '\n') put('\r');
    }
    if (c == '\r') {
      pendingCr_ = true;
      return;
    }
    put(c);
  }
  void put(char c) {
    piece_ += c;
    if (c == '\n' || piece_.size() == kLineWisePieceBytes) endPiece();
  }
  void endPiece() {
    std::string_view line(piece_.data(), std::min(piece_.size(), std::strlen(piece_.c_str())));
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    if (!line.empty()) {
      out_.append(line);
      out_ += '\n';
    }
    piece_.clear();
  }

  std::string& out_;
  std::string piece_;
  bool pendingCr_ = false;
};

void readLineWise(const std::string& path, ProgramFile& program) {
  platform::FileReader file(path);
  if (!file.isOpen()) return;
  LineWiseReader reader(program.text);
  std::string buffer(kChunk, '\0');
  for (;;) {
    long long n = file.read(buffer.data(), buffer.size());
    if (n <= 0) break;
    reader.feed(buffer.data(), static_cast<std::size_t>(n));
  }
  reader.finish();
  program.readLineWise = true;
}

} // namespace

ProgramFile loadProgramFile(const std::string& path, const WrongFormatQuestion& askReadAgain) {
  ProgramFile program;
  {
    platform::FileReader file(path);
    if (file.isOpen()) {
      program.opened = true;
      program.size = file.size().value_or(0);
      readUpToNul(file, program);
    }
  }
  if (program.text.empty() && askReadAgain && askReadAgain()) readLineWise(path, program);
  if (program.size == 0) program.text.clear();
  return program;
}

bool askWrongFormat(base::Dialogs& dialogs) {
  return dialogs.show({"警告", kWrongFormatQuestion, base::MessageButtons::YesNo,
                       base::MessageIcon::Warning}) == base::MessageAnswer::Yes;
}

bool ProgramLines::next(ProgramLine& line) {
  if (pos_ >= text_.size()) return false;
  const std::size_t start = pos_;
  // A plain loop: a line end is rare among the bytes, and this walks a
  // 100 MB program several times faster than a search for either of two.
  const char* const data = text_.data();
  std::size_t end = start;
  while (end < text_.size() && data[end] != '\n' && data[end] != '\r')
    ++end;
  if (end == text_.size()) {
    line = {text_.substr(start), 0};
    pos_ = text_.size();
    return true;
  }
  std::size_t after = end;
  if (text_[end] == '\r') {
    // Carriage returns right before a line feed belong to that line end
    // (CR LF, and the CR CR LF some punches write); one on its own ends a line.
    std::size_t crs = end;
    while (crs < text_.size() && text_[crs] == '\r')
      ++crs;
    after = crs < text_.size() && text_[crs] == '\n' ? crs + 1 : end + 1;
  } else {
    after = end + 1;
  }
  line = {text_.substr(start, end - start), after - end};
  pos_ = after;
  return true;
}

} // namespace kestrovan::serial
