#pragma once
// Doubling every value of one address letter in a program: the first
// capital letter of a line (outside two-byte Shift-JIS characters, whose
// second byte may be any letter) and the number written right after it, in
// "0123456789.- ". The number is doubled on its decimal digits, never
// through binary floating point, and written with as many decimals as it
// had (one at least when it had a point): 15 gives 30, 10. gives 20.0,
// 12.345 gives 24.690. A zero is written without a sign (X-0. gives X0.0);
// X.5 gives X1.0; six decimals or more are all kept.

#include "nctools/OutputFiles.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kestrovan::nctools {

// The letters that can be doubled, in either case.
bool isAxisLetter(char c);

// The doubled value of a number as written ("-12.345", " 7.25"); nothing
// when it is not a decimal number ("1.2.3", "1-2", " ").
std::optional<std::string> doubledNumber(std::string_view number);

struct LineDoubling {
  enum class Kind { Unchanged, Changed, NotANumber } kind = Kind::Unchanged;
  std::string line;   // Changed: the new line
  std::string number; // NotANumber: the text that is no number
};
LineDoubling doubleAxisInLine(std::string_view line, char letter);

enum class DoublingEnd { Done, NotANumber, CannotCreate, Stopped };

struct DoublingResult {
  DoublingEnd end = DoublingEnd::Done;
  std::string number; // NotANumber: the text
  int error = 0;
};

// The whole program into `outputPath`, every line followed by CR LF;
// nothing is written when a number cannot be read or the run is stopped
// (`stopRequested` is asked after every line).
DoublingResult doubleAxis(std::string_view text, char letter, const std::string& outputPath,
                          OutputFiles& outputs, const std::function<void(std::size_t)>& progress = {},
                          const std::function<bool()>& stopRequested = {});

} // namespace kestrovan::nctools
