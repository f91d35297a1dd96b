// The operator's request at the controller: any punched program gives its
// number and the programs it asks for, each once, each an "O" and digits,
// and the answer for a missing one is a framed program.

#include "FuzzSupport.h"
#include "dnc/RemoteRequest.h"

#include <cstdint>
#include <set>
#include <string>
#include <string_view>

using namespace kestrovan;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (auto number = dnc::firstProgramNumber(text))
    fuzz::check(*number >= 0, "a negative program number", text);
  std::set<long> seen;
  for (const dnc::RequestedProgram& p : dnc::requestedPrograms(text)) {
    fuzz::check(p.label.size() >= 2 && p.label[0] == 'O', "a requested label that is no program", p.label);
    fuzz::check(p.number >= 0 && seen.insert(p.number).second, "a program asked for twice", p.label);
    const std::string answer = dnc::notFoundProgram(p);
    fuzz::check(answer.rfind("%\r\n", 0) == 0 && answer.ends_with("\r\n%\r\n"), "the answer is not framed",
                answer);
  }
  return 0;
}
