#pragma once
// Who may open a device: its group and mode, and whether this process and its
// user belong to that group. Serial devices belong to a group (dialout on
// Debian) that a user must be in to open them.

#include <string>

namespace kestrovan::platform {

struct DeviceAccess {
  std::string group;              // the device's group; empty when the device cannot be looked at
  bool groupMayReadWrite = false; // the device's mode lets its group read and write
  bool processHasGroup = false;   // this process runs with that group
  bool userListedInGroup = false; // the group database names the user: added, not yet in this login
  std::string user;               // the user's login name
};

class DeviceAccessProbe {
public:
  virtual ~DeviceAccessProbe() = default;
  virtual DeviceAccess of(const std::string& device) const = 0;
};

// stat() of the device, the group and password databases, getgroups().
const DeviceAccessProbe& systemDeviceAccess();

} // namespace kestrovan::platform
