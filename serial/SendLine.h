#pragma once
// Which characters of one program line go to the NC, and in what order. The
// send job writes them one by one through the line (which converts them to
// ISO or EIA) and ends every line with one line feed of its own, so the
// stream does not depend on how the file ends its lines.

#include <string>
#include <string_view>

namespace kestrovan::serial {

// Longest run of blanks that replaces an unwanted text.
inline constexpr std::size_t kMaxUnwantedBlanks = 29;

struct SendLineRules {
  // Text to blank out wherever it occurs (SendMsg1, as CP932 bytes); empty: none.
  std::string unwanted;
  // ";" and "'" outside a comment end the line (MSG_OP exactly "N").
  bool cutAtRemark = true;
};

struct LineToSend {
  bool skip = false; // a "%" line: nothing goes out, not even the line feed
  std::string chars; // what is written, the closing line feed not included
};

// Outside a comment, ";" or "'" end the line (when cutting) and "%" is not
// sent; "(" and ")" open and close a comment within the line, and what is
// inside goes out as it is. Tabs never go out. A comment left open does not
// reach into the next line: the controller ends it with the block.
LineToSend lineToSend(std::string_view line, const SendLineRules& rules);

// The end of a (sub)program: M99, M02, M2 or M30 anywhere in the line.
bool endsProgram(std::string_view line);

} // namespace kestrovan::serial
