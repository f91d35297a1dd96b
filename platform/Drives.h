#pragma once
// The roots the drive menu offers: the root "/", the home folder, and the
// volumes mounted under /media, /run/media and /mnt, each with the kind of
// drive it is, read from the mount table (/proc/self/mountinfo) and the
// block devices' removable flag (/sys/class/block).

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrovan::platform {

enum class DriveKind { Removable, Fixed, Network, CdRom, RamDisk };

struct DriveRoot {
  std::string path;
  DriveKind kind = DriveKind::Fixed;
};

struct MountEntry {
  std::string mountPoint; // escapes (\040 for a blank) undone
  std::string fsType;
  std::string source;
};

std::vector<MountEntry> parseMountInfo(std::string_view text);

// Whether the block device of a mount source ("/dev/sdb1") is removable.
using RemovableTest = std::function<bool(const std::string& source)>;

// The roots in menu order: "/", the home folder, then the mounted volumes in
// mount order (a mount point mounted over again counts once, with its last
// mount). Kernel file systems (proc, sysfs, ...) mounted there are left out.
std::vector<DriveRoot> driveRoots(const std::vector<MountEntry>& mounts, const std::string& home,
                                  const RemovableTest& removable);

// The same from this system's mount table.
std::vector<DriveRoot> readDriveRoots(const std::string& home);

} // namespace kestrovan::platform
