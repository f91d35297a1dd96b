#include "ncsim/PunchStream.h"

#include "serial/NcCode.h"

#include <vector>

namespace kestrovan::ncsim {
namespace {

std::vector<std::string> linesOf(std::string_view text) {
  std::vector<std::string> lines;
  std::string line;
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

void put(std::string& out, unsigned char c, PunchCode code) {
  if (code == PunchCode::Iso) {
    out += static_cast<char>(serial::isoEncode(c));
  } else if (std::optional<unsigned char> b = serial::eiaEncode(c)) {
    out += static_cast<char>(*b);
  }
}

void putLine(std::string& out, std::string_view line, PunchCode code) {
  for (char c : line)
    put(out, static_cast<unsigned char>(c), code);
  put(out, '\n', code);
}

// A line that is only "%", perhaps with blanks after it ("% " is common).
bool percentLine(const std::string& line) {
  return !line.empty() && line[0] == '%' && line.find_first_not_of(" \t", 1) == std::string::npos;
}

bool blankLine(const std::string& line) {
  return line.find_first_not_of(" \t\x1a") == std::string::npos; // Ctrl-Z: an old end-of-file mark
}

} // namespace

// A controller keeps the program without its tape marks and punches its own
// "%" before and after it; a PC file brings its marks along ("%" lines, a
// first line "%O1200(...)", a Ctrl-Z after the end), which would otherwise
// reach the PC as a second "%" that ends the tape early.
std::vector<std::string> programLinesForPunch(std::string_view program) {
  std::vector<std::string> lines = linesOf(program);
  while (!lines.empty() && blankLine(lines.back()))
    lines.pop_back();
  while (!lines.empty() && blankLine(lines.front()))
    lines.erase(lines.begin());
  if (!lines.empty() && percentLine(lines.front()))
    lines.erase(lines.begin());
  else if (!lines.empty() && lines.front()[0] == '%')
    lines.front().erase(0, 1);
  if (!lines.empty() && percentLine(lines.back())) lines.pop_back();
  return lines;
}

std::string punchStream(std::string_view program, const NcSimOptions& options) {
  std::vector<std::string> lines = options.frame ? programLinesForPunch(program) : linesOf(program);
  // Leader is blank tape, feed holes only: NUL in either code. (EIA's 0x80 is
  // its end of block, a line feed to the reader, not leader.)
  std::string out(static_cast<std::size_t>(options.leader > 0 ? options.leader : 0), '\x00');
  if (options.frame) putLine(out, "%", options.code);
  for (const std::string& line : lines)
    putLine(out, line, options.code);
  if (options.frame) putLine(out, "%", options.code);
  if (options.dc4) out += static_cast<char>(serial::kDc4);
  return out;
}

} // namespace kestrovan::ncsim
