#include "platform/Drives.h"

#include "platform/AtomicFile.h"
#include "platform/Paths.h"

#include <climits>
#include <cstdlib>

namespace kestrovan::platform {
namespace {

// /sys/class/block/<name>/removable, or that of the disk a partition is on;
// or a disk attached through USB.
bool removableDevice(const std::string& source) {
  char resolved[PATH_MAX];
  const std::string device = realpath(source.c_str(), resolved) ? std::string(resolved) : source;
  const std::string name = baseNameOf(device);
  for (const std::string& flag :
       {"/sys/class/block/" + name + "/removable", "/sys/class/block/" + name + "/../removable"}) {
    const FileContents r = readWholeFile(flag);
    if (r.ok && !r.bytes.empty() && r.bytes[0] == '1') return true;
  }
  // A disk on USB counts as removable even when it does not say so.
  const std::string node = "/sys/class/block/" + name;
  return realpath(node.c_str(), resolved) && std::string(resolved).find("/usb") != std::string::npos;
}

} // namespace

std::vector<DriveRoot> readDriveRoots(const std::string& home) {
  const FileContents table = readWholeFile("/proc/self/mountinfo");
  return driveRoots(parseMountInfo(table.ok ? table.bytes : std::string()), home, removableDevice);
}

} // namespace kestrovan::platform
