#pragma once
// Starting a program detached from this one, without a shell: the program's
// path and each argument reach it as the bytes they are (a file name that is
// no UTF-8 among them), nothing is waited for.

#include <string>
#include <vector>

namespace kestrovan::platform {

// True when the program started; false when it could not be run (no such
// file, not executable) or no process could be made.
bool startDetached(const std::string& program, const std::vector<std::string>& arguments);

} // namespace kestrovan::platform
