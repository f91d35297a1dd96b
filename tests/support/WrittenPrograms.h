#pragma once
// NC programs the tests write themselves, each with the oddities a shop's
// real programs have (the shared samples' kinds), so that every property a
// test proves on a sample it also proves without them.

#include <string>
#include <vector>

namespace kestrovan::test::written {

// Three programs in one "%" ... "%" file, CR LF: two subprograms ending M99
// and a main calling them. Shift-JIS comments on the headers and in the body,
// full-width and half-width; second bytes that are ASCII letters, "`" and
// "\" (ソ, 表), a wave dash.
std::string shiftJisPrograms();
// The same text as UTF-8 with LF line ends, as the editor shows it.
std::string shiftJisProgramsUtf8();
// Its three headers as the split dialog lists them.
std::vector<std::string> shiftJisHeaders();

// Hand-written, LF only, no line end after the closing "%": a blank first
// line and blank lines between blocks, two comments on one block, trailing
// spaces, long comments. Its last program line is kHandwrittenLastBlock.
std::string handwrittenLf();
inline constexpr const char* kHandwrittenLastBlock = "N95 M30 (END OF PROGRAM) ";

// CR LF, a colon program number, "% " with a trailing space, and the DOS
// end-of-file byte (Ctrl-Z, 0x1A) after the closing "%".
std::string ctrlZAtTheEnd();

// CAM output without any program number, LF only: an empty first line, no
// opening "%" but a closing one (with its LF), N1 ... N<blocks>, short modal
// blocks. Lines in the file: blocks + 2.
std::string withoutProgramNumber(int blocks);

// A large CAM lathe program, CR LF: "%O4200(...)" opens it on one line,
// thousands of G33 threading blocks, sequence numbers that stick at N99999,
// X written every way ("X-12.5", "X30", "X.45", "X0."), and a last "%"
// without a line end. About 29,000 lines, over 600 KB.
std::string largeCamLathe();

// Compact blocks without spaces, numbers with and without a decimal point,
// trailing spaces, CR LF, "%" framing.
std::string compactBlocks();

// No "%" lines, the program number on line 1, comments aligned with runs of
// spaces, LF only, no final line end.
std::string withoutPercent();

// Another control's dialect, over 5,000 bytes: a "$NAME.SSB%" first line and
// named subprograms ("OSTART", "OPOCKET", ...) each ending RTS; none of them
// a program number.
std::string namedSubprograms();

struct Program {
  const char* name; // a file name for it
  std::string bytes;
};
// Every program above under a name of its own.
std::vector<Program> all();

} // namespace kestrovan::test::written
