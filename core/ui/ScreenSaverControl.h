#pragma once
// Switches the desktop's screen saver off for the length of a transfer or a
// tool run and on again afterwards, through the session's inhibit request
// (org.freedesktop.ScreenSaver). Without a session bus or such a service it
// does nothing: a transfer never depends on it.

#include <cstdint>
#include <optional>

namespace kestrovan::core {

class ScreenSaverControl {
public:
  ~ScreenSaverControl();
  void setEnabled(bool enabled);
  bool inhibited() const { return cookie_.has_value(); }

private:
  std::optional<std::uint32_t> cookie_;
};

} // namespace kestrovan::core
