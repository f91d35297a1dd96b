#pragma once
// A program's bytes as the editor shows them, and the editor's text as the
// bytes it saves. On screen the text is UTF-8 with '\n' between lines; on
// disk it is CP932 with CR LF between lines. Line ends are the only bytes the
// editor changes by itself: a lone CR or LF in a file comes back as CR LF.
// Every other byte that would not come back as it was read is found when the
// file is opened, so that the operator can be told before anything is saved.

#include <cstddef>
#include <string>
#include <string_view>

namespace kestrovan::editor {

// Bytes that line ends aside would not come back unchanged from a save.
enum class Alteration {
  None,
  Undecodable, // bytes that are no CP932, or a CP932 character with a second code
  CutAtNul,    // a NUL byte: the text ends before it, what follows is not in the editor
  ReadLineWise // the file was read again piece by piece after the wrong-format question
};

struct DecodedText {
  std::string text; // UTF-8, '\n' between lines
  Alteration alteration = Alteration::None;
  std::size_t alteredLine = 0; // the first line (from 1) that would change; 0 with None
};

// CP932 program bytes (no NUL among them) to the editor's text, with the first
// line that a save would not give back byte for byte.
DecodedText decodeProgramText(std::string_view bytes);

// A lone CR, a lone LF and CR LF all become '\n'.
std::string unifyLineEnds(std::string_view bytes);

// Where the text holds a character CP932 has no code for.
struct TextPlace {
  std::size_t line = 0;   // from 1
  std::size_t column = 0; // from 1, in characters
  std::string character;  // the character itself, UTF-8
};

struct EncodedText {
  bool ok = false;
  std::string bytes;     // CP932 with CR LF, when ok
  TextPlace unencodable; // when not ok
};

// The editor's text to the bytes of the file. `replaceUndecodable`: the
// replacement characters that stand for undecodable bytes of a file opened
// with a warning are written as "?" (the operator has agreed); otherwise they
// stop the save like any other character CP932 cannot hold.
EncodedText encodeProgramText(std::string_view utf8, bool replaceUndecodable);

} // namespace kestrovan::editor
