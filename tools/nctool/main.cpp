// kestrovan-nctool: the NC tools' logic from the command line, for the
// benchmarks and for trying a tool on a file without the window.
//   kestrovan-nctool split FILE FOLDER [MASK]     one file per program into FOLDER
//   kestrovan-nctool double FILE LETTER OUTPUT    the values of LETTER doubled into OUTPUT

#include "nctools/AxisDoubling.h"
#include "nctools/OutputNames.h"
#include "nctools/SplitPrograms.h"
#include "platform/AtomicFile.h"

#include <cstdio>
#include <cstring>
#include <string>

using namespace kestrovan;

namespace {

constexpr const char* kUsage =
    "Usage: kestrovan-nctool split FILE FOLDER [MASK]\n"
    "       kestrovan-nctool double FILE LETTER OUTPUT\n"
    "The NC tools of Kestrovan without its window.\n"
    "\n"
    "  split FILE FOLDER [MASK]     one file per program of FILE into FOLDER, named\n"
    "                               from the program numbers, with MASK's extension\n"
    "                               (default *.NC)\n"
    "  double FILE LETTER OUTPUT    FILE with the values of axis LETTER doubled,\n"
    "                               into OUTPUT\n"
    "  -h, --help                   this text\n"
    "\n"
    "Exit status: 0 done, 1 a file could not be read or written, 2 bad arguments.\n";

} // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (argc < 4) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const platform::FileContents source = platform::readWholeFile(argv[2]);
  if (!source.ok) {
    std::fprintf(stderr, "kestrovan-nctool: cannot read %s: %s\n", argv[2], std::strerror(source.error));
    return 1;
  }
  // The file loader's text: up to the first NUL.
  const std::string_view text(source.bytes.data(), std::strlen(source.bytes.c_str()));
  nctools::DiskOutputFiles disk;
  if (std::strcmp(argv[1], "split") == 0) {
    const std::string mask = argc > 4 ? argv[4] : "*.NC";
    const nctools::SplitResult r =
        nctools::splitPrograms(text, {argv[3], nctools::toolExtension(mask), {}, argv[2]}, disk);
    if (r.end == nctools::SplitEnd::CannotCreate) {
      std::fprintf(stderr, "kestrovan-nctool: cannot create %s\n", r.failedPath.c_str());
      return 1;
    }
    std::printf("%zu files\n", r.files.size());
    return 0;
  }
  if (std::strcmp(argv[1], "double") == 0 && argc > 4 && nctools::isAxisLetter(argv[3][0])) {
    const nctools::DoublingResult r = nctools::doubleAxis(text, argv[3][0], argv[4], disk);
    if (r.end != nctools::DoublingEnd::Done) {
      std::fprintf(stderr, "kestrovan-nctool: %s\n",
                   r.number.empty() ? "cannot create the output" : r.number.c_str());
      return 1;
    }
    return 0;
  }
  std::fputs("kestrovan-nctool: unknown tool\n", stderr);
  return 2;
}
