// The DNC service's configuration: any file parses to a configuration or
// to the first fault, told with a line inside the file.

#include "FuzzSupport.h"
#include "dnc/DncConfig.h"

#include <cstdint>
#include <string>
#include <string_view>

using namespace kestrovan;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  dnc::ConfigContext context;
  context.comDevice = [](int number) { return number == 1 ? std::string("/dev/ttyS0") : std::string(); };
  const dnc::ConfigParse parse = dnc::parseDncConfig(bytes, "dnc.ini", context);
  fuzz::check(parse.config.has_value() != parse.error.has_value(), "neither a configuration nor a fault");
  if (parse.error) {
    size_t lines = 1;
    for (char c : bytes)
      lines += c == '\n' || c == '\r';
    fuzz::check(parse.error->line >= 0 && static_cast<size_t>(parse.error->line) <= lines,
                "a fault on a line the file has not", parse.error->text());
    fuzz::check(!parse.error->message.empty(), "a fault without a message");
  } else {
    for (const dnc::MachineConfig& m : parse.config->machines)
      fuzz::check(!m.name.empty() && m.line >= 1, "a machine without its name or line", m.name);
  }
  return 0;
}
