// The receive path without the line: bytes as an NC punches them go through
// the line assembler into the saver, as the receive job drives them. Whatever
// arrives, every file lands in the data folder under a valid name, nothing
// else is touched, and a reception by name holds exactly the lines assembled.
//
// Input: one byte of options, one byte giving the mask's length, the mask
// (CP932, as the settings file holds it), then the received bytes.

#include "FuzzSupport.h"
#include "platform/Cp932.h"
#include "serial/NcCode.h"
#include "serial/ReceiveFileNames.h"
#include "serial/ReceivedDataSaver.h"
#include "serial/ReceivedLineAssembler.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <sys/stat.h>

using namespace kestrovan;

namespace {

bool validUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return false;
    for (size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += n;
  }
  return true;
}

void checkName(const std::string& name) {
  fuzz::check(!name.empty() && name != "." && name != ".." && name.front() != '.',
              "a name that is no file name", name);
  fuzz::check(name.find('/') == std::string::npos && name.find('\0') == std::string::npos,
              "a name with a path in it", name);
  fuzz::check(name.size() <= 255, "a name longer than a file name may be", name);
  fuzz::check(validUtf8(name), "a name that is no UTF-8", name);
}

// The bytes every line of the view may hold: NC characters, and the "%"
// lines the reception adds.
bool ncText(std::string_view line) {
  for (unsigned char c : line)
    if (!serial::isNcCharacter(c)) return false;
  return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const uint8_t flags = data[0];
  const size_t maskBytes = std::min<size_t>(data[1], size - 2);
  const std::string mask =
      platform::cp932ToUtf8(std::string_view(reinterpret_cast<const char*>(data + 2), maskBytes));
  const std::string_view stream(reinterpret_cast<const char*>(data + 2 + maskBytes), size - 2 - maskBytes);

  fuzz::clearScratch();
  const std::string folder = fuzz::scratchFolder() + "/data";
  ::mkdir(folder.c_str(), 0700);

  const bool byName = flags & 1;
  serial::SaveOptions options;
  options.dataFolder = folder;
  options.extension = serial::outputExtension(mask);
  options.numbered = flags & 2;
  options.percentFirst = flags & 4;
  options.percentLast = flags & 8;
  serial::ReceivedDataSaver saver(byName ? serial::SaveMode::ByName : serial::SaveMode::PerProgramNumber,
                                  options);
  std::string expected; // by name: the lines, as the file must hold them
  serial::ReceivedLineAssembler assembler({(flags & 16) != 0, (flags & 32) != 0});
  const std::string byNamePath = folder + "/" + serial::safeFileName("RECEIVED" + options.extension);
  bool ok = !byName || saver.startByName(byNamePath);

  auto addLine = [&](const std::string& line) {
    fuzz::check(line == "%" || ncText(line), "a stored line holds a character no NC sends", line);
    saver.addLine(line);
    expected += line + "\r\n";
  };
  auto apply = [&](const serial::AssemblyStep& step) {
    if (step.header && step.beginsProgram && !byName && !saver.beginProgram(*step.header)) return false;
    if (step.line) addLine(*step.line);
    return true;
  };

  // Before the start: the first "%OP:LNG$" or line feed starts the data.
  size_t at = 0;
  while (at < stream.size() && stream[at] != '\n' && std::strchr("%OP:LNG$", stream[at]) == nullptr)
    ++at;
  bool ended = false;
  if (ok && at < stream.size()) {
    assembler.start(static_cast<unsigned char>(stream[at]));
    if (options.percentFirst) addLine("%");
    for (++at; ok && !ended && at < stream.size(); ++at) {
      const auto c = static_cast<unsigned char>(stream[at]);
      if (c == '\r' || c == 0) continue;
      if (assembler.endMarkPending()) {
        ok = apply(assembler.takeEndMark());
        ended = true;
      } else if (c == serial::kDc4) {
        ok = apply(assembler.takeRest());
        ended = true;
      } else if (c == '\n' || (assembler.character(c), assembler.lineTooLong())) {
        const serial::AssemblyStep step = assembler.lineEnd();
        ok = apply(step);
        ended = step.ended;
      }
      if (ok && saver.viewBytes() > 4096) ok = saver.writeOut();
    }
  }

  // How it ends: kept, stopped, or failed with what arrived kept.
  std::string kept;
  if (ok) {
    switch ((flags >> 6) & 3) {
    case 0:
    case 1:
      if (ended && options.percentLast) addLine("%");
      ok = saver.finish();
      break;
    case 2: saver.discard(); break;
    case 3: kept = saver.keepWhatArrived(assembler.takeRest().line.value_or("")); break;
    }
  }

  // Nothing outside the data folder, nothing but files inside it.
  fuzz::check(fuzz::namesIn(fuzz::scratchFolder()) == std::vector<std::string>{"data"},
              "the reception wrote outside the data folder");
  for (const std::string& name : fuzz::namesIn(folder)) {
    checkName(name);
    struct stat st {};
    fuzz::check(::lstat((folder + "/" + name).c_str(), &st) == 0 && S_ISREG(st.st_mode),
                "the reception left something other than a file", name);
  }
  if (byName && ok && ((flags >> 6) & 3) < 2)
    fuzz::check(fuzz::readFile(byNamePath) == expected, "the received file differs from the lines assembled",
                stream);
  if (!kept.empty())
    fuzz::check(kept.rfind(folder + "/", 0) == 0, "the kept file is not in the data folder", kept);
  return 0;
}
