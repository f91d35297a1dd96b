#include "nctools/OutputNames.h"

#include "platform/Paths.h"
#include "serial/ReceiveFileNames.h"

namespace kestrovan::nctools {

std::string toolExtension(std::string_view mask) { return serial::outputExtension(mask); }

std::string splitFileName(std::string_view header, int ordinal, bool numbered, std::string_view extension) {
  std::string name = serial::programName(header);
  for (char& c : name)
    if (c == '/' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '_';
  if (numbered) name += serial::programOrdinalSuffix(ordinal);
  return name + std::string(extension);
}

std::string joinFileName(std::string_view joinName, std::string_view extension) {
  if (!extension.empty() && joinName.find(extension) != std::string_view::npos) return std::string(joinName);
  return std::string(joinName) + std::string(extension);
}

std::string doubledFileName(std::string_view sourceName, std::string_view extension) {
  return platform::removeExtension(sourceName) + "_2" + std::string(extension);
}

} // namespace kestrovan::nctools
