// How received characters become normalised lines.

#include "serial/ReceivedLineAssembler.h"

#include <gtest/gtest.h>

using namespace kestrovan::serial;

namespace {

// One line as the assembler sees it after the opening "%" line: the
// characters, then the line feed.
AssemblyStep line(ReceivedLineAssembler& a, const std::string& chars) {
  for (char c : chars)
    a.character(static_cast<unsigned char>(c));
  return a.lineEnd();
}

// An assembler past the opening "%" line.
ReceivedLineAssembler started(LineAssemblyOptions options = {}) {
  ReceivedLineAssembler a(options);
  a.start('%');
  a.lineEnd();
  return a;
}

std::string stored(ReceivedLineAssembler& a, const std::string& chars) {
  AssemblyStep step = line(a, chars);
  return step.line ? *step.line : "<none>";
}

} // namespace

TEST(ReceivedLineAssembler, BlankBeforeEachWordAndNoneOfTheNcs) {
  ReceivedLineAssembler a = started();
  EXPECT_EQ(stored(a, "G01X10.Y-5.F100"), "G01 X10. Y-5. F100");
  EXPECT_EQ(stored(a, "G00 X0  Y1"), "G00 X0 Y1"); // blanks after a number: ours only
  EXPECT_EQ(stored(a, "G01 Z-1."), "G01 Z-1.");    // already normalised: unchanged
  // A word letter after a bracket is a new word too.
  EXPECT_EQ(stored(a, "#501=350.X[#504+6.]"), "#501=350. X[ #504+6.]");
  EXPECT_EQ(stored(a, "  M30  "), "M30"); // trimmed
}

TEST(ReceivedLineAssembler, CommentsKeepTheirText) {
  ReceivedLineAssembler a = started();
  EXPECT_EQ(stored(a, "G00(TOOL 1  X2.)X0"), "G00(TOOL 1  X2.) X0");
  // The comment ends at ")", and the line end closes an unterminated one.
  EXPECT_EQ(stored(a, "T1(END MILL"), "T1(END MILL");
  EXPECT_EQ(stored(a, "G1X1"), "G1 X1");
}

TEST(ReceivedLineAssembler, WithReadSpCutTheNcsBlanksGoOutsideComments) {
  ReceivedLineAssembler a = started({false, false});
  EXPECT_EQ(stored(a, "G01 X10. Y-5. (SIDE A)"), "G01X10.Y-5.(SIDE A)");
  EXPECT_EQ(stored(a, "G01X10.Y-5.F100"), "G01X10.Y-5.F100");
}

TEST(ReceivedLineAssembler, CharactersOutsideTheNcSetAreDropped) {
  ReceivedLineAssembler a = started();
  EXPECT_EQ(stored(a, "g01\tX1.\x12Y2\x7F"), "01 X1. Y2");
  EXPECT_EQ(stored(a, "(lower case)N1"), "( ) N1");
  EXPECT_FALSE(isNcCharacter('a'));
  EXPECT_FALSE(isNcCharacter('\t'));
  EXPECT_FALSE(isNcCharacter('\\'));
  EXPECT_TRUE(isNcCharacter('"'));
  EXPECT_TRUE(isNcCharacter('&'));
}

TEST(ReceivedLineAssembler, HeadersTakeTheChosenProgramLetter) {
  ReceivedLineAssembler o = started();
  AssemblyStep step = line(o, ":1234");
  ASSERT_TRUE(step.header);
  EXPECT_EQ(*step.header, "O1234");
  EXPECT_TRUE(step.beginsProgram);
  EXPECT_EQ(*step.line, "O1234");

  ReceivedLineAssembler colon = started({true, true});
  EXPECT_EQ(stored(colon, "O1234(SIDE A)"), ":1234(SIDE A)");
  EXPECT_EQ(stored(colon, "L10"), "L10"); // a subprogram letter stays

  EXPECT_FALSE(line(o, "G00X0").header);
}

TEST(ReceivedLineAssembler, ControllerHousekeepingLinesAreDroppedAndBeginNoProgram) {
  ReceivedLineAssembler a = started();
  for (const char* text : {"O&FW0012", ":&FW", "N1&HE:3"}) {
    AssemblyStep step = line(a, text);
    EXPECT_FALSE(step.line) << text;
    EXPECT_FALSE(step.header) << text;
    EXPECT_TRUE(step.lineCounted) << text;
  }
  EXPECT_EQ(stored(a, "M30"), "M30"); // nothing of them left behind
}

TEST(ReceivedLineAssembler, OpeningPercentLine) {
  // Alone: dropped, and the first line has passed.
  ReceivedLineAssembler a(LineAssemblyOptions{});
  a.start('%');
  AssemblyStep opening = a.lineEnd();
  EXPECT_FALSE(opening.line);
  EXPECT_FALSE(opening.lineCounted);
  EXPECT_TRUE(a.firstLinePassed());

  // Punched onto the program's first line: taken off it.
  ReceivedLineAssembler b(LineAssemblyOptions{});
  b.start('%');
  AssemblyStep first = line(b, "O1200(TOKARKA)");
  EXPECT_EQ(first.line, "O1200(TOKARKA)");
  EXPECT_TRUE(first.beginsProgram);
  EXPECT_FALSE(first.ended);

  // A line feed that started the reception belongs to no line.
  ReceivedLineAssembler c(LineAssemblyOptions{});
  c.start('\n');
  EXPECT_EQ(line(c, "O1").line, "O1");
}

TEST(ReceivedLineAssembler, ClosingPercent) {
  ReceivedLineAssembler a = started();
  a.character('%');
  EXPECT_TRUE(a.endMarkPending());
  AssemblyStep end = a.takeEndMark();
  EXPECT_TRUE(end.ended);
  EXPECT_FALSE(end.line);

  // Punched after the last word: that word is the last line.
  ReceivedLineAssembler b = started();
  for (char c : std::string("M30%"))
    b.character(static_cast<unsigned char>(c));
  EXPECT_EQ(b.buffer(), "M30 %");
  EXPECT_EQ(b.takeEndMark().line, "M30");
}

TEST(ReceivedLineAssembler, RestOfTheBufferAtAnEndWithoutPercent) {
  ReceivedLineAssembler a = started();
  for (char c : std::string("M30 "))
    a.character(static_cast<unsigned char>(c));
  AssemblyStep rest = a.takeRest();
  EXPECT_TRUE(rest.ended);
  EXPECT_EQ(rest.line, "M30");
  EXPECT_FALSE(a.takeRest().line); // nothing left: no empty line
}

TEST(ReceivedLineAssembler, EndlessLineIsReportedTooLong) {
  ReceivedLineAssembler a = started();
  for (std::size_t i = 0; i + 1 < kLongestReceivedLine; ++i)
    a.character('1');
  EXPECT_FALSE(a.lineTooLong());
  a.character('2');
  EXPECT_TRUE(a.lineTooLong());
  EXPECT_EQ(a.lineEnd().line->size(), kLongestReceivedLine);
  EXPECT_FALSE(a.lineTooLong());
}
