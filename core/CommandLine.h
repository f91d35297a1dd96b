#pragma once
// Cutting the command line into the items that the command-line interpreter
// takes one at a time.

#include <functional>
#include <string>
#include <vector>

namespace kestrovan::core {

// With a first argument beginning with "/" (and naming no existing file or
// folder, so that "kestrovan /home/op/NC" stays one item), the arguments are
// joined with blanks and cut at every "/": "/S=A.NC /COM2" and "/S=A.NC/COM2"
// both give S=A.NC and COM2, each item trimmed of blanks and control
// characters. Otherwise each argument is one item, unchanged.
std::vector<std::string> cutCommandLine(const std::vector<std::string>& args,
                                        const std::function<bool(const std::string&)>& pathExists);

} // namespace kestrovan::core
