#pragma once
// The file loader: reads an NC program file for the transfer view, and later
// for the file view, the editor and the NC tools. The content stays bytes as
// the file holds them (Shift-JIS text, never transcoded); only the screen
// decodes it for display.
//
// A program file is text: it ends at its first NUL byte. When nothing is left
// of it that way (a binary file, a UTF-16 file, an empty file) the operator is
// asked whether to read it again line by line, which recovers the text pieces
// between the NULs.

#include "base/Dialogs.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kestrovan::serial {

// The question shown when the first reading leaves nothing.
inline constexpr const char* kWrongFormatQuestion =
    "ファイル形式が違います。\nそのまま読み込みは可能ですが、データの一部読み込めない可能性が有ります。\n読み"
    "込み開始は「はい(Y)」";

// The second reading takes at most this many bytes into one line; a longer
// line continues in the next.
inline constexpr std::size_t kLineWisePieceBytes = 499;

struct ProgramFile {
  // Bytes up to the first NUL; after the second reading, its lines, each
  // followed by a line feed.
  std::string text;
  // The size the file system reports (0 when the file could not be opened).
  // It may be larger than `text` when a NUL cut the reading short.
  std::uint64_t size = 0;
  bool opened = false;
  bool readLineWise = false;
};

// Answers the wrong-format question: true reads the file again line by line.
using WrongFormatQuestion = std::function<bool()>;

// Reads `path` whole. `askReadAgain` is asked only when the reading leaves no
// text. A file that cannot be opened leaves no text either, so the question
// comes for it too, and the answer changes nothing.
ProgramFile loadProgramFile(const std::string& path, const WrongFormatQuestion& askReadAgain);

// The question as a Yes/No warning box.
bool askWrongFormat(base::Dialogs& dialogs);

// One line of program text as the file holds it: the text without its line
// end, and how many bytes the line end took. A line end is a line feed with
// any carriage returns right before it, or a carriage return on its own; the
// last line may have none (endBytes 0).
struct ProgramLine {
  std::string_view text;
  std::size_t endBytes = 0;
};

// Walks the lines of program text in place, without an index, so that a
// 100 MB program needs no memory beyond its own bytes.
class ProgramLines {
public:
  explicit ProgramLines(std::string_view text) : text_(text) {}
  // The next line; false after the last one. Text that ends with a line end
  // has no empty line after it.
  bool next(ProgramLine& line);
  // Bytes of the text consumed so far (lines and their ends).
  std::size_t consumed() const { return pos_; }

private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

} // namespace kestrovan::serial
