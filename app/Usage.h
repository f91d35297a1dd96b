#pragma once
// What `kestrovan --help` and `kestrovan --version` print.

#include <string>

namespace kestrovan::app {

std::string usageText(const std::string& programName);
std::string versionText();

} // namespace kestrovan::app
