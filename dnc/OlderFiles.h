#pragma once
// A received program never costs an older file of the same name: before the
// new one is put in place, the older one moves to old/<name>.<yyyymmdd-hhmmss>
// beside it.

#include "platform/LocalTime.h"

#include <string>

namespace kestrovan::dnc {

// "O1234.NC.20261209-134501"; a name already taken in old/ gets "-2", "-3" ...
std::string olderFileName(const std::string& name, const platform::CivilTime& when, int attempt);

// Moves `path`, when there is a file of that name, into old/ beside it (made
// when missing), never replacing anything there. True when the name is free
// now; false (with `error`) when the older file could not be moved.
bool keepOlderFile(const std::string& path, const platform::CivilTime& when, std::string& error);

} // namespace kestrovan::dnc
