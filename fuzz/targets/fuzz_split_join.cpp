// Split and join on any program: the split files hold every line of the
// program that is not a "%" line, in order, each followed by CR LF, under
// names inside the destination folder; joining them gives those lines back.
//
// Input: one byte of options, then the program.

#include "FuzzSupport.h"
#include "nctools/JoinFiles.h"
#include "nctools/SplitPrograms.h"
#include "serial/ProgramFile.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <sys/stat.h>

using namespace kestrovan;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  fuzz::clearScratch();
  const std::string folder = fuzz::scratchFolder() + "/out";
  ::mkdir(folder.c_str(), 0700);

  nctools::SplitRequest request;
  request.folder = folder;
  request.extension = ".NC";
  request.options = {(data[0] & 1) != 0, (data[0] & 2) != 0, (data[0] & 4) != 0};
  nctools::DiskOutputFiles outputs;
  const nctools::SplitResult result = nctools::splitPrograms(text, request, outputs);

  // What the split must keep: every line but the "%" ones; is there a program at all?
  std::string kept;
  bool anyProgram = false;
  serial::ProgramLines lines(text);
  serial::ProgramLine line;
  while (lines.next(line)) {
    if (!line.text.empty() && (line.text[0] == 'O' || line.text[0] == ':' || line.text[0] == 'L'))
      anyProgram = true;
    if (!line.text.empty() && line.text[0] == '%') continue;
    kept.append(line.text).append("\r\n");
  }
  fuzz::check(fuzz::namesIn(fuzz::scratchFolder()) == std::vector<std::string>{"out"},
              "the split wrote outside its folder");
  if (!anyProgram) {
    fuzz::check(result.end == nctools::SplitEnd::NoProgram && fuzz::namesIn(folder).empty(),
                "a program without a header was split", text);
    return 0;
  }
  if (result.end != nctools::SplitEnd::Done)
    return 0; // a name the file system refuses (too long): told, nothing lost
  for (const std::string& name : fuzz::namesIn(folder))
    fuzz::check(name != "." && name != ".." && name.find('/') == std::string::npos,
                "a split name is no file name", name);

  // Files of the same name replace each other, so the whole can only be
  // checked when every program got a name of its own.
  // The "%" line of F_Set follows the lines before the first program, so
  // the whole is only compared without it.
  if (result.files.size() != fuzz::namesIn(folder).size() || request.options.F_Set) return 0;
  std::string all;
  for (const std::string& file : result.files) {
    std::string bytes = fuzz::readFile(file);
    if (request.options.B_Set) {
      fuzz::check(bytes.ends_with("%\r\n"), "a split file does not end with %");
      bytes.resize(bytes.size() - 3);
    }
    all += bytes;
  }
  fuzz::check(all == kept, "the split files do not hold the program's lines", text);

  // And joined again, through the loader, as the tool reads them.
  const std::string joined = fuzz::scratchFolder() + "/JOINED.NC";
  const nctools::JoinResult join =
      nctools::joinFiles(result.files, joined, outputs, [](const std::string& path) {
        const serial::ProgramFile file = serial::loadProgramFile(path, [] { return false; });
        return nctools::loadedInput(file.text);
      });
  if (join.end == nctools::JoinEnd::Done && !request.options.F_Set && !request.options.B_Set &&
      kept.find('\0') == std::string::npos)
    fuzz::check(fuzz::readFile(joined) == kept, "the joined file does not hold the split lines");
  return 0;
}
