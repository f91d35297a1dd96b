#pragma once
// Turns the characters an NC punches out into the program's own normalised
// lines: only NC characters kept, a blank before each word (or the NC's blanks
// dropped), comments left alone, lines trimmed, program headers recognised
// with the chosen program-number letter, and the "%" that frames the data
// told apart from the "%" that ends it. Pure logic: the receive job feeds it
// one character at a time and acts on what each step reports.

#include <cstddef>
#include <optional>
#include <string>

namespace kestrovan::serial {

struct LineAssemblyOptions {
  // Read_SP_Cut "N": a blank goes before each word, and a blank the NC sent
  // after a number is dropped. Otherwise the NC's blanks outside comments are
  // dropped and none are added.
  bool blankBeforeWords = true;
  // O/:-Change "Y": headers begin with ":" instead of "O".
  bool colonHeaders = false;
};

// What one step of the assembly came to, in the order the job acts on it:
// a header (for the program list, and perhaps a new program file), then a
// line to store, then the line count, then the end of the data.
struct AssemblyStep {
  std::optional<std::string> header;
  bool beginsProgram = false; // false for a lone "O" that the next line completes
  std::optional<std::string> line;
  bool lineCounted = false;
  bool ended = false;
};

// A line that grows this long without a line end is ended there: nothing an
// NC punches is that long, and a stream without line ends must not be held
// in memory whole.
inline constexpr std::size_t kLongestReceivedLine = 64 * 1024;

class ReceivedLineAssembler {
public:
  explicit ReceivedLineAssembler(LineAssemblyOptions options) : options_(options) {}

  // The reception starts with the character that started it (one of
  // "%OP:LNG$" or a line feed), taken into the buffer as it is.
  void start(unsigned char first);

  // A "%" after the first line marks the end of the data; the job asks before
  // each character it handles. Ends with what preceded the "%" as the last
  // line.
  bool endMarkPending() const;
  AssemblyStep takeEndMark();

  // A character other than a line feed, carriage return, 0 or DC4. Characters
  // outside the NC's set (lower case, tabs, DC2 ...) are dropped.
  void character(unsigned char c);
  bool lineTooLong() const { return buffer_.size() >= kLongestReceivedLine; }

  AssemblyStep lineEnd();

  // The data ended without a "%" (DC4, or DSR dropped): the buffer's text, if
  // any, is the last line.
  AssemblyStep takeRest();

  const std::string& buffer() const { return buffer_; }
  bool firstLinePassed() const { return firstLinePassed_; }

private:
  LineAssemblyOptions options_;
  std::string buffer_;
  bool wordStart_ = true;
  bool inComment_ = false;
  bool firstLinePassed_ = false;
};

// Whether the character is one an NC program is made of.
bool isNcCharacter(unsigned char c);

// Blanks and control characters removed from both ends.
std::string trimReceivedLine(std::string_view text);

} // namespace kestrovan::serial
