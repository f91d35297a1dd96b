#pragma once
// What `kestrovan --help` and `kestrovan --version` print, and what a start
// without a display says.

#include <string>

namespace kestrovan::app {

std::string usageText(const std::string& programName);
std::string versionText();

// A start that has nowhere to show its window ends with this status.
inline constexpr int kExitNoDisplay = 2;
inline constexpr const char* kNoDisplayLine = "kestrovan: no display: DISPLAY and WAYLAND_DISPLAY are unset "
                                              "(QT_QPA_PLATFORM=offscreen runs without one)\n";

// Whether Qt has somewhere to put the window: an X or Wayland display, or a
// platform named in QT_QPA_PLATFORM (offscreen, vnc, ...).
bool hasDisplay();

} // namespace kestrovan::app
