#include "platform/SerialHardware.h"

#include "platform/AtomicFile.h"
#include "platform/Paths.h"

#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace kestrovan::platform {
namespace {

// Unix 98 pseudo-terminal slaves (/dev/pts/N) have these major numbers.
constexpr unsigned kFirstPtyMajor = 136;
constexpr unsigned kLastPtyMajor = 143;

} // namespace

bool SysfsTtyRegistry::hasHardware(const std::string& kernelName) const {
  if (kernelName.empty() || kernelName == "." || kernelName == "..") return false;
  const std::string folder = joinPath(root_, kernelName);
  if (!pathExists(joinPath(folder, "device"))) return false;
  const FileContents type = readWholeFile(joinPath(folder, "type"));
  if (!type.ok) return true; // not a serial-core port: the device is the hardware
  char* end = nullptr;
  const long uart = std::strtol(type.bytes.c_str(), &end, 10);
  return end == type.bytes.c_str() || uart != 0; // PORT_UNKNOWN (0): no UART in the slot
}

const TtyRegistry& systemTtyRegistry() {
  static const SysfsTtyRegistry registry;
  return registry;
}

bool isSerialPortDevice(const std::string& devicePath, const TtyRegistry& registry) {
  if (devicePath.empty()) return false;
  char resolved[PATH_MAX];
  if (!realpath(devicePath.c_str(), resolved)) return false;
  struct stat st {};
  if (stat(resolved, &st) != 0 || !S_ISCHR(st.st_mode)) return false;
  const unsigned deviceMajor = major(st.st_rdev);
  if (deviceMajor >= kFirstPtyMajor && deviceMajor <= kLastPtyMajor) return true;
  return registry.hasHardware(baseNameOf(resolved));
}

} // namespace kestrovan::platform
