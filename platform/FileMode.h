#pragma once
// The parts of a file's mode that stand for its attributes: read-only is the
// owner's write permission; and whether the file is a program the system
// would run.

#include <string>

namespace kestrovan::platform {

// Gives or takes the owner's write permission (a link is followed); every
// other permission stays. 0, or the errno of the failure.
int setOwnerWritable(const std::string& path, bool writable);

// A regular file the owner may execute that begins as a program the system
// runs: a binary ("\x7f" "ELF") or a script ("#!"). A text file that only has
// execute bits (as everything on a FAT or shared volume has) is no program.
bool isProgramFile(const std::string& path);

} // namespace kestrovan::platform
