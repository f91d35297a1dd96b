#pragma once
// Switching the computer off after an unattended transfer. The request is
// forced in the sense the operator expects: nothing asks whether to save, the
// program has finished its own work before it asks. Tests replace the seam so
// that they never switch a machine off.

namespace kestrovan::platform {

class PowerOff {
public:
  virtual ~PowerOff() = default;
  // True when the system accepted the request.
  virtual bool requestPowerOff() = 0;
};

// "systemctl poweroff", started without a shell; the logind policy decides
// whether an ordinary user may do it.
class SystemPowerOff : public PowerOff {
public:
  bool requestPowerOff() override;
};

} // namespace kestrovan::platform
