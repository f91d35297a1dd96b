#pragma once
// The operator's request at the controller: a small program whose number is
// the machine's request number and whose comments name the programs he wants,
// "O9999 (O1234)", "O9999 (LOAD O1234)" or "O9999 (O1234 O1235)". The service
// answers it by sending those programs from the machine's send folder.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrovan::dnc {

// The number of the first program header of a program text ("O1234" or
// ":1234" at the start of a line, after any "%" lines); none without one.
std::optional<long> firstProgramNumber(std::string_view text);

struct RequestedProgram {
  std::string label; // as the comment has it: "O1234"
  long number = 0;
};

// Every "O" and digits inside a comment of the request, in order, each once.
std::vector<RequestedProgram> requestedPrograms(std::string_view text);

// The file that holds the program: FOLDER/O1234.NC (the label as written,
// then with four digits), else the first file by name whose first program
// number is the one asked for. Empty when there is none.
std::string findProgramFile(const std::string& folder, const RequestedProgram& program);

// The answer for a program that is not there, which the operator reads on the
// control: "%", "O9998 (NOT FOUND O1234)", "%" in CR LF lines.
std::string notFoundProgram(const RequestedProgram& program);
inline constexpr long kNotFoundProgramNumber = 9998;

} // namespace kestrovan::dnc
