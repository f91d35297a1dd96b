#pragma once
// Copying a file over another: the copy is written beside the destination
// and renamed over it, so a failed copy never destroys the file it replaces.

#include "platform/AtomicFile.h"

#include <string>

namespace kestrovan::platform {

WriteResult copyFileReplacing(const std::string& from, const std::string& to);

} // namespace kestrovan::platform
