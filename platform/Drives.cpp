#include "platform/Drives.h"

#include <algorithm>
#include <optional>
#include <set>

namespace kestrovan::platform {
namespace {

std::string unescaped(std::string_view field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size()) {
      const std::string_view digits = field.substr(i + 1, 3);
      if (digits.size() == 3 &&
          std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '7'; })) {
        out.push_back(static_cast<char>((digits[0] - '0') * 64 + (digits[1] - '0') * 8 + (digits[2] - '0')));
        i += 3;
        continue;
      }
    }
    out.push_back(field[i]);
  }
  return out;
}

std::vector<std::string_view> fields(std::string_view line) {
  std::vector<std::string_view> out;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && line[i] == ' ')
      ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ')
      ++i;
    if (i > start) out.push_back(line.substr(start, i - start));
  }
  return out;
}

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

bool within(std::string_view path, std::string_view folder) {
  if (folder == "/") return startsWith(path, "/");
  return path == folder ||
         (startsWith(path, folder) && path.size() > folder.size() && path[folder.size()] == '/');
}

const std::set<std::string, std::less<>> kKernelTypes = {
    "proc",     "sysfs",    "devpts",    "cgroup", "cgroup2",    "debugfs", "tracefs",     "securityfs",
    "pstore",   "bpf",      "autofs",    "mqueue", "hugetlbfs",  "fusectl", "binfmt_misc", "configfs",
    "devtmpfs", "efivarfs", "selinuxfs", "nsfs",   "rpc_pipefs", "nfsd"};
const std::set<std::string, std::less<>> kNetworkTypes = {
    "nfs",         "nfs4",           "cifs",  "smb3",        "smbfs",     "ncpfs",
    "afs",         "ceph",           "9p",    "virtiofs",    "glusterfs", "fuse.sshfs",
    "fuse.rclone", "fuse.glusterfs", "davfs", "fuse.davfs2", "fuse.s3fs"};

std::optional<DriveKind> kindOf(const MountEntry& m, const RemovableTest& removable) {
  if (kKernelTypes.count(m.fsType)) return std::nullopt;
  if (kNetworkTypes.count(m.fsType)) return DriveKind::Network;
  if (m.fsType == "iso9660" || m.fsType == "udf" || startsWith(m.source, "/dev/sr") ||
      startsWith(m.source, "/dev/cdrom"))
    return DriveKind::CdRom;
  if (m.fsType == "tmpfs" || m.fsType == "ramfs" || startsWith(m.source, "/dev/ram") ||
      startsWith(m.source, "/dev/zram"))
    return DriveKind::RamDisk;
  if (startsWith(m.source, "/dev/") && removable && removable(m.source)) return DriveKind::Removable;
  return DriveKind::Fixed;
}

// The last mount whose point holds `path` most closely.
const MountEntry* mountHolding(const std::vector<MountEntry>& mounts, const std::string& path) {
  const MountEntry* best = nullptr;
  for (const MountEntry& m : mounts)
    if (within(path, m.mountPoint) && (!best || m.mountPoint.size() >= best->mountPoint.size())) best = &m;
  return best;
}

} // namespace

std::vector<MountEntry> parseMountInfo(std::string_view text) {
  std::vector<MountEntry> out;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::vector<std::string_view> f = fields(text.substr(start, end - start));
    start = end + 1;
    // id parent major:minor root mount-point options [optional...] - type source super-options
    const auto dash = std::find(f.begin(), f.end(), std::string_view("-"));
    if (f.size() < 5 || dash == f.end() || dash - f.begin() < 6 || f.end() - dash < 3) continue;
    out.push_back({unescaped(f[4]), unescaped(*(dash + 1)), unescaped(*(dash + 2))});
  }
  return out;
}

std::vector<DriveRoot> driveRoots(const std::vector<MountEntry>& mounts, const std::string& home,
                                  const RemovableTest& removable) {
  std::vector<DriveRoot> roots;
  auto kindAt = [&](const std::string& path) {
    const MountEntry* m = mountHolding(mounts, path);
    const std::optional<DriveKind> kind = m ? kindOf(*m, removable) : std::nullopt;
    return kind.value_or(DriveKind::Fixed);
  };
  roots.push_back({"/", kindAt("/")});
  if (!home.empty() && home != "/") roots.push_back({home, kindAt(home)});
  for (const MountEntry& m : mounts) {
    const std::string& point = m.mountPoint;
    if (!within(point, "/media") && !within(point, "/run/media") && !within(point, "/mnt")) continue;
    if (mountHolding(mounts, point) != &m) continue; // mounted over again later
    if (const std::optional<DriveKind> kind = kindOf(m, removable)) roots.push_back({point, *kind});
  }
  return roots;
}

} // namespace kestrovan::platform
