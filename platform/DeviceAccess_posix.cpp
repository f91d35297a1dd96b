#include "platform/DeviceAccess.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace kestrovan::platform {
namespace {

bool processHas(gid_t gid) {
  if (getegid() == gid) return true;
  const int n = getgroups(0, nullptr);
  if (n <= 0) return false;
  std::vector<gid_t> groups(static_cast<size_t>(n));
  const int got = getgroups(n, groups.data());
  for (int i = 0; i < got; ++i)
    if (groups[static_cast<size_t>(i)] == gid) return true;
  return false;
}

class SystemDeviceAccess : public DeviceAccessProbe {
public:
  DeviceAccess of(const std::string& device) const override {
    DeviceAccess a;
    std::vector<char> buffer(16384);
    passwd pw{};
    passwd* pwFound = nullptr;
    if (getpwuid_r(geteuid(), &pw, buffer.data(), buffer.size(), &pwFound) == 0 && pwFound)
      a.user = pwFound->pw_name;
    const gid_t primary = pwFound ? pwFound->pw_gid : static_cast<gid_t>(-1);

    struct stat st {};
    if (stat(device.c_str(), &st) != 0) return a;
    a.groupMayReadWrite = (st.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
    a.processHasGroup = processHas(st.st_gid);

    std::vector<char> groupBuffer(65536);
    group gr{};
    group* grFound = nullptr;
    if (getgrgid_r(st.st_gid, &gr, groupBuffer.data(), groupBuffer.size(), &grFound) != 0 || !grFound) {
      a.group = std::to_string(st.st_gid);
      return a;
    }
    a.group = grFound->gr_name;
    a.userListedInGroup = primary == st.st_gid;
    for (char** member = grFound->gr_mem; member && *member && !a.userListedInGroup; ++member)
      a.userListedInGroup = a.user == *member;
    return a;
  }
};

} // namespace

const DeviceAccessProbe& systemDeviceAccess() {
  static const SystemDeviceAccess probe;
  return probe;
}

} // namespace kestrovan::platform
