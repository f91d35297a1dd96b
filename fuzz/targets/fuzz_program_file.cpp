// The file loader on any file: the text is the bytes up to the first NUL,
// or, read again line by line, the pieces between the NULs; the line walker
// gives back every byte of the text in order.

#include "FuzzSupport.h"
#include "serial/ProgramFile.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

using namespace kestrovan;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  fuzz::clearScratch();
  const std::string path = fuzz::scratchFolder() + "/P.NC";
  fuzz::check(fuzz::writeFile(path, bytes), "cannot write the input");

  bool asked = false;
  const serial::ProgramFile plain = serial::loadProgramFile(path, [&] {
    asked = true;
    return false;
  });
  fuzz::check(plain.opened && plain.size == size, "the file did not open whole");
  const std::string_view beforeNul = bytes.substr(0, bytes.find('\0'));
  if (!beforeNul.empty())
    fuzz::check(plain.text == beforeNul && !asked, "the text is not the bytes before the first NUL", bytes);
  else
    fuzz::check(asked, "no question for a file that gives no text");

  const serial::ProgramFile again = serial::loadProgramFile(path, [] { return true; });
  if (again.readLineWise) {
    // Every byte of the text was in the file, none a NUL, none invented.
    fuzz::check(again.text.find('\0') == std::string::npos, "a NUL in the text read line by line");
    size_t from = 0;
    for (char c : again.text) {
      if (c == '\n' || c == '\r') continue;
      from = bytes.find(c, from);
      fuzz::check(from != std::string_view::npos, "the text read line by line holds bytes the file has not",
                  bytes);
      ++from;
    }
  }

  for (const std::string& text : {plain.text, again.text}) {
    serial::ProgramLines lines(text);
    serial::ProgramLine line;
    std::string joined;
    while (lines.next(line)) {
      fuzz::check(line.text.find_first_of("\r\n") == std::string_view::npos || line.endBytes == 0 ||
                      line.text.find('\n') == std::string_view::npos,
                  "a line holds a line feed");
      const size_t at = joined.size() + line.text.size();
      joined.append(line.text).append(text.substr(std::min(at, text.size()), line.endBytes));
    }
    fuzz::check(joined == text && lines.consumed() == text.size(), "the lines do not give back the text",
                text);
  }
  return 0;
}
